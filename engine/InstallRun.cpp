#include "engine/InstallRun.h"

#include <cstdlib>
#include <cstring>

#include "engine/Directories.h"
#include "engine/FileWriting.h"
#include "engine/PathNames.h"
#include "engine/PathTrust.h"
#include "engine/Shortcut.h"
#include "engine/Undo.h"
#include "engine/UninstallerDeployment.h"
#include "installset/PackedResource.h"

bool isSelected(const FileDestination& destination, const GroupList& groupsToInstall) {
    for (int32_t i = 0; i < groupsToInstall.size(); ++i)
        if (std::strcmp(destination.group.text(), groupsToInstall[i].text()) == 0) return true;
    return false;
}

bool hasSelectedDestination(const FileSetEntry& entry, const GroupList& groupsToInstall) {
    for (int32_t i = 0; i < entry.destinations.size(); ++i)
        if (isSelected(*entry.destinations[i], groupsToInstall)) return true;
    return false;
}

ErrorHandle loadData(FileSetEntry& entry) {
    const unsigned char* data = nullptr;
    uint32_t length = 0;
    bool mustFree = false;
    ErrorHandle result = unpackResource(entry.name.text(), &data, &length, &mustFree);
    if (isFailure(result)) return result;
    entry.data = data;
    entry.length = static_cast<int32_t>(length);
    entry.ownedBuffer = mustFree ? const_cast<unsigned char*>(data) : nullptr;
    return result;
}

void releaseData(FileSetEntry& entry) {
    std::free(entry.ownedBuffer);
    entry.ownedBuffer = nullptr;
    entry.data = nullptr;
}

namespace {

// The chosen folders may already hold what a standard user planted there; a
// junction on the way would carry the setup's write, or the undo's deletion,
// to wherever it points.
bool throughLink(const String& path, const String& macro) {
    return !macro.isEmpty() && crossesReparsePoint(path);
}

ErrorHandle refusedForLink(const char* pattern, const String& path) {
    String message;
    message.format(pattern, path.text());
    return makeError(message);
}

}  // namespace

ErrorHandle writeDestination(const FileDestination& destination, const unsigned char* data,
                             uint32_t length, const FileLocations& locations) {
    String macro;
    String path = expandLocation(destination.path, locations, &macro);
    if (throughLink(path, macro))
        return refusedForLink("Could not create file \"%s\", a junction or link lies on its way",
                              path);
    return writeFile(path, data, length);
}

ErrorHandle installEntry(FileSetEntry& entry, InstallLog& log, const GroupList& groupsToInstall,
                         const FileLocations& locations) {
    // A file nobody selected is not even unpacked.
    if (!hasSelectedDestination(entry, groupsToInstall)) return noError();
    ErrorHandle result = loadData(entry);
    if (isFailure(result)) return result;
    for (int32_t i = 0; i < entry.destinations.size(); ++i) {
        const FileDestination& destination = *entry.destinations[i];
        if (!isSelected(destination, groupsToInstall)) continue;
        result = writeDestination(destination, entry.data, static_cast<uint32_t>(entry.length),
                                  locations);
        if (isFailure(result)) break;
        // Recorded only once written: the undo then never removes a file the
        // run did not write.
        String macro;
        String path = expandLocation(destination.path, locations, &macro);
        log.addInstalledFile(destination.group, macro, path);
    }
    releaseData(entry);
    return result;
}

namespace {

// Records the link before making it, so that the undo also removes a link
// whose save failed half-way.
ErrorHandle makeRecordedLink(const char* macroPath, const String& title, const String& target,
                             const String& group, InstallLog& log, const FileLocations& locations) {
    String macro;
    String link = expandLocation(String(macroPath) + title.text() + ".lnk", locations, &macro);
    log.addInstalledFile(group, macro, link);
    if (throughLink(link, macro))
        return refusedForLink(
            "Could not save shortcut file \"%s\", a junction or link lies on its way", link);
    return createShortcut(link.text(), target.text(), nullptr, nullptr, nullptr);
}

}  // namespace

