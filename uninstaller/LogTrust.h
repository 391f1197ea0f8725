// Whether the uninstaller may act on an install log at all. It runs as
// administrator, and the log lies in a folder that a standard user can often
// write; so the log must be the one the system registered for its product,
// unchanged since the installation, and its locations must be the system's
// own. Each check refuses the whole log with a message that ends in
// "Nothing was removed.".
#pragma once

#include <cstddef>

#include "foundation/ErrorReport.h"
#include "foundation/String.h"
#include "engine/PathNames.h"
#include "installlog/InstallLog.h"

// The folders the system itself names, against which a log's locations are
// checked: the Windows folder, and the user's and all users' Start menus and
// desktops.
struct SystemFolders {
    String windows;
    String startMenus[2];
    String desktops[2];

    static SystemFolders ofThisMachine();
};

// The product's Uninstall entry (opened, never created) must register this
// very log, and hold the digest of exactly these bytes.
ErrorHandle checkRegistration(const String& logPath, const char* data, size_t size,
                              const String& applicationName);

// %APP% is the folder holding the log, %WIN% the Windows folder, %SHORTCUT% a
// folder below a Start menu, %DESKTOP% a desktop; nothing else is set.
ErrorHandle checkLocations(const InstallLog& log, const String& logPath,
                           const SystemFolders& folders);

// No junction or link lies on the way from the drive root to any location the
// log's files are in: a standard user may rename a folder above the
// installation that they made and put a link to another folder in its place,
// copying the log along, and the removal would then go there.
ErrorHandle checkWays(const InstallLog& log);

// Whether the log may have the uninstaller delete this key: the product's own
// Uninstall entry under the local machine, or a product's key below
// Software\<company>\ under the current user.
bool mayDeleteKey(const RegistryKeyRecord& record, const String& applicationName);
