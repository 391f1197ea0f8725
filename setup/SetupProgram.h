// The setup program: its dialogue from the first question to the last box, or
// the same installation without any box when started with /S.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

// Exit codes of a silent installation; the dialogue always ends with 0.
enum : int { exitInstalled = 0, exitRefused = 1, exitFailed = 2 };

// Runs one setup from the command line tail as WinMain receives it; the
// program's entry returns what this returns.
int runSetupProgram(const char* commandLine = "");

// Installs into the three locations, undoes what was made when that fails,
// and records the installation. Shows nothing: the dialogue shows the
// outcome, a silent installation turns it into its exit code.
ErrorHandle installProduct(const String& installationDirectory, const String& shortcutDirectory,
                           const String& desktopDirectory);

// The dialogue's setup run, once the user has confirmed the three locations:
// the installation, then its failure or the offer of the documentation.
void runSetup(const String& installationDirectory, const String& shortcutDirectory,
              const String& desktopDirectory);
