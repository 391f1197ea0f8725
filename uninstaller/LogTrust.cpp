#include "uninstaller/LogTrust.h"

#include <cstring>

#include "engine/PathNames.h"
#include "engine/PathTrust.h"
#include "engine/UninstallerDeployment.h"
#include "foundation/RegistryKey.h"
#include "installlog/LogDigest.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "uninstaller/LogArgument.h"

namespace {

ErrorHandle refuse(const String& reason) { return makeError(reason + " Nothing was removed."); }

String systemFolder(int csidl) {
    char path[platform::shellPathBytes];
    return platform::specialFolderPath(csidl, path) == platform::statusOk ? String(path) : String();
}

bool same(const String& a, const String& b) {
    return !a.isEmpty() && compareNoCase(a.text(), b.text()) == 0;
}

// The log path that the entry's "UninstallString" hands to the uninstaller:
// its second quoted argument.
String registeredLogPath(const String& command) {
    const char* p = command.text();
    if (*p != '"') return String();
    const char* end = std::strchr(p + 1, '"');
    if (end == nullptr) return String();
    char path[1024];
    return logArgument(end + 1, path, sizeof path) ? String(path) : String();
}

bool isOneOf(const String& folder, const String* choices, int count) {
    for (int i = 0; i < count; ++i)
        if (same(choices[i], folder)) return true;
    return false;
}

bool isBelowOneOf(const String& folder, const String* choices, int count) {
    for (int i = 0; i < count; ++i)
        if (isBelow(folder, choices[i])) return true;
    return false;
}

}  // namespace

SystemFolders SystemFolders::ofThisMachine() {
    SystemFolders folders;
    char windows[platform::shellPathBytes];
    if (platform::windowsDirectory(windows, sizeof windows) == platform::statusOk)
        folders.windows = windows;
    folders.startMenus[0] = systemFolder(platform::csidlStartMenu);
    folders.startMenus[1] = systemFolder(platform::csidlCommonStartMenu);
    folders.desktops[0] = systemFolder(platform::csidlDesktopDirectory);
    folders.desktops[1] = systemFolder(platform::csidlCommonDesktopDirectory);
    return folders;
}

ErrorHandle checkRegistration(const String& logPath, const char* data, size_t size,
                              const String& applicationName) {
    String reason;
    if (applicationName.isEmpty() || applicationName.findChar(0, '\\', true) != String::notFound) {
        reason.format("The install log \"%s\" names no installed product.", logPath.text());
        return refuse(reason);
    }
    RegistryKey entry(uninstallKeyPath(applicationName).text(), 1,
                      RegistryKey::existingOnly);
    String command, stored;
    // An entry or value that is not there answers the question; one the
    // system would not let us read leaves it open.
    platform::Status unreadable = platform::statusOk;
    auto read = [&](const char* name, String& value) {
        bool got = !isFailure(entry.readText(name, value));
        if (!got && unreadable == platform::statusOk && !platform::isMissing(entry.status()))
            unreadable = entry.status();
        return got;
    };
    bool registered = read("UninstallString", command);
    bool digested = read(logDigestValueName, stored);
    entry.close();
    if (unreadable != platform::statusOk) {
        reason.format("The Uninstall entry of %s could not be read: %s", applicationName.text(),
                      systemReason(unreadable).text());
        return refuse(reason);
    }
    if (!registered || !same(registeredLogPath(command), logPath)) {
        reason.format("The install log \"%s\" is not the one registered for %s.", logPath.text(),
                      applicationName.text());
        return refuse(reason);
    }
    if (!digested || stored.isEmpty()) {
        reason.format("The install log \"%s\" cannot be checked: no digest of it was kept at "
                      "the installation.",
                      logPath.text());
        return refuse(reason);
    }
    String actual = digestText(data, size);
    if (actual.isEmpty()) {
        reason.format("The install log \"%s\" cannot be checked: the system offers no SHA-256.",
                      logPath.text());
        return refuse(reason);
    }
    if (compareNoCase(actual.text(), stored.text()) != 0) {
        reason.format("The install log \"%s\" has been changed since the installation.",
                      logPath.text());
        return refuse(reason);
    }
    return noError();
}

ErrorHandle checkLocations(const InstallLog& log, const String& logPath,
                           const SystemFolders& folders) {
    const FileLocations& l = log.locations;
    const char* macro = nullptr;
    const char* wanted = nullptr;
    String value;
    if (!isPlainPath(l.APP) || !same(l.APP, directoryOf(logPath))) {
        macro = "%APP%", wanted = "the folder that holds the log", value = l.APP;
    } else if (!isPlainPath(l.WIN) || !same(l.WIN, folders.windows)) {
        macro = "%WIN%", wanted = "the Windows folder", value = l.WIN;
    } else if (!isPlainPath(l.SHORTCUT) || !isBelowOneOf(l.SHORTCUT, folders.startMenus, 2)) {
        macro = "%SHORTCUT%", wanted = "a folder in a Start menu", value = l.SHORTCUT;
    } else if (!isPlainPath(l.DESKTOP) || !isOneOf(l.DESKTOP, folders.desktops, 2)) {
        macro = "%DESKTOP%", wanted = "a desktop", value = l.DESKTOP;
    } else if (!l.WINSYS.isEmpty() || !l.WINSYS32.isEmpty()) {
        macro = !l.WINSYS.isEmpty() ? "%WINSYS%" : "%WINSYS32%";
        wanted = "a location the setup records";
        value = !l.WINSYS.isEmpty() ? l.WINSYS : l.WINSYS32;
    } else {
        return noError();
    }
    String reason;
    reason.format("The install log \"%s\" gives %s as \"%s\", which is not %s.", logPath.text(),
                  macro, value.text(), wanted);
    return refuse(reason);
}

ErrorHandle checkWays(const InstallLog& log) {
    const FileLocations& l = log.locations;
    const String* const bases[] = {&l.APP, &l.SHORTCUT, &l.DESKTOP, &l.WIN};
    for (const String* base : bases) {
        if (base->isEmpty() || !crossesReparsePoint(*base)) continue;
        String reason;
        reason.format("The folder \"%s\" is reached through a junction or link.", base->text());
        return refuse(reason);
    }
    return noError();
}

bool mayDeleteKey(const RegistryKeyRecord& record, const String& applicationName) {
    const char* key = record.key.text();
    if (std::strcmp(record.area.text(), "HKEY_LOCAL_MACHINE") == 0)
        return same(record.key, uninstallKeyPath(applicationName));
    if (std::strcmp(record.area.text(), "HKEY_CURRENT_USER") != 0) return false;
    static const char software[] = "Software\\";
    const uint32_t prefix = sizeof software - 1;
    if (compareNoCase(key, software, prefix) != 0) return false;
    // Software\<company>\<product>..., no empty names; the system's own and
    // the shared trees under Software are no product's.
    static const char* const shared[] = {"Microsoft\\", "Classes\\", "Policies\\",
                                         "Wow6432Node\\", "Clients\\", "Wine\\"};
    for (const char* tree : shared)
        if (compareNoCase(key + prefix, tree, static_cast<uint32_t>(std::strlen(tree))) == 0)
            return false;
    int names = 0;
    for (const char* name = key + prefix;; ++names) {
        const char* end = std::strchr(name, '\\');
        if (end == name || *name == '\0') return false;
        if (end == nullptr) break;
        name = end + 1;
    }
    return names >= 1;
}
