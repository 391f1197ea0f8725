// The host setup on a machine whose shell has no allocator to give: the folder
// choice cannot start, so after the first question the run must show
// "Unable to get IMalloc interface!" and end, having written nothing.
#include "platform/host/HostControl.h"
#include "setup/SetupProgram.h"

int main() {
    platform::host::ensureSandbox();
    platform::host::setShellAllocatorAvailable(false);
    return runSetupProgram();
}
