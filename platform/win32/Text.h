// Text between the programs and the system: UTF-8 inside, UTF-16 at every
// call, so that a name is exactly the name on disk and in the registry in any
// language, whatever the system's ANSI code page.
#pragma once

#include <windows.h>

#include <stddef.h>

#include "platform/Status.h"

namespace platform {

// UTF-8 text as the wide calls take it, for the length of one call. Text that
// is not valid UTF-8 converts to nothing and says so in status(); null stays
// null.
class WideText {
public:
    explicit WideText(const char* text);
    // length bytes of text, NULs included, as registry data is.
    WideText(const char* text, size_t length);
    ~WideText();
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;

    const wchar_t* get() const { return text_; }
    size_t units() const { return units_; }  // without the terminator added here
    Status status() const { return status_; }

private:
    void convert(const char* text, int length);
    wchar_t small_[MAX_PATH];
    wchar_t* text_;
    size_t units_;
    Status status_;
};

// Wide text the system handed back, as UTF-8 into out (terminated). units is
// the length in UTF-16 units, or -1 up to the terminator. An unpaired
// surrogate is refused (errNoUnicodeTranslation), never turned into '?'; text
// that does not fit fails with errInsufficientBuffer. *written, when given,
// receives the bytes written without the terminator.
Status toUtf8(const wchar_t* text, int units, char* out, size_t outSize, size_t* written = nullptr);
// The bytes that toUtf8 needs for that text, terminator excluded; 0 and a
// failure status for an unpaired surrogate.
Status utf8Length(const wchar_t* text, int units, size_t* bytes);

}  // namespace platform
