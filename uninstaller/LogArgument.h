// The uninstaller's command line: the install log path it is started with,
// quoted by the Uninstall entry and the uninstall shortcut, and its switches.
#pragma once

#include <cstddef>

#include "foundation/String.h"

// Copies the first argument of a command line tail (as WinMain receives it)
// into out, without the quotes around it. False when there is no argument or
// it does not fit.
bool logArgument(const char* commandLine, char* out, size_t outSize);

struct UninstallArguments {
    bool valid = true;    // false: an unknown switch, or more than one install log
    bool silent = false;  // /S: remove without the question and the closing box
    bool help = false;    // /? or /HELP, alone on the line
    bool log = false;     // /LOG or /LOG=<file>: record the run
    String logFile;       // from /LOG=; empty with /LOG alone (a dated file in %TEMP%)
    String installLog;    // the install log's path; empty when none was given
};

// The whole command line tail, in the forms of foundation/CommandLine.h: the
// switches (letters in either case) and the install log, in any order. After
// a /LOG= value written without quotes the install log must be quoted, as the
// registered commands quote it.
UninstallArguments parseUninstallArguments(const char* commandLine);
