// The host uninstaller: the same dialogue in the terminal, over the sandbox.
#include "platform/host/HostControl.h"
#include "uninstaller/UninstallProgram.h"

int main(int argc, char** argv) {
    platform::host::ensureSandbox();
    return runUninstallProgram(argc > 1 ? argv[1] : nullptr);
}
