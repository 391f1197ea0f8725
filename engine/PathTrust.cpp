#include "engine/PathTrust.h"

#include "platform/Files.h"

namespace {
// A name that cannot be checked counts as one that leads elsewhere.
bool isReparsePoint(const String& path) {
    bool reparse = false;
    return platform::isReparsePoint(path.text(), &reparse) != platform::statusOk || reparse;
}
}  // namespace

bool crossesReparsePoint(const String& path) {
    // From the first folder below the drive's root ("C:\"), which is none.
    for (uint32_t i = 3; i < path.length(); ++i)
        if (path.text()[i] == '\\' && isReparsePoint(path.left(i))) return true;
    return isReparsePoint(path);
}
