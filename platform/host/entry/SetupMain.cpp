// The host setup: the same dialogue in the terminal, over the sandbox.
#include "platform/host/HostControl.h"
#include "setup/SetupProgram.h"

#ifdef VANTOREL_EMBEDDED_INSTALL_SET
#include "platform/host/entry/EmbeddedInstallSet.h"
#endif

int main() {
    platform::host::ensureSandbox();
#ifdef VANTOREL_EMBEDDED_INSTALL_SET
    platform::host::installEmbeddedInstallSet();
#endif
    return runSetupProgram();
}
