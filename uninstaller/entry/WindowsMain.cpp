// TessalyUninstaller: started as  TessalyUninstaller.exe [/S] "<install log>".
#include "platform/System.h"
#include "uninstaller/LogArgument.h"
#include "uninstaller/UninstallProgram.h"

int main() {
    platform::startProgram();
    char logPath[260 + 1];
    bool silent = false;
    bool given = uninstallArguments(platform::commandLineTail(), &silent, logPath, sizeof logPath);
    return runUninstallProgram(given ? logPath : nullptr, silent);
}
