#include "foundation/String.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/System.h"

namespace {

char emptyText[1] = {'\0'};
// The program holds one count itself, so handles never bring it to zero.
StringRep emptyRep = {emptyText, 1, 1};

// Texts are short; running out of memory for one leaves nothing sensible to
// do, so stop at once rather than limp on with a broken invariant.
void* allocate(size_t size) {
    void* block = std::malloc(size);
    if (block == nullptr) std::abort();
    return block;
}

StringRep* newRep(uint32_t capacity) {
    StringRep* rep = static_cast<StringRep*>(allocate(sizeof(StringRep)));
    rep->text = static_cast<char*>(allocate(capacity));
    rep->refCount = 1;
    rep->capacity = capacity;
    return rep;
}

StringRep* repOf(const char* text) {
    uint32_t length = static_cast<uint32_t>(std::strlen(text));
    StringRep* rep = newRep(length + 1);
    std::memcpy(rep->text, text, length + 1);
    return rep;
}

void freeRep(StringRep* rep) {
    std::free(rep->text);
    std::free(rep);
}

}  // namespace

// Names compare as Windows compares them, letter by letter in any script.
int compareNoCase(const char* a, const char* b) { return platform::compareNames(a, b); }

int compareNoCase(const char* a, const char* b, uint32_t n) { return platform::compareNames(a, b, n); }

const StringRep* String::emptyRepresentation() { return &emptyRep; }

String::String() : rep_(&emptyRep) { ++rep_->refCount; }

String::String(const char* text) : rep_(repOf(text)) {}

String::String(uint32_t capacity, int) : rep_(newRep(capacity == 0 ? 1 : capacity)) {
    rep_->text[0] = '\0';
}

String::String(const String& other) : rep_(other.rep_) { ++rep_->refCount; }

String::~String() { release(); }

void String::release() {
    if (--rep_->refCount == 0) {
        if (rep_ == &emptyRep) return;  // cannot happen while the program holds its count
        freeRep(rep_);
    }
}

String& String::operator=(const String& other) {
    if (rep_ == other.rep_) return *this;
    ++other.rep_->refCount;
    release();
    rep_ = other.rep_;
    return *this;
}

String& String::operator=(const char* text) {
    StringRep* fresh = repOf(text);
    release();
    rep_ = fresh;
    return *this;
}

void String::makeUnique() {
    if (rep_->refCount <= 1) return;
    StringRep* copy = repOf(rep_->text);
    --rep_->refCount;
    rep_ = copy;
}

char* String::writableText() {
    makeUnique();
    return rep_->text;
}

uint32_t String::length() const { return static_cast<uint32_t>(std::strlen(rep_->text)); }

bool String::setCapacity(uint32_t n) {
    makeUnique();
    if (n == 0) n = 1;
    if (rep_->capacity == n) return true;
    char* buffer = static_cast<char*>(allocate(n));
    uint32_t keep = rep_->capacity < n ? rep_->capacity : n;
    std::memset(buffer, 0, n);
    std::memcpy(buffer, rep_->text, keep);
    buffer[n - 1] = '\0';
    if (rep_ == &emptyRep) {
        // Unshared but still the program's own: leave it and take a new one.
        --emptyRep.refCount;
        rep_ = static_cast<StringRep*>(allocate(sizeof(StringRep)));
        rep_->refCount = 1;
    } else {
        std::free(rep_->text);
    }
    rep_->text = buffer;
    rep_->capacity = n;
    return true;
}

void String::append(const char* text) {
    uint32_t oldLength = length();
    uint32_t addLength = static_cast<uint32_t>(std::strlen(text));
    // text may point into this string's own buffer, which setCapacity replaces.
    String keep(text);
    setCapacity(oldLength + addLength + 1);
    std::memcpy(rep_->text + oldLength, keep.text(), addLength + 1);
}

void String::prepend(const char* text) {
    uint32_t oldLength = length();
    uint32_t addLength = static_cast<uint32_t>(std::strlen(text));
    String keep(text);
    setCapacity(oldLength + addLength + 1);
    std::memmove(rep_->text + addLength, rep_->text, oldLength + 1);
    std::memcpy(rep_->text, keep.text(), addLength);
}

void String::replace(uint32_t start, uint32_t count, const char* text) {
    uint32_t oldLength = length();
    if (start >= oldLength) {
        append(text);
        return;
    }
    String keep(text);
    makeUnique();
    if (count > oldLength - start) count = oldLength - start;
    uint32_t addLength = keep.length();
    uint32_t size = oldLength - count + addLength + 1;
    if (size > rep_->capacity) setCapacity(size);
    std::memmove(rep_->text + start + addLength, rep_->text + start + count,
                 oldLength - start - count + 1);
    std::memcpy(rep_->text + start, keep.text(), addLength);
}

void String::trimLeft() {
    const char* p = rep_->text;
    while (*p != '\0' && std::isspace(static_cast<unsigned char>(*p))) ++p;
    if (p == rep_->text) return;
    uint32_t skip = static_cast<uint32_t>(p - rep_->text);
    makeUnique();
    std::memmove(rep_->text, rep_->text + skip, std::strlen(rep_->text + skip) + 1);
}

void String::trimRight() {
    uint32_t n = length();
    uint32_t end = n;
    while (end > 0 && std::isspace(static_cast<unsigned char>(rep_->text[end - 1]))) --end;
    if (end == n) return;
    makeUnique();
    rep_->text[end] = '\0';
}

