// The shared uninstaller: put in place under the common files directory
// unless a copy at least as new is there, and registered for this product.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

#include <cstdint>

ErrorHandle deployUninstaller();
// The common files directory, as the system records it for every program.
ErrorHandle readCommonFilesDirectory(String& directory);

// What Windows lists of an installed program beside its name and uninstall
// command ("Apps and Features"), and what administrators script against.
struct AppsEntry {
    String displayVersion;
    String publisher;
    String displayIcon;      // a program's path and icon index, "<path>,0"
    String installLocation;  // the installation directory
    uint32_t estimatedSizeKb = 0;
};
// Writes the product's Uninstall key: its name, the uninstall commands (the
// quiet one with /S before the log) and the entry's values.
ErrorHandle registerUninstaller(const String& applicationName, const String& logPath,
                                const AppsEntry& entry = AppsEntry());

// Where the uninstaller lies below the common files directory.
extern const char* const uninstallerSubPath;  // "\System\TessalyUninstaller.exe"
extern const char* const currentVersionKey;   // "SOFTWARE\Microsoft\Windows\CurrentVersion"
extern const char* const uninstallKeyPrefix;  // currentVersionKey + "\Uninstall\"
// The product's Uninstall entry under the local machine: the prefix + its name.
String uninstallKeyPath(const String& applicationName);
