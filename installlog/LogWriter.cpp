#include "installlog/InstallLog.h"
#include "platform/Files.h"

namespace {

void addLine(String& text, const char* const* pieces, int count) {
    for (int i = 0; i < count; ++i) text.append(pieces[i]);
    text.append("\n");
}

}  // namespace

String InstallLog::fileText() const {
    String text;
    const char* header[] = {"GUS|1"};
    addLine(text, header, 1);
    const char* name[] = {"APPLICATION_NAME|", applicationName.text()};
    addLine(text, name, 2);
    // WINSYS and WINSYS32 are never written: nothing the setup installs uses them.
    const char* appLine[] = {"FILE_LOCATIONS|%APP%|", locations.APP.text()};
    const char* shortcutLine[] = {"FILE_LOCATIONS|%SHORTCUT%|", locations.SHORTCUT.text()};
    const char* desktopLine[] = {"FILE_LOCATIONS|%DESKTOP%|", locations.DESKTOP.text()};
    const char* winLine[] = {"FILE_LOCATIONS|%WIN%|", locations.WIN.text()};
    addLine(text, appLine, 2);
    addLine(text, shortcutLine, 2);
    addLine(text, desktopLine, 2);
    addLine(text, winLine, 2);
    for (int32_t i = 0; i < installedFiles.size(); ++i) {
        const InstalledFileRecord& r = installedFiles[i];
        const char* line[] = {"INSTALLED_FILE|", r.group.text(), "|", r.location.text(), "|",
                              r.path.text()};
        addLine(text, line, 6);
    }
    for (int32_t i = 0; i < registryKeys.size(); ++i) {
        const RegistryKeyRecord& r = registryKeys[i];
        const char* line[] = {"REG_KEY|", r.area.text(), "|", r.key.text()};
        addLine(text, line, 4);
    }
    return text;
}

ErrorHandle InstallLog::writeLogFile(const String& path) const {
    // The new log is written beside the old one and then takes its place in
    // one step: a write that fails (a full disk) leaves the old log whole for
    // the uninstaller instead of cut short. A leftover of an earlier attempt,
    // or anything planted under that name, goes first.
    String temporary = path + ".new";
    platform::Status cleared = platform::unlinkFile(temporary.text());
    // The folder may be writable by a standard user, who can put a link or a
    // file of their own under the name again right after the removal; opening
    // it then would write through the link with our rights. So the file is
    // only ever made new, never opened: anything planted in that moment
    // makes this write fail, and the old log stays whole.
    // Text mode: each line feed reaches the file as CR LF.
    platform::Stream* file = nullptr;
    platform::Status created = platform::createNewStream(temporary.text(), "w", &file);
    if (created != platform::statusOk) {
        String message;
        if (platform::isMissing(created)) {
            // The log's own folder is not there.
            message.format("Could not open file \"%s\" for writing", path.text());
        } else {
            // Something stands under the new log's name: a folder or a
            // read-only file we could not remove says more than that the
            // name is taken.
            bool stuck = cleared != platform::statusOk && !platform::isMissing(cleared);
            message.format("Could not open file \"%s\" for writing: %s", temporary.text(),
                           systemReason(stuck ? cleared : created).text());
        }
        return makeError(message);
    }
    // The same text that the log's seal is computed from (logDigest).
    String text = fileText();
    uint32_t size = text.length();
    bool ok = platform::writeStream(file, text.text(), size) == platform::statusOk;
    // A full disk shows up while writing or at close; a log cut short would
    // leave the uninstaller blind to part of the installation, so say so.
    if (platform::closeStream(file) != platform::statusOk) ok = false;
    if (ok && platform::replaceFile(temporary.text(), path.text()) == platform::statusOk)
        return noError();
    platform::unlinkFile(temporary.text());
    String message;
    message.format("Could not write file \"%s\"", path.text());
    return makeError(message);
}
