// VantorelSetup.exe: started as  VantorelSetup.exe [/S [/D=<directory>]].
#include "platform/System.h"
#include "setup/SetupProgram.h"

int main() {
    platform::startProgram();
    return runSetupProgram(platform::commandLineTail());
}
