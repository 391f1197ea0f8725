#include "platform/Text.h"

#include <cstring>

namespace platform {

uint32_t nextCodePoint(const char** p, const char* end) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(*p);
    const unsigned char* e = reinterpret_cast<const unsigned char*>(end);
    unsigned char b = *s;
    int extra = b >= 0xF5 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 ? 1 : 0;
    if (b < 0x80 || extra == 0 || e - s <= extra) {
        ++*p;
        return b < 0x80 ? b : 0xDC00u + b;
    }
    uint32_t c = b & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        if ((s[i] & 0xC0) != 0x80) {
            ++*p;
            return 0xDC00u + b;
        }
        c = (c << 6) | (s[i] & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are no characters.
    static const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (c < least[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        ++*p;
        return 0xDC00u + b;
    }
    *p += 1 + extra;
    return c;
}

namespace {

// strnlen, which msvcrt.dll lacks: mingw's stand-in brings unwind tables along.
const char* boundedEnd(const char* s, size_t n) {
    const void* zero = std::memchr(s, '\0', n);
    return zero != nullptr ? static_cast<const char*>(zero) : s + n;
}

}  // namespace

int compareNames(const char* a, const char* b, size_t n) {
    const char* endA = boundedEnd(a, n);
    const char* endB = boundedEnd(b, n);
    while (a < endA && b < endB) {
        uint32_t ca = nameUpperCase(nextCodePoint(&a, endA));
        uint32_t cb = nameUpperCase(nextCodePoint(&b, endB));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a < endA) return 1;
    if (b < endB) return -1;
    return 0;
}

int compareNames(const char* a, const char* b) { return compareNames(a, b, static_cast<size_t>(-1)); }

size_t utf16Units(const char* text) {
    const char* end = text + std::strlen(text);
    size_t units = 0;
    while (text < end) units += nextCodePoint(&text, end) > 0xFFFF ? 2 : 1;
    return units;
}

bool isValidUtf8(const char* text, size_t bytes) {
    const char* end = text + bytes;
    while (text < end) {
        uint32_t c = nextCodePoint(&text, end);
        if (c >= 0xDC00 && c <= 0xDCFF) return false;
    }
    return true;
}

}  // namespace platform
