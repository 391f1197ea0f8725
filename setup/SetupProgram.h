// The setup program: its dialogue from the first question to the last box, or
// the same installation without any box when started with /S.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

// How a run of the setup ends. Each has its exit code (exitCodeOf), one of
// Windows Installer's, in the dialogue and with /S alike.
enum class SetupOutcome {
    installed,            // 0
    helpShown,            // 0
    cancelled,            // 1602: a question declined or a folder browser closed
    failed,               // 1603: after the undo of what was made
    anotherSetupRunning,  // 1618
    lockUnavailable,      // 1603: the one-setup lock could be neither taken nor found held
    alreadyInstalled,     // 1638: a version is recorded as installed
    invalidCommandLine,   // 1639: also a log that cannot be created
};
int exitCodeOf(SetupOutcome outcome);

// Runs one setup from the command line tail as WinMain receives it; the
// program's entry returns what this returns.
int runSetupProgram(const char* commandLine = "");

// Installs into the three locations, undoes what was made when that fails,
// and records the installation. Shows nothing: the dialogue shows the
// outcome, a silent installation turns it into its exit code.
ErrorHandle installProduct(const String& installationDirectory, const String& shortcutDirectory,
                           const String& desktopDirectory);

// The dialogue's setup run, once the user has confirmed the three locations:
// the installation, then its failure or the offer of the documentation. True
// when the product was installed.
bool runSetup(const String& installationDirectory, const String& shortcutDirectory,
              const String& desktopDirectory);
