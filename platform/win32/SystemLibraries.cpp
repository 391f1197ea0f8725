#include "platform/win32/SystemLibraries.h"

namespace platform {

void restrictLibrarySearch() {
    typedef BOOL(WINAPI * SetDirectories)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    SetDirectories set = reinterpret_cast<SetDirectories>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (set != nullptr) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The system's own libraries load these by name when a box or the folder
    // browser first appears (themes, the window manager, shell properties).
    // Where the search cannot be restricted, or a loader resolves those
    // delayed imports without the restriction, the copies loaded here from
    // the system folder are the ones found by name.
    const char* const loadedForUs[] = {"uxtheme.dll", "dwmapi.dll", "propsys.dll",
                                       "userenv.dll", "profapi.dll", "cryptbase.dll"};
    for (const char* name : loadedForUs) loadSystemLibrary(name);
}

HMODULE loadSystemLibrary(const char* fileName) {
    char path[MAX_PATH];
    UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n + 1 + lstrlenA(fileName) >= MAX_PATH) return nullptr;
    path[n] = '\\';
    lstrcpyA(path + n + 1, fileName);
    return LoadLibraryA(path);
}

}  // namespace platform
