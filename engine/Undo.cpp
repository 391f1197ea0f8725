#include "engine/Undo.h"

#include <cstring>

#include "engine/FileDeletion.h"
#include "engine/PathNames.h"
#include "foundation/RegistryKey.h"

ErrorHandle undoInstallation(const InstallLog& log) {
    for (int32_t i = 0; i < log.installedFiles.size(); ++i) {
        const InstalledFileRecord& record = log.installedFiles[i];
        // The installation and shortcut directories were made by the setup
        // and go once empty; the desktop or the Windows directory never do.
        bool removeBase = std::strcmp(record.location.text(), "%APP%") == 0 ||
                          std::strcmp(record.location.text(), "%SHORTCUT%") == 0;
        String base = log.locations.locationValue(record.location.text());
        ErrorHandle result = deleteFileAndDirectories(record.path, base, removeBase);
        if (isFailure(result)) return result;
    }
    for (int32_t i = 0; i < log.registryKeys.size(); ++i) {
        const RegistryKeyRecord& record = log.registryKeys[i];
        int root;
        if (std::strcmp(record.area.text(), "HKEY_LOCAL_MACHINE") == 0) {
            root = 1;
        } else if (std::strcmp(record.area.text(), "HKEY_CURRENT_USER") == 0) {
            root = 0;
        } else {
            String message;
            message.format("Unknown registry area \"%s\"", record.area.text());
            return makeError(message);
        }
        String parent, name;
        splitPath(record.key, parent, name);
        RegistryKey key(parent.text(), root);
        ErrorHandle result = key.deleteSubKey(name.text());
        key.close();
        if (isFailure(result)) return result;
    }
    return noError();
}
