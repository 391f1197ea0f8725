// The shared uninstaller: put in place under the common files directory
// unless a copy at least as new is there, and registered for this product.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

ErrorHandle deployUninstaller();
// The common files directory, as the system records it for every program.
ErrorHandle readCommonFilesDirectory(String& directory);
ErrorHandle registerUninstaller(const String& applicationName, const String& logPath);

// Where the uninstaller lies below the common files directory.
extern const char* const uninstallerSubPath;  // "\System\TessalyUninstaller.exe"
extern const char* const currentVersionKey;   // "SOFTWARE\Microsoft\Windows\CurrentVersion"
extern const char* const uninstallKeyPrefix;  // currentVersionKey + "\Uninstall\"
