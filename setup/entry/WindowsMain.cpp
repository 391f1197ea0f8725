// VantorelSetup.exe: started as  VantorelSetup.exe [/S [/D=<directory>]].
#include "platform/System.h"
#include "setup/SetupProgram.h"

PROGRAM_ENTRY {
    platform::startProgram();
    platform::exitProgram(runSetupProgram(platform::commandLineTail()));
}
