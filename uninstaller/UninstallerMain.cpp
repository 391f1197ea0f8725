// TessalyUninstaller: started as  TessalyUninstaller.exe "<install log>".
// This release only names the log it would work from.
#include <windows.h>

#include "LogArgument.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    const char* caption = "Tessaly Uninstaller";
    char logPath[MAX_PATH + 1];
    if (!logArgument(commandLine, logPath, sizeof logPath)) {
        MessageBoxA(nullptr,
                    "This is the Tessaly Uninstaller.\n\n"
                    "Start it with the path of an install log as its one argument.",
                    caption, MB_OK | MB_ICONHAND);
        return 1;
    }
    char text[MAX_PATH + 128];
    wsprintfA(text, "This is the Tessaly Uninstaller.\n\nInstall log:\n%s", logPath);
    MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONINFORMATION);
    return 0;
}
