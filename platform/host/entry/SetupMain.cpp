// The host setup: the same dialogue in the terminal, over the sandbox.
#include <string>

#include "platform/host/HostControl.h"
#include "setup/SetupProgram.h"

#ifdef VANTOREL_EMBEDDED_INSTALL_SET
#include "platform/host/entry/EmbeddedInstallSet.h"
#endif

int main(int argc, char** argv) {
    platform::host::ensureSandbox();
#ifdef VANTOREL_EMBEDDED_INSTALL_SET
    platform::host::installEmbeddedInstallSet();
#endif
    // The arguments as one line, the way Windows hands them to WinMain.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);
    return runSetupProgram(commandLine.c_str());
}
