// TessalyUninstaller: started as  TessalyUninstaller.exe [/S] "<install log>".
#include <windows.h>

#include "platform/win32/SystemLibraries.h"
#include "uninstaller/LogArgument.h"
#include "uninstaller/UninstallProgram.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    platform::restrictLibrarySearch();
    char logPath[MAX_PATH + 1];
    bool silent = false;
    bool given = uninstallArguments(commandLine, &silent, logPath, sizeof logPath);
    return runUninstallProgram(given ? logPath : nullptr, silent);
}
