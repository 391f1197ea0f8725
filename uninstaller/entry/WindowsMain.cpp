// TessalyUninstaller: started as
//   TessalyUninstaller.exe [/S] [/LOG[=<file>]] "<install log>"   or  /?
#include "platform/System.h"
#include "uninstaller/UninstallProgram.h"

PROGRAM_ENTRY {
    platform::startProgram();
    // A line that cannot be read as text reaches the uninstaller as no line
    // at all, which it refuses like any other line it cannot use.
    const char* line = nullptr;
    platform::commandLineTail(&line);
    platform::exitProgram(runUninstaller(line));
}
