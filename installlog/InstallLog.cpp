#include "installlog/InstallLog.h"

void InstallLog::addInstalledFile(const String& group, const String& location,
                                  const String& path) {
    installedFiles.append(InstalledFileRecord{group, location, path});
}

void InstallLog::addRegistryKey(const String& area, const String& key) {
    registryKeys.append(RegistryKeyRecord{area, key});
}

void InstallLog::reset() {
    locations = FileLocations();
    installedFiles.clear();
    registryKeys.clear();
}
