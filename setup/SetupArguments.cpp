#include "setup/SetupArguments.h"

#include <cstring>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The directory must be one Windows and the uninstaller take as it is written:
// the uninstaller refuses a log whose paths are not plain, which would leave
// the product installed for good.
bool isPlainDirectory(const char* path, size_t length) {
    if (length < 4 || length >= 260) return false;
    char drive = path[0];
    if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')) || path[1] != ':' ||
        path[2] != '\\')
        return false;
    size_t start = 3;
    for (size_t i = 3; i <= length; ++i) {
        if (i < length && path[i] != '\\') {
            unsigned char c = static_cast<unsigned char>(path[i]);
            if (c < 32 || std::strchr("<>:\"/|?*", c) != nullptr) return false;
            continue;
        }
        size_t n = i - start;
        if (n == 0) return false;  // an empty step: a doubled backslash
        char last = path[i - 1];
        if (last == '.' || last == ' ') return false;  // also "." and ".."
        start = i + 1;
    }
    return true;
}

}  // namespace

SetupArguments parseSetupArguments(const char* commandLine) {
    SetupArguments arguments;
    bool directoryGiven = false;
    const char* p = commandLine != nullptr ? commandLine : "";
    for (;;) {
        while (isBlank(*p)) ++p;
        if (*p == '\0') break;
        if (p[0] == '/' && (p[1] == 'D' || p[1] == 'd') && p[2] == '=') {
            const char* begin = p + 3;
            size_t length = std::strlen(begin);
            while (length > 0 && isBlank(begin[length - 1])) --length;
            if (length > 4 && begin[length - 1] == '\\') --length;  // C:\Games\ is C:\Games
            directoryGiven = true;
            if (isPlainDirectory(begin, length))
                arguments.installationDirectory = String(begin).left(static_cast<uint32_t>(length));
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
