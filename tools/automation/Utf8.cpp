#include "Utf8.h"

#include <windows.h>

bool toWide(const char* in, wchar_t* out, size_t size) {
    if (size == 0) return false;
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, in, -1, out, static_cast<int>(size));
    if (n == 0) out[0] = 0;
    return n != 0;
}

bool toUtf8(const wchar_t* in, char* out, size_t size) {
    if (size == 0) return false;
    int n = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, in, -1, out, static_cast<int>(size),
                                nullptr, nullptr);
    if (n == 0) out[0] = 0;
    return n != 0;
}

bool sameNameIgnoringCase(const char* a, const char* b) {
    wchar_t wideA[MAX_PATH], wideB[MAX_PATH];
    if (!toWide(a, wideA, MAX_PATH) || !toWide(b, wideB, MAX_PATH)) return false;
    return CompareStringOrdinal(wideA, -1, wideB, -1, TRUE) == CSTR_EQUAL;
}
