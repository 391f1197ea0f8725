// The host setup: the same dialogue in the terminal, over the sandbox.
#include "platform/host/HostControl.h"
#include "setup/SetupProgram.h"

int main() {
    platform::host::ensureSandbox();
    return runSetupProgram();
}
