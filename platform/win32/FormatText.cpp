// Formatting through msvcrt.dll's own printf rather than the C++ runtime's
// standards-conforming copy, which links about 20 KB of floating-point
// conversion into every program. For the conversions our texts use (%s, %c,
// %d, %lu) the two print the same characters; what differs is the overflow
// contract, which this restores: msvcrt's _vsnprintf returns -1 and leaves
// the text unterminated when it does not fit, so the length comes from
// _vscprintf and the terminator is put in here.
#include <stdio.h>

#include "platform/platform.h"

namespace platform {

int formatText(char* buf, size_t size, const char* format, va_list args) {
    va_list counting;
    va_copy(counting, args);
    int needed = _vscprintf(format, counting);
    va_end(counting);
    if (needed < 0 || size == 0) return needed;
    int written = _vsnprintf(buf, size - 1, format, args);
    buf[written < 0 ? size - 1 : static_cast<size_t>(written)] = '\0';
    return needed;
}

}  // namespace platform
