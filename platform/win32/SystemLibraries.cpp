#include "platform/win32/SystemLibraries.h"

namespace platform {

void restrictLibrarySearch() {
    typedef BOOL(WINAPI * SetDirectories)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    SetDirectories set = reinterpret_cast<SetDirectories>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (set != nullptr) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The system's own libraries load these by name when a box or the folder
    // browser first appears (themes, the window manager, shell properties).
    // Where the search cannot be restricted, or a loader resolves those
    // delayed imports without the restriction, the copies loaded here from
    // the system folder are the ones found by name.
    const wchar_t* const loadedForUs[] = {L"uxtheme.dll", L"dwmapi.dll", L"propsys.dll",
                                          L"userenv.dll", L"profapi.dll", L"cryptbase.dll"};
    for (const wchar_t* name : loadedForUs) loadSystemLibrary(name);
}

HMODULE loadSystemLibrary(const wchar_t* fileName) {
    wchar_t path[MAX_PATH];
    UINT n = GetSystemDirectoryW(path, MAX_PATH);
    if (n == 0 || n + 1 + lstrlenW(fileName) >= MAX_PATH) return nullptr;
    path[n] = L'\\';
    lstrcpyW(path + n + 1, fileName);
    return LoadLibraryW(path);
}

}  // namespace platform
