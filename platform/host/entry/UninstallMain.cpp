// The host uninstaller: the same dialogue in the terminal, over the sandbox.
#include <cstring>

#include "platform/host/HostControl.h"
#include "uninstaller/UninstallProgram.h"

int main(int argc, char** argv) {
    platform::host::ensureSandbox();
    int first = 1;
    bool silent = argc > 1 && (std::strcmp(argv[1], "/S") == 0 || std::strcmp(argv[1], "/s") == 0);
    if (silent) ++first;
    return runUninstallProgram(argc > first ? argv[first] : nullptr, silent);
}
