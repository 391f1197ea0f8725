// VantorelSetup.exe: started as  VantorelSetup.exe [/S [/D=<directory>]].
#include "platform/System.h"
#include "setup/SetupProgram.h"

PROGRAM_ENTRY {
    platform::startProgram();
    // A line that cannot be read as text reaches the setup as no line at all,
    // which it refuses like any other line it cannot use.
    const char* line = nullptr;
    platform::commandLineTail(&line);
    platform::exitProgram(runSetupProgram(line));
}
