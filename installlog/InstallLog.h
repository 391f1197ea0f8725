// The record of one installation, and its file: the GUS install log that the
// uninstaller is handed and that the undo of a failed run works from.
#pragma once

#include <cstddef>

#include "foundation/Locations.h"
#include "foundation/ErrorReport.h"
#include "foundation/GrowableArray.h"
#include "foundation/String.h"

struct InstalledFileRecord {
    String group;
    String location;  // the location macro the path was written with, or empty
    String path;      // fully expanded
};

struct RegistryKeyRecord {
    String area;  // "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER"
    String key;   // below that root, without a leading backslash
};

class LineReader;

// The application a GUS file's bytes name on their second line, found without
// reading the rest: the product whose Uninstall entry keeps the digest the
// whole file is checked against before a line of it is parsed. Empty text
// when the file does not begin as a GUS file does.
String logApplicationName(const char* data, size_t size);

class InstallLog {
public:
    // The records double as they grow: a log of many lines costs a few
    // reallocations, not one every eight lines.
    InstallLog() : installedFiles(8, true), registryKeys(8, true) {}

    void addInstalledFile(const String& group, const String& location, const String& path);
    void addRegistryKey(const String& area, const String& key);

    // Writes the whole record as a GUS file, replacing any file of that name.
    ErrorHandle writeLogFile(const String& path) const;
    // That file's text as the text stream is handed it: each line ends in a
    // line feed, which reaches the file as CR LF.
    String fileText() const;
    // Fills the record from a GUS file, stopping at the first line it cannot
    // accept; the record keeps what the lines before it set.
    ErrorHandle readLogFile(const String& path);
    // The same from a file's bytes already read (in binary), as the text
    // stream would have read them.
    ErrorHandle readLogText(const char* data, size_t size);

    String applicationName;
    FileLocations locations;
    GrowableArray<InstalledFileRecord> installedFiles;
    GrowableArray<RegistryKeyRecord> registryKeys;

private:
    void reset();
    ErrorHandle readLines(LineReader& reader);
};
