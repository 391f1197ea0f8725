// The exit codes of the setup and the uninstaller: those of Windows
// Installer, which deployment tools (winget, Intune, Configuration Manager)
// know by number, so that each means one thing to them; they retry 1618 by
// themselves.
#pragma once

namespace exitcode {
enum : int {
    success = 0,
    userCancelled = 1602,       // ERROR_INSTALL_USEREXIT
    failed = 1603,              // ERROR_INSTALL_FAILURE
    anotherRunning = 1618,      // ERROR_INSTALL_ALREADY_RUNNING
    alreadyInstalled = 1638,    // ERROR_PRODUCT_VERSION
    invalidCommandLine = 1639,  // ERROR_INVALID_COMMAND_LINE
};
}  // namespace exitcode
