#include "platform/win32/Text.h"

#include "platform/Text.h"

#include <stdlib.h>

#include "platform/win32/Failure.h"

namespace platform {

namespace {

// The system's converter turns a lone surrogate into U+FFFD before Vista and
// has no flag to refuse it there, so the pairs are checked here first.
bool pairedSurrogates(const wchar_t* text, int units) {
    for (int i = 0; units < 0 ? text[i] != 0 : i < units; ++i) {
        wchar_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            wchar_t next = (units < 0 || i + 1 < units) ? text[i + 1] : 0;
            if (next < 0xDC00 || next > 0xDFFF) return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

}  // namespace

WideText::WideText(const char* text) : text_(nullptr), units_(0), status_(statusOk) {
    if (text != nullptr) convert(text, lstrlenA(text));
}

WideText::WideText(const char* text, size_t length) : text_(nullptr), units_(0), status_(statusOk) {
    if (text != nullptr) convert(text, static_cast<int>(length));
}

void WideText::convert(const char* text, int length) {
    text_ = small_;
    if (length == 0) {
        small_[0] = 0;
        return;
    }
    int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, nullptr, 0);
    if (units <= 0) {
        status_ = lastFailure();
        text_ = nullptr;
        return;
    }
    if (units >= MAX_PATH) {
        text_ = static_cast<wchar_t*>(malloc((static_cast<size_t>(units) + 1) * sizeof(wchar_t)));
        if (text_ == nullptr) {
            status_ = failed(ERROR_NOT_ENOUGH_MEMORY);
            return;
        }
    }
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, text_, units);
    text_[units] = 0;
    units_ = static_cast<size_t>(units);
}

WideText::~WideText() {
    if (text_ != small_) free(text_);
}

Status utf8Length(const wchar_t* text, int units, size_t* bytes) {
    *bytes = 0;
    if (!pairedSurrogates(text, units)) return failed(ERROR_NO_UNICODE_TRANSLATION);
    if (units == 0) return statusOk;
    int n = WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return lastFailure();
    // With units -1 the count includes the terminator.
    *bytes = static_cast<size_t>(n) - (units < 0 ? 1 : 0);
    return statusOk;
}

Status toUtf8(const wchar_t* text, int units, char* out, size_t outSize, size_t* written) {
    size_t bytes = 0;
    if (Status status = utf8Length(text, units, &bytes)) return status;
    if (bytes + 1 > outSize) return failed(ERROR_INSUFFICIENT_BUFFER);
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, units < 0 ? -1 : units, out, static_cast<int>(outSize),
                            nullptr, nullptr);
    out[bytes] = '\0';
    if (written != nullptr) *written = bytes;
    return statusOk;
}

namespace {
typedef WCHAR(WINAPI* Upcase)(WCHAR);
Upcase upcase = nullptr;
bool upcaseLooked = false;
}  // namespace

uint32_t nameUpperCase(uint32_t c) {
    if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 32 : c;
    if (c > 0xFFFF) return c;
    // The system's own upper case table, the one the file system and
    // CompareStringOrdinal use, whatever the user's language (a Turkish
    // user's i still matches I). It is in ntdll, which every process has.
    // Looked up once; a function-local static would bring the runtime's
    // thread-safe initialisation along, and the programs have one thread.
    if (!upcaseLooked) {
        upcase = reinterpret_cast<Upcase>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlUpcaseUnicodeChar")));
        upcaseLooked = true;
    }
    if (upcase == nullptr) {
        WCHAR one[1] = {static_cast<WCHAR>(c)};
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, one, 1, one, 1);
        return one[0];
    }
    return upcase(static_cast<WCHAR>(c));
}

}  // namespace platform
