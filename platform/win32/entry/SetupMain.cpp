#include <windows.h>

#include "platform/win32/SystemLibraries.h"
#include "setup/SetupProgram.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    platform::restrictLibrarySearch();
    return runSetupProgram(commandLine);
}
