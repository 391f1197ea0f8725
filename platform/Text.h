// Text as the programs hold it, UTF-8, and names compared as Windows compares
// file, key, value and resource names: without regard to case, letter by
// letter in any script. The decoding is the same everywhere; the upper case
// of a letter is the system's own.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// Below, equal or above zero as a sorts before, with or after b.
int compareNames(const char* a, const char* b);
// The same over at most n bytes of each.
int compareNames(const char* a, const char* b, size_t n);
// A character as names compare it: the system's upper case of it, one UTF-16
// unit to one, as the file system's table maps (Windows: the ordinal upper
// case that CompareStringOrdinal uses; the host: the C library's tables for
// UTF-8). Characters above the Basic Multilingual Plane stay as they are.
uint32_t nameUpperCase(uint32_t codePoint);
// How many UTF-16 units the UTF-8 text takes, as the Windows limits count.
size_t utf16Units(const char* text);
// Whether the bytes are UTF-8 throughout: no stray or overlong byte, no
// surrogate, nothing past U+10FFFF.
bool isValidUtf8(const char* text, size_t bytes);
// The next code point of UTF-8 text at *p, moving *p past it, within end; a
// byte that starts no valid sequence stands for itself as 0xDC00 + byte (a
// lone surrogate, which no decoded character can be).
uint32_t nextCodePoint(const char** p, const char* end);

}  // namespace platform
