// Stand-ins until the host version reader and link writer land.
#include "platform/platform.h"

namespace platform {
uint32_t fileVersionInfoSize(const char*) { return 0; }
bool fileVersionInfo(const char*, uint32_t, void*) { return false; }
bool versionQueryValue(const void*, const char*, const void**, uint32_t*) { return false; }
ShellLink* ShellLink::create() { return nullptr; }
bool ansiToWide(const char*, wchar_t*, int) { return false; }
}  // namespace platform
