#include "LogArgument.h"

bool logArgument(const char* commandLine, char* out, size_t outSize) {
    if (commandLine == nullptr || outSize == 0) return false;
    const char* p = commandLine;
    while (*p == ' ' || *p == '\t') ++p;
    // A quoted path may hold blanks; an unquoted one ends at the first blank.
    bool quoted = *p == '"';
    if (quoted) ++p;
    size_t n = 0;
    for (; *p != '\0'; ++p) {
        if (quoted ? *p == '"' : (*p == ' ' || *p == '\t')) break;
        if (n + 1 >= outSize) return false;
        out[n++] = *p;
    }
    out[n] = '\0';
    return n > 0;
}
