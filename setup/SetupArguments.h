// What the setup was asked to do on its command line. Without arguments it
// holds its dialogue; /S installs without any question, into the directory
// that /D= names or else the product's folder under Program Files; /LOG
// records the run; /? and /HELP show the switches.
#pragma once

#include "foundation/String.h"

struct SetupArguments {
    bool valid = true;    // false: an unknown switch, or /D= that is not a plain directory
    bool silent = false;  // /S was given (also when the line is invalid)
    bool help = false;    // /? or /HELP, alone on the line
    bool log = false;     // /LOG or /LOG=<file>
    String logFile;       // from /LOG=; empty with /LOG alone (a dated file in %TEMP%)
    String installationDirectory;  // from /D=, without a trailing backslash; empty when absent
};

// Reads the command line tail as WinMain receives it, in the forms of
// foundation/CommandLine.h; switch letters in either case. /D=<directory> is
// the installation directory itself: a plain absolute path (drive,
// backslashes, no "." or ".." step, no name ending in a dot or blank) below a
// drive root, and only with /S. Each switch is given once. A null line (one
// the system could not hand over as text) is invalid.
SetupArguments parseSetupArguments(const char* commandLine);
