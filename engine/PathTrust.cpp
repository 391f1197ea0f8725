#include "engine/PathTrust.h"

#include "platform/platform.h"

bool crossesReparsePoint(const String& path, const String& base, bool withBase) {
    uint32_t baseLength = base.length();
    if (withBase && platform::isReparsePoint(base.text())) return true;
    for (uint32_t i = baseLength + 1; i < path.length(); ++i)
        if (path.text()[i] == '\\' && platform::isReparsePoint(path.left(i).text())) return true;
    return platform::isReparsePoint(path.text());
}
