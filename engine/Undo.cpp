#include "engine/Undo.h"

#include <cstring>

#include "engine/FileDeletion.h"
#include "engine/PathNames.h"
#include "engine/PathTrust.h"
#include "engine/UninstallerDeployment.h"
#include "foundation/RegistryKey.h"
#include "platform/Status.h"

bool removesBase(const String& location) {
    return std::strcmp(location.text(), "%APP%") == 0 ||
           std::strcmp(location.text(), "%SHORTCUT%") == 0;
}

ErrorHandle undoInstallation(const InstallLog& log) {
    for (int32_t i = 0; i < log.installedFiles.size(); ++i) {
        const InstalledFileRecord& record = log.installedFiles[i];
        String base = log.locations.locationValue(record.location.text());
        if (crossesReparsePoint(record.path)) continue;
        ErrorHandle result =
            deleteFileAndDirectories(record.path, base, removesBase(record.location));
        if (isFailure(result)) return result;
    }
    for (int32_t i = 0; i < log.registryKeys.size(); ++i) {
        const RegistryKeyRecord& record = log.registryKeys[i];
        int root = registryRootOf(record.area);
        if (root < 0) {
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

ErrorHandle undoUnfinishedInstallation(const InstallLog& log) {
    ErrorHandle result = undoInstallation(log);
    if (isFailure(result) && !log.applicationName.isEmpty()) {
        String parent, name;
        splitPath(uninstallKeyPath(log.applicationName), parent, name);
        RegistryKey key(parent.text(), 1, RegistryKey::existingOnly);
        key.deleteSubKey(name.text());
        key.close();
    }
    return result;
}
