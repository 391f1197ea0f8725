#include "setup/SetupArguments.h"

#include <cstring>

#include "engine/PathNames.h"
#include "platform/Text.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

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
        while (isBlank(*p)) ++p;
        if (*p == '\0') break;
        if (p[0] == '/' && (p[1] == 'D' || p[1] == 'd') && p[2] == '=') {
            const char* begin = p + 3;
            size_t length = std::strlen(begin);
            while (length > 0 && isBlank(begin[length - 1])) --length;
            if (length > 4 && begin[length - 1] == '\\') --length;  // C:\Games\ is C:\Games
            directoryGiven = true;
            // The uninstaller refuses a log whose paths are not plain, which
            // would leave such an installation in place for good.
            String directory = String(begin).left(static_cast<uint32_t>(length));
            // MAX_PATH counts UTF-16 units, not the bytes of the text.
            if (platform::utf16Units(directory.text()) < 260 && isPlainPath(directory))
                arguments.installationDirectory = directory;
            else
                arguments.valid = false;
            break;
        }
        const char* end = p;
        while (*end != '\0' && !isBlank(*end)) ++end;
        if (end - p == 2 && p[0] == '/' && (p[1] == 'S' || p[1] == 's'))
            arguments.silent = true;
        else
            arguments.valid = false;
        p = end;
    }
    // The dialogue has its own folder choice; a directory without /S would be ignored.
    if (directoryGiven && !arguments.silent) arguments.valid = false;
    return arguments;
}
