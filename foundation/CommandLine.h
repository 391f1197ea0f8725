// The arguments of a command line tail, read the way the launchers that start
// our programs write them: PowerShell and deployment tools quote an argument
// holding a blank as a whole ("/D=C:\a b"), some quote only a switch's value
// (/D="C:\a b"), and others, winget among them, put a path with blanks after
// the switch as it is (/LOG=C:\a b\x.log /D=C:\c d).
#pragma once

#include "foundation/String.h"

struct CommandArgument {
    enum Kind { end, option, plain, malformed } kind = end;
    String name;            // an option's name after the slash, up to "=", as written
    bool hasValue = false;  // "=" followed the name
    String value;           // an option's value, or the plain argument, without its quotes
};

// Reads the argument that p points at (blanks before it skipped) and moves p
// past it. An option is a slash, its name and optionally "=" and a value. A
// value written as it is ends at the end of the line or at the blanks before
// the next argument that starts with a slash or a quote: neither can be part
// of a Windows path, so a path's own blanks stay in it. A quote that is not
// closed, or text glued to a closing quote, is malformed. A plain argument
// ends at its first blank unless it is quoted.
CommandArgument nextArgument(const char*& p);

// Whether the argument is the option of that name, in any letter case.
bool isOption(const CommandArgument& argument, const char* name);
