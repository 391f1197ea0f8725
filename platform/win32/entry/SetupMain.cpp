#include <windows.h>

#include "setup/SetupProgram.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return runSetupProgram(); }
