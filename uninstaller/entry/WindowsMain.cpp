// TessalyUninstaller: started as  TessalyUninstaller.exe [/S] "<install log>".
#include "platform/System.h"
#include "uninstaller/LogArgument.h"
#include "uninstaller/UninstallProgram.h"

int main() {
    platform::startProgram();
    // A log path of MAX_PATH UTF-16 units, each at most three bytes of UTF-8.
    char logPath[3 * 260 + 1];
    bool silent = false;
    const char* line = nullptr;
    platform::commandLineTail(&line);
    bool given = uninstallArguments(line, &silent, logPath, sizeof logPath);
    return runUninstallProgram(given ? logPath : nullptr, silent);
}
