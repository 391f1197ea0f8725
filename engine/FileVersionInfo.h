// The version resource of a file on disk: its fixed file information and its
// first translation. Used to decide whether a shared uninstaller already in
// place is recent enough to keep.
#pragma once

#include <cstdint>

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

class FileVersionInfo {
public:
    static const int fixedWordCount = 13;  // the words of VS_FIXEDFILEINFO
    static const uint32_t expectedSignature = 0xFEEF04BDu;
    static const uint16_t defaultCodePage = 1252;

    FileVersionInfo();
    ~FileVersionInfo();
    FileVersionInfo(const FileVersionInfo&) = delete;
    FileVersionInfo& operator=(const FileVersionInfo&) = delete;

    ErrorHandle readVersionInfo(const char* path);
    ErrorHandle readVersionInfo(const String& path) { return readVersionInfo(path.text()); }

    // In the system's order, 0 the signature to 12 the low date word.
    uint32_t fixedWord(int index) const { return fixed_[index]; }
    uint32_t signature() const { return fixed_[0]; }
    uint32_t structureVersion() const { return fixed_[1]; }
    uint32_t fileVersionMS() const { return fixed_[2]; }
    uint32_t fileVersionLS() const { return fixed_[3]; }
    uint32_t productVersionMS() const { return fixed_[4]; }
    uint32_t productVersionLS() const { return fixed_[5]; }
    uint32_t fileFlagsMask() const { return fixed_[6]; }
    uint32_t fileFlags() const { return fixed_[7]; }
    uint32_t fileOS() const { return fixed_[8]; }
    uint32_t fileType() const { return fixed_[9]; }
    uint32_t fileSubtype() const { return fixed_[10]; }
    uint32_t fileDateMS() const { return fixed_[11]; }
    uint32_t fileDateLS() const { return fixed_[12]; }
    uint16_t language() const { return language_; }
    uint16_t codePage() const { return codePage_; }

private:
    uint32_t fixed_[fixedWordCount];
    unsigned char* block_;
    uint16_t language_;
    uint16_t codePage_;
};
