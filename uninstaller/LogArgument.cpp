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

bool uninstallArguments(const char* commandLine, bool* silent, char* out, size_t outSize) {
    *silent = false;
    if (commandLine == nullptr) return false;
    const char* p = commandLine;
    while (*p == ' ' || *p == '\t') ++p;
    // A log path never starts with a slash, so the switch cannot be mistaken for one.
    if (p[0] == '/' && (p[1] == 'S' || p[1] == 's') &&
        (p[2] == '\0' || p[2] == ' ' || p[2] == '\t')) {
        *silent = true;
        p += 2;
    }
    return logArgument(p, out, outSize);
}
