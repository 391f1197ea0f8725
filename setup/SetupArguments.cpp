#include "setup/SetupArguments.h"

#include "engine/PathNames.h"
#include "foundation/CommandLine.h"
#include "platform/Text.h"

namespace {

// The directory /D= names, or empty text when it cannot be one. The
// uninstaller refuses a log whose paths are not plain, which would leave such
// an installation in place for good.
String plainDirectory(String directory) {
    directory.trimRight();
    uint32_t length = directory.length();
    if (length > 4 && directory.text()[length - 1] == '\\')  // C:\Games\ is C:\Games
        directory = directory.left(length - 1);
    // MAX_PATH counts UTF-16 units, not the bytes of the text.
    if (platform::utf16Units(directory.text()) >= 260 || !isPlainPath(directory)) return String();
    return directory;
}

}  // namespace

SetupArguments parseSetupArguments(const char* commandLine) {
    SetupArguments arguments;
    bool directoryGiven = false;
    // No line at all: the system could not hand it over as text.
    if (commandLine == nullptr) {
        arguments.valid = false;
        return arguments;
    }
    const char* p = commandLine;
    for (;;) {
        CommandArgument a = nextArgument(p);
        if (a.kind == CommandArgument::end) break;
        if (isOption(a, "S") && !a.hasValue) {
            arguments.silent = true;
        } else if ((isOption(a, "?") || isOption(a, "HELP")) && !a.hasValue) {
            arguments.help = true;
        } else if (isOption(a, "D") && a.hasValue && !directoryGiven) {
            directoryGiven = true;
            arguments.installationDirectory = plainDirectory(a.value);
            if (arguments.installationDirectory.isEmpty()) arguments.valid = false;
        } else if (isOption(a, "LOG") && !arguments.log && !(a.hasValue && a.value.isEmpty())) {
            arguments.log = true;
            arguments.logFile = a.value;
            arguments.logFile.trimRight();
        } else {
            arguments.valid = false;
        }
    }
    // The dialogue has its own folder choice; a directory without /S would be ignored.
    if (directoryGiven && !arguments.silent) arguments.valid = false;
    // Help is all such a run does: what came with it would not be done.
    if (arguments.help && (arguments.silent || directoryGiven || arguments.log))
        arguments.valid = false;
    return arguments;
}
