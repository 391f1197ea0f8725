// TessalyUninstaller: started as  TessalyUninstaller.exe "<install log>".
#include <windows.h>

#include "uninstaller/LogArgument.h"
#include "uninstaller/UninstallProgram.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char logPath[MAX_PATH + 1];
    return runUninstallProgram(logArgument(commandLine, logPath, sizeof logPath) ? logPath
                                                                                  : nullptr);
}
