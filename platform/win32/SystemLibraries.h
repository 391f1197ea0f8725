// Libraries the programs load come from the system folder, never from the
// folder a program was started from, where anyone may have put a DLL of the
// same name beside a downloaded setup that then runs it as administrator.
#pragma once

#include <windows.h>

namespace platform {

// First thing in WinMain: every later LoadLibrary, the system's own delayed
// loads included, searches the system folder only. Systems without
// SetDefaultDllDirectories go on without it.
void restrictLibrarySearch();

// The library of that file name in the system folder, by its full path; null
// when it cannot be loaded. Stays loaded for the life of the program.
HMODULE loadSystemLibrary(const wchar_t* fileName);

}  // namespace platform
