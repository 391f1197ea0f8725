// VantorelSetup.exe: started as  VantorelSetup.exe [/S [/D=<directory>]].
#include "platform/platform.h"
#include "setup/SetupProgram.h"

int main() {
    platform::startProgram();
    return runSetupProgram(platform::commandLineTail());
}
