// Libraries the programs load come from the system folder, never from the
// folder a program was started from, where anyone may have put a DLL of the
// same name beside a downloaded setup that then runs it as administrator.
#pragma once

#include <windows.h>

namespace platform {

// At the program's start, before anything loads a library: every later
// LoadLibrary searches the system folder only where the system offers
// SetDefaultDllDirectories, and the libraries that the system's own DLLs load
// late by name are loaded here from the system folder by full path wherever
// that search would not keep them there (without SetDefaultDllDirectories;
// Wine's delayed imports).
void restrictLibrarySearch();

// The library of that file name in the system folder, by its full path; null
// when it cannot be loaded. Stays loaded for the life of the program.
HMODULE loadSystemLibrary(const wchar_t* fileName);

}  // namespace platform
