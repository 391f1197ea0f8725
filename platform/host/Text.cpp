// The upper case that names compare by, from the C library's tables for UTF-8.
#include <locale.h>
#include <wctype.h>

#include "platform/Text.h"

namespace platform {

uint32_t nameUpperCase(uint32_t c) {
    if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 32 : c;
    // The C library's own tables; the process's global locale stays as it is.
    static locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (c > 0xFFFF || utf8 == static_cast<locale_t>(0)) return c;
    uint32_t upper = static_cast<uint32_t>(towupper_l(static_cast<wint_t>(c), utf8));
    // One UTF-16 unit to one, as the file system's table maps.
    return upper <= 0xFFFF ? upper : c;
}

}  // namespace platform
