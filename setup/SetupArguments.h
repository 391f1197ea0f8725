// What the setup was asked to do on its command line. Without arguments it
// holds its dialogue; /S installs without any question, into the directory
// that /D= names or else the product's folder under Program Files.
#pragma once

#include "foundation/String.h"

struct SetupArguments {
    bool valid = true;    // false: an unknown switch, or /D= that is not a plain directory
    bool silent = false;  // /S was given (also when the line is invalid)
    String installationDirectory;  // from /D=, without a trailing backslash; empty when absent
};

// Reads the command line tail as WinMain receives it. /S may be given in
// either letter case; /D=<directory> comes last and takes the rest of the line,
// blanks included and quotes not, and is the installation directory itself. It
// must be a plain absolute path (drive, backslashes, no "." or ".." step, no
// name ending in a dot or blank) below a drive root, and only goes with /S.
// A null line (one the system could not hand over as text) is invalid.
SetupArguments parseSetupArguments(const char* commandLine);
