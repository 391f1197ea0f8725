#include "engine/PathNames.h"

#include <cstring>

String directoryOf(const String& path) {
    uint32_t last = path.findLastChar(path.length(), '\\', true);
    if (last == String::notFound) return path;
    return path.left(last);
}

ErrorHandle splitPath(const String& path, String& parent, String& name) {
    String rest(path);
    rest.trimRight('\\');
    uint32_t last = rest.findLastChar(rest.length(), '\\', true);
    if (last == String::notFound) {
        parent = rest;
        name = String();
    } else {
        parent = rest.left(last + 1);
        name = rest.mid(last + 1, rest.length());
    }
    return noError();
}

ErrorHandle nextPathComponent(const String& path, const String& base, String& component) {
    uint32_t start = 0;
    if (!base.isEmpty()) {
        start = base.length();
        if (std::strncmp(path.text(), base.text(), start) != 0)
            return makeError("Incorrect directory path specified");
    }
    uint32_t slash = path.findChar(start, '\\', true);
    if (slash == String::notFound) {
        component = path.mid(start, path.length());
        return noError();
    }
    if (slash == start) return makeError("Empty directory name in path");
    component = path.mid(start, slash - start + 1);
    return noError();
}

namespace {

bool isPortNumber(const char* p, size_t n) {  // a digit, or the superscripts one to three (UTF-8)
    return (n == 1 && p[0] >= '0' && p[0] <= '9') ||
           (n == 2 && p[0] == '\xC2' && (p[1] == '\xB9' || p[1] == '\xB2' || p[1] == '\xB3'));
}

// Windows looks for a device by the part of a name before its first dot,
// blanks at its end dropped, in any case.
bool isDeviceName(const char* name, size_t length) {
    size_t n = 0;
    while (n < length && name[n] != '.') ++n;
    while (n > 0 && name[n - 1] == ' ') --n;
    // '#' stands for the port number that COM and LPT take.
    static const char devices[] = "CON\0PRN\0AUX\0NUL\0CONIN$\0CONOUT$\0COM#\0LPT#\0";
    for (const char* device = devices; *device != '\0'; device += std::strlen(device) + 1) {
        size_t k = std::strlen(device);
        bool port = device[k - 1] == '#';
        if (port) --k;
        if (n < k || compareNoCase(name, device, k) != 0) continue;
        if (port ? isPortNumber(name + k, n - k) : n == k) return true;
    }
    return false;
}

}  // namespace

NameFault nameFault(const char* name, size_t length) {
    if (length == 0) return NameFault::empty;
    if (name[0] == '.' && (length == 1 || (length == 2 && name[1] == '.')))
        return NameFault::dotOrDotDot;
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 32 || c == '\\' || std::strchr("/:*?\"<>|", c) != nullptr)
            return NameFault::refusedCharacter;
    }
    if (name[length - 1] == '.' || name[length - 1] == ' ') return NameFault::endsInDotOrBlank;
    if (isDeviceName(name, length)) return NameFault::deviceName;
    return NameFault::none;
}

bool isPlainPath(const String& path) {
    const char* p = path.text();
    bool drive = (p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z');
    if (!drive || p[1] != ':' || p[2] != '\\') return false;
    const char* name = p + 3;
    for (;;) {
        const char* end = std::strchr(name, '\\');
        if (end == nullptr) end = name + std::strlen(name);
        if (nameFault(name, static_cast<size_t>(end - name)) != NameFault::none) return false;
        if (*end == '\0') return true;
        name = end + 1;
    }
}

bool isBelow(const String& path, const String& folder) {
    uint32_t n = folder.length();
    return n > 0 && path.length() > n + 1 && compareNoCase(path.text(), folder.text(), n) == 0 &&
           path.text()[n] == '\\';
}
