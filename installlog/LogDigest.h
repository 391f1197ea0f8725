// What ties an install log to its installation: the SHA-256 digest of the
// log file's bytes, kept where only administrators can write (the product's
// Uninstall entry), so that an edited log is noticed before it is trusted.
#pragma once

#include <cstddef>

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

extern const char* const logDigestValueName;  // "InstallLogSHA256"

class InstallLog;

// A whole file's bytes, read in binary, so that what is checked is exactly
// what is then parsed.
class FileBytes {
public:
    FileBytes() = default;
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    ErrorHandle read(const String& path);
    const char* data() const { return data_; }
    size_t size() const { return size_; }

private:
    char* data_ = nullptr;
    size_t size_ = 0;
};

// 64 lower-case hexadecimal digits; empty text when the system has no hash.
String digestText(const void* data, size_t size);
// The digest of the file that writeLogFile makes of log, taken from the
// record itself: the file lies in a folder others may write to, so what is
// read back from it is not proof of what was written.
String logDigest(const InstallLog& log);
