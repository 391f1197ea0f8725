// The install log path the uninstaller is started with: its one argument,
// quoted by the Uninstall entry and the uninstall shortcut.
#pragma once

#include <cstddef>

// Copies the first argument of a command line tail (as WinMain receives it)
// into out, without the quotes around it. False when there is no argument or
// it does not fit.
bool logArgument(const char* commandLine, char* out, size_t outSize);

// The uninstaller's whole command line tail: an optional /S first (in either
// letter case: remove without the question and without the closing box), then
// the log argument as above.
bool uninstallArguments(const char* commandLine, bool* silent, char* out, size_t outSize);
