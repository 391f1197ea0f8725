#include "LogArgument.h"

#include "foundation/CommandLine.h"

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

UninstallArguments parseUninstallArguments(const char* commandLine) {
    UninstallArguments arguments;
    bool logGiven = false;
    const char* p = commandLine != nullptr ? commandLine : "";
    for (;;) {
        CommandArgument a = nextArgument(p);
        if (a.kind == CommandArgument::end) break;
        if (isOption(a, "S") && !a.hasValue) {
            arguments.silent = true;
        } else if ((isOption(a, "?") || isOption(a, "HELP")) && !a.hasValue) {
            arguments.help = true;
        } else if (isOption(a, "LOG") && !arguments.log && !(a.hasValue && a.value.isEmpty())) {
            arguments.log = true;
            arguments.logFile = a.value;
            arguments.logFile.trimRight();
        } else if (a.kind == CommandArgument::plain && !logGiven && !a.value.isEmpty()) {
            logGiven = true;
            arguments.installLog = a.value;
        } else {
            arguments.valid = false;
        }
    }
    if (arguments.help && (arguments.silent || arguments.log || logGiven)) arguments.valid = false;
    return arguments;
}
