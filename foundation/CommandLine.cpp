#include "foundation/CommandLine.h"

#include <cstring>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The quote that closes a quoted text starting at p; null when there is none,
// or when something other than a blank follows it.
const char* closingQuote(const char* p) {
    const char* close = std::strchr(p, '"');
    return close != nullptr && (close[1] == '\0' || isBlank(close[1])) ? close : nullptr;
}

// The end of a value written without quotes: see nextArgument.
const char* rawValueEnd(const char* p) {
    for (; *p != '\0'; ++p) {
        if (!isBlank(*p)) continue;
        const char* next = p;
        while (isBlank(*next)) ++next;
        if (*next == '\0' || *next == '/' || *next == '"') break;
    }
    return p;
}

}  // namespace

CommandArgument nextArgument(const char*& p) {
    CommandArgument argument;
    while (isBlank(*p)) ++p;
    if (*p == '\0') return argument;
    // The argument's text runs from start to end, without the quotes of one
    // quoted as a whole; a quoted value keeps its quotes until it is split off.
    bool whole = *p == '"';
    const char* start = p + (whole ? 1 : 0);
    const char* end = start;
    if (whole) {
        end = closingQuote(start);
    } else if (*p == '/') {
        while (*end != '\0' && *end != '=' && !isBlank(*end)) ++end;
        if (end[0] == '=' && end[1] == '"') {
            end = closingQuote(end + 2);
            if (end != nullptr) ++end;
        } else if (*end == '=') {
            // A blank right after the "=" ends an empty value.
            end = isBlank(end[1]) ? end + 1 : rawValueEnd(end + 1);
        }
    } else {
        while (*end != '\0' && !isBlank(*end)) ++end;
    }
    if (end == nullptr) {
        argument.kind = CommandArgument::malformed;
        p += std::strlen(p);
        return argument;
    }
    p = end + (whole ? 1 : 0);
    String text = String(start).left(static_cast<uint32_t>(end - start));
    if (text.text()[0] != '/') {
        argument.kind = CommandArgument::plain;
        argument.value = text;
    } else {
        argument.kind = CommandArgument::option;
        uint32_t equals = text.findChar(0, '=', true);
        argument.name = text.mid(1, equals == String::notFound ? text.length() : equals - 1);
        if (equals != String::notFound) {
            argument.hasValue = true;
            argument.value = text.mid(equals + 1, text.length());
            if (!whole && argument.value.text()[0] == '"')
                argument.value = argument.value.mid(1, argument.value.length() - 2);
        }
    }
    // A quote left inside, glued to a name or within a value written without
    // quotes, belongs to no switch and no Windows path.
    if (argument.name.findChar(0, '"', true) != String::notFound ||
        argument.value.findChar(0, '"', true) != String::notFound)
        argument.kind = CommandArgument::malformed;
    return argument;
}

bool isOption(const CommandArgument& argument, const char* name) {
    return argument.kind == CommandArgument::option && compareNoCase(argument.name.text(), name) == 0;
}
