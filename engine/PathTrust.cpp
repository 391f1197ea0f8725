#include "engine/PathTrust.h"

#include "platform/Files.h"

namespace {
// A name that cannot be checked counts as one that leads elsewhere.
bool isReparsePoint(const String& path) {
    bool reparse = false;
    return platform::isReparsePoint(path.text(), &reparse) != platform::statusOk || reparse;
}
}  // namespace

bool crossesReparsePoint(const String& path, const String& base, bool withBase) {
    uint32_t baseLength = base.length();
    if (withBase && isReparsePoint(base)) return true;
    for (uint32_t i = baseLength + 1; i < path.length(); ++i)
        if (path.text()[i] == '\\' && isReparsePoint(path.left(i))) return true;
    return isReparsePoint(path);
}
