// The one text type: single-byte text with a terminating zero, shared by
// reference count and copied only when a holder is about to change it.
#pragma once

#include <cstdarg>
#include <cstdint>

namespace platform { struct Stream; }

struct StringRep {
    char* text;
    uint32_t refCount;
    uint32_t capacity;  // bytes of text, terminator included
};

class String {
public:
    static constexpr uint32_t notFound = 0xFFFFFFFFu;  // inline: may be bound to a reference

    String();
    String(const char* text);  // NOLINT: texts convert implicitly, as callers expect
    explicit String(uint32_t capacity, int /*tag*/);
    String(const String& other);
    ~String();
    String& operator=(const String& other);
    String& operator=(const char* text);

    const char* text() const { return rep_->text; }
    char* writableText();
    uint32_t length() const;
    uint32_t capacity() const { return rep_->capacity; }
    uint32_t refCount() const { return rep_->refCount; }
    bool isEmpty() const { return rep_->text[0] == '\0'; }
    bool sharesWith(const String& other) const { return rep_ == other.rep_; }

    bool setCapacity(uint32_t n);
    void append(const char* text);
    void prepend(const char* text);
    void replace(uint32_t start, uint32_t count, const char* text);
    void trimLeft();
    void trimRight();
    void trimRight(char ch);
    char& charAt(uint32_t i);
    int format(const char* formatText, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    int formatV(const char* formatText, va_list args);

    uint32_t find(uint32_t start, const char* text, bool exact) const;
    uint32_t findChar(uint32_t start, char ch, bool exact) const;
    uint32_t findLast(uint32_t start, const char* text, bool exact) const;
    uint32_t findLastChar(uint32_t start, char ch, bool exact) const;
    String left(uint32_t n) const;
    String mid(uint32_t start, uint32_t count) const;
    String right(uint32_t n) const;
    String operator+(const char* text) const;
    String operator+=(const char* text);
    bool writeTo(platform::Stream* stream) const;  // false when the write failed

    // The shared empty representation, for tests of the sharing rules.
    static const StringRep* emptyRepresentation();

private:
    void makeUnique();
    void release();
    StringRep* rep_;
};

// Comparisons without regard to case, as Windows compares names (in any script).
int compareNoCase(const char* a, const char* b);
int compareNoCase(const char* a, const char* b, uint32_t n);