ErrorHandle createEntryShortcuts(FileSetEntry& entry, InstallLog& log,
                                 const GroupList& groupsToInstall, const FileLocations& locations) {
    ErrorHandle result;
    if (!hasSelectedDestination(entry, groupsToInstall)) return result;
    for (int32_t i = 0; i < entry.destinations.size(); ++i) {
        const FileDestination& destination = *entry.destinations[i];
        if (!isSelected(destination, groupsToInstall) || destination.title.isEmpty()) continue;
        String target = expandLocation(destination.path, locations, nullptr);
        result = makeRecordedLink("%SHORTCUT%\\", destination.title, target, destination.group,
                                  log, locations);
        if (isFailure(result)) return result;
        if (destination.desktop) {
            result = makeRecordedLink("%DESKTOP%\\", destination.title, target,
                                      destination.group, log, locations);
            if (isFailure(result)) return result;
        }
    }
    return result;
}

ErrorHandle createShortcuts(InstallSet& set, const GroupList& groupsToInstall) {
    for (int32_t i = 0; i < set.entries.size(); ++i) {
        ErrorHandle result =
            createEntryShortcuts(*set.entries[i], set.log, groupsToInstall, set.locations);
        if (isFailure(result)) return result;
    }
    return noError();
}

ErrorHandle runInstall(InstallSet& set, const GroupList& groupsToInstall, const String& productName,
                       const AppsEntry& apps) {
    ErrorHandle result = deployUninstaller();
    if (isFailure(result)) return result;

    uint64_t installedBytes = 0;
    for (int32_t i = 0; i < set.entries.size(); ++i) {
        FileSetEntry& entry = *set.entries[i];
        result = installEntry(entry, set.log, groupsToInstall, set.locations);
        if (isFailure(result)) return result;
        for (int32_t d = 0; d < entry.destinations.size(); ++d)
            if (isSelected(*entry.destinations[d], groupsToInstall))
                installedBytes += static_cast<uint64_t>(entry.length);
    }

    result = createShortcuts(set, groupsToInstall);
    if (isFailure(result)) return result;

    String logPath =
        expandLocation(String("%APP%\\") + productName.text() + ".gus", set.locations, nullptr);
    set.log.addInstalledFile("Default", "%APP%", logPath);

    AppsEntry listed = apps;
    listed.displayIcon = expandLocation(apps.displayIcon, set.locations, nullptr);
    listed.installLocation = set.locations.locationValue("%APP%");
    uint64_t kilobytes = (installedBytes + 1023) / 1024;
    listed.estimatedSizeKb = kilobytes > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(kilobytes);
    ErrorHandle registration = registerUninstaller(set.log.applicationName, logPath, listed);
    // Recorded whatever the registration did: a half-written key must go too.
    set.log.addRegistryKey("HKEY_LOCAL_MACHINE", uninstallKeyPath(set.log.applicationName));
    if (isFailure(registration)) return registration;

    String commonFiles;
    result = readCommonFilesDirectory(commonFiles);
    if (isFailure(result)) return result;
    String uninstaller = commonFiles + uninstallerSubPath;
    String arguments = String("\"") + logPath.text() + "\"";
    String link = expandLocation(
        String("%SHORTCUT%\\Uninstall ") + set.log.applicationName.text() + ".lnk",
        set.locations, nullptr);
    set.log.addInstalledFile("Default", "%SHORTCUT%", link);
    result = createShortcut(link.text(), uninstaller.text(), nullptr, arguments.text(), nullptr);
    if (isFailure(result)) return result;

    // An install set without a file under the installation directory has not
    // made it yet, and the log goes there.
    String logDirectory = directoryOf(logPath);
    if (!directoryExists(logDirectory)) {
        GrowableArray<String> made = missingDirectories(logDirectory);
        result = createDirectoryChain(logDirectory);
        if (isFailure(result)) {
            removeDirectories(made);  // the undo starts from the log's folder, which is not there
            return result;
        }
    }
    return set.log.writeLogFile(logPath);
}
