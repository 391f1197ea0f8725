// The setup program's dialogue, from its first question to its last box.
#pragma once

// Runs one setup dialogue; the program's entry returns what this returns (0).
int runSetupProgram();