void String::trimRight(char ch) {
    uint32_t n = length();
    uint32_t end = n;
    while (end > 0 && rep_->text[end - 1] == ch) --end;
    if (end == n) return;
    makeUnique();
    rep_->text[end] = '\0';
}

char& String::charAt(uint32_t i) {
    makeUnique();
    if (rep_->capacity <= i + 1) {
        setCapacity(i + 2);
    } else if (i >= length()) {
        rep_->text[i + 1] = '\0';
    }
    return rep_->text[i];
}

int String::format(const char* formatText, ...) {
    va_list args;
    va_start(args, formatText);
    int n = formatV(formatText, args);
    va_end(args);
    return n;
}

int String::formatV(const char* formatText, va_list args) {
    // The arguments may point into this string's own text, so the result is
    // made in a buffer of its own and the old text let go only afterwards.
    bool grown = rep_->capacity < 1024;
    uint32_t size = grown ? 1024 : rep_->capacity;
    char* buffer = static_cast<char*>(allocate(size));
    size_t needed = 0;
    int n = 0;
    for (;;) {
        va_list attempt;
        va_copy(attempt, args);
        bool made = platform::formatText(buffer, size, formatText, attempt, &needed) == platform::statusOk;
        va_end(attempt);
        if (!made) {
            buffer[0] = '\0';
            break;
        }
        if (needed < size) {
            n = static_cast<int>(needed);
            break;
        }
        // Output that does not fit grows the buffer to what it needs (or
        // twice the room, where the system does not say) and is made again.
        std::free(buffer);
        size = static_cast<uint32_t>(needed) + 1;
        buffer = static_cast<char*>(allocate(size));
        grown = true;
    }
    if (grown) {
        // A buffer grown for the formatting keeps only what the text needs.
        uint32_t exact = static_cast<uint32_t>(std::strlen(buffer)) + 1;
        if (exact != size) {
            char* fitted = static_cast<char*>(allocate(exact));
            std::memcpy(fitted, buffer, exact);
            std::free(buffer);
            buffer = fitted;
            size = exact;
        }
    }
    if (rep_->refCount > 1) {
        // Shared, or the program's empty text: leave it to its other holders.
        StringRep* fresh = static_cast<StringRep*>(allocate(sizeof(StringRep)));
        fresh->refCount = 1;
        release();
        rep_ = fresh;
    } else {
        std::free(rep_->text);
    }
    rep_->text = buffer;
    rep_->capacity = size;
    return n;
}

uint32_t String::find(uint32_t start, const char* text, bool exact) const {
    uint32_t n = length();
    if (start > n) return notFound;
    if (exact) {
        const char* hit = std::strstr(rep_->text + start, text);
        return hit == nullptr ? notFound : static_cast<uint32_t>(hit - rep_->text);
    }
    uint32_t m = static_cast<uint32_t>(std::strlen(text));
    if (m > n) return notFound;
    for (uint32_t p = start; p <= n - m; ++p)
        if (compareNoCase(rep_->text + p, text, m) == 0) return p;
    return notFound;
}

uint32_t String::findChar(uint32_t start, char ch, bool exact) const {
    uint32_t n = length();
    int want = exact ? static_cast<unsigned char>(ch) : std::tolower(static_cast<unsigned char>(ch));
    for (uint32_t p = start; p < n; ++p) {
        int c = static_cast<unsigned char>(rep_->text[p]);
        if (!exact) c = std::tolower(c);
        if (c == want) return p;
    }
    return notFound;
}

uint32_t String::findLast(uint32_t start, const char* text, bool exact) const {
    uint32_t n = length();
    uint32_t m = static_cast<uint32_t>(std::strlen(text));
    if (start > n) start = n;
    for (uint32_t p = start + 1; p-- > 0;) {
        if (p + m > n) continue;  // fewer than m characters remain there
        bool same = exact ? std::strncmp(rep_->text + p, text, m) == 0
                          : compareNoCase(rep_->text + p, text, m) == 0;
        if (same) return p;
    }
    return notFound;
}

uint32_t String::findLastChar(uint32_t start, char ch, bool exact) const {
    uint32_t n = length();
    if (n == 0) return notFound;
    if (start >= n) start = n - 1;
    int want = exact ? static_cast<unsigned char>(ch) : std::tolower(static_cast<unsigned char>(ch));
    for (uint32_t p = start + 1; p-- > 0;) {
        int c = static_cast<unsigned char>(rep_->text[p]);
        if (!exact) c = std::tolower(c);
        if (c == want) return p;
    }
    return notFound;
}

String String::left(uint32_t n) const {
    if (n >= length()) return *this;
    String result(n + 1, 0);
    std::memcpy(result.rep_->text, rep_->text, n);
    result.rep_->text[n] = '\0';
    return result;
}

String String::mid(uint32_t start, uint32_t count) const {
    uint32_t n = length();
    if (start >= n) return String();
    if (count > n - start) count = n - start;
    String result(count + 1, 0);
    std::memcpy(result.rep_->text, rep_->text + start, count);
    result.rep_->text[count] = '\0';
    return result;
}

String String::right(uint32_t n) const {
    uint32_t length = this->length();
    if (n > length) return *this;
    return String(rep_->text + (length - n));
}

String String::operator+(const char* text) const {
    String result(*this);
    result.append(text);
    return result;
}

String String::operator+=(const char* text) {
    append(text);
    return *this;
}

bool String::writeTo(platform::Stream* stream) const {
    return platform::writeStream(stream, rep_->text, length()) == platform::statusOk;
}
