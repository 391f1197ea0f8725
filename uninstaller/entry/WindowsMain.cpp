// TessalyUninstaller: started as
//   TessalyUninstaller.exe [/S] [/LOG[=<file>]] "<install log>"   or  /?
#include "platform/System.h"
#include "uninstaller/UninstallProgram.h"

int main() {
    platform::startProgram();
    return runUninstaller(platform::commandLineTail());
}
