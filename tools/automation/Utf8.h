// The automation keeps every text as UTF-8, as the steps file and its log hold them, and speaks
// UTF-16 to the system: window texts, paths and command lines outside any code page must pass
// through exactly, or a check would compare question marks.
#pragma once

#include <stddef.h>
#include <wchar.h>

// False when `in` is not valid UTF-8 or does not fit `size` units with its terminator.
bool toWide(const char* in, wchar_t* out, size_t size);
// False when `in` is not valid UTF-16 (an unpaired surrogate) or does not fit `size` bytes.
bool toUtf8(const wchar_t* in, char* out, size_t size);

// Whether two UTF-8 names are equal without regard to case, as Windows compares file names.
bool sameNameIgnoringCase(const char* a, const char* b);
