#include "installlog/InstallLog.h"
#include "platform/platform.h"

namespace {

// Writes one line from its pieces, then flushes, so every complete line is on
// disk as soon as it is written. False once anything failed.
bool writeLine(platform::File* file, const char* const* pieces, int count) {
    bool ok = true;
    for (int i = 0; i < count; ++i) {
        size_t n = String(pieces[i]).length();
        if (n > 0 && platform::writeFile(file, pieces[i], n) != n) ok = false;
    }
    if (platform::writeFile(file, "\n", 1) != 1) ok = false;
    if (platform::flushFile(file) != 0) ok = false;
    return ok;
}

}  // namespace

void InstallLog::addInstalledFile(const String& group, const String& location,
                                  const String& path) {
    installedFiles.append(InstalledFileRecord{group, location, path});
}

void InstallLog::addRegistryKey(const String& area, const String& key) {
    registryKeys.append(RegistryKeyRecord{area, key});
}

ErrorHandle InstallLog::writeLogFile(const String& path) const {
    // The new log is written beside the old one and then takes its place in
    // one step: a write that fails (a full disk) leaves the old log whole for
    // the uninstaller instead of cut short. A leftover of an earlier attempt,
    // or anything planted under that name, goes first.
    String temporary = path + ".new";
    platform::unlinkFile(temporary.text());
    // The folder may be writable by a standard user, who can put a link or a
    // file of their own under the name again right after the removal; opening
    // it then would write through the link with our rights. So the file is
    // only ever made new, never opened: anything planted in that moment
    // makes this write fail, and the old log stays whole.
    // Text mode: each line feed reaches the file as CR LF.
    platform::File* file = platform::createNewFile(temporary.text());
    if (file == nullptr) {
        String message;
        message.format("Could not open file \"%s\" for writing", path.text());
        return makeError(message);
    }
    bool ok = true;
    const char* header[] = {"GUS|1"};
    ok = writeLine(file, header, 1) && ok;
    const char* name[] = {"APPLICATION_NAME|", applicationName.text()};
    ok = writeLine(file, name, 2) && ok;
    // WINSYS and WINSYS32 are never written: nothing the setup installs uses them.
    const char* appLine[] = {"FILE_LOCATIONS|%APP%|", locations.APP.text()};
    const char* shortcutLine[] = {"FILE_LOCATIONS|%SHORTCUT%|", locations.SHORTCUT.text()};
    const char* desktopLine[] = {"FILE_LOCATIONS|%DESKTOP%|", locations.DESKTOP.text()};
    const char* winLine[] = {"FILE_LOCATIONS|%WIN%|", locations.WIN.text()};
    ok = writeLine(file, appLine, 2) && ok;
    ok = writeLine(file, shortcutLine, 2) && ok;
    ok = writeLine(file, desktopLine, 2) && ok;
    ok = writeLine(file, winLine, 2) && ok;
    for (int32_t i = 0; i < installedFiles.size(); ++i) {
        const InstalledFileRecord& r = installedFiles[i];
        const char* line[] = {"INSTALLED_FILE|", r.group.text(), "|", r.location.text(), "|",
                              r.path.text()};
        ok = writeLine(file, line, 6) && ok;
    }
    for (int32_t i = 0; i < registryKeys.size(); ++i) {
        const RegistryKeyRecord& r = registryKeys[i];
        const char* line[] = {"REG_KEY|", r.area.text(), "|", r.key.text()};
        ok = writeLine(file, line, 4) && ok;
    }
    // A full disk shows up while writing or at close; a log cut short would
    // leave the uninstaller blind to part of the installation, so say so.
    if (platform::closeFile(file) != 0) ok = false;
    if (ok && platform::replaceFile(temporary.text(), path.text()) == 0) return noError();
    platform::unlinkFile(temporary.text());
    String message;
    message.format("Could not write file \"%s\"", path.text());
    return makeError(message);
}
