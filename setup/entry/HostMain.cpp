// The host setup: the same dialogue in the terminal, over the sandbox.
#include "platform/System.h"
#include "setup/SetupProgram.h"

#ifdef VANTOREL_EMBEDDED_INSTALL_SET
#include "setup/entry/EmbeddedInstallSet.h"
#endif

int main() {
    platform::startProgram();
#ifdef VANTOREL_EMBEDDED_INSTALL_SET
    installEmbeddedInstallSet();
#endif
    const char* line = nullptr;
    platform::commandLineTail(&line);
    return runSetupProgram(line);
}
