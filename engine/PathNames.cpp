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
