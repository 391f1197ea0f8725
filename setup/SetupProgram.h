// The setup program's dialogue, from its first question to its last box.
#pragma once

#include "foundation/String.h"

// Runs one setup dialogue; the program's entry returns what this returns (0).
int runSetupProgram();

// The setup run proper, once the user has confirmed the three locations.
void runSetup(const String& installationDirectory, const String& shortcutDirectory,
              const String& desktopDirectory);
