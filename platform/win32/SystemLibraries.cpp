#include "platform/win32/SystemLibraries.h"

namespace platform {

void restrictLibrarySearch() {
    typedef BOOL(WINAPI * SetDirectories)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    SetDirectories set = reinterpret_cast<SetDirectories>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    bool restricted = set != nullptr && set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The system's own libraries load these by name, late: comctl32, shell32,
    // ole32 and the folder browser, the themes and the crypto providers. A
    // library already loaded is the one found by name, so they are loaded here
    // from the system folder (LoadLibrary adds the ".dll") wherever the search
    // itself would not keep them there:
    // - all of them where SetDefaultDllDirectories is missing (Vista, 7 without
    //   KB2533623). Libraries only later systems have (shcore, windows.storage,
    //   kernel.appcore, textshaping) are protected wherever they exist, and
    //   setupapi and clbcatq are KnownDLLs since 7.
    // - the first three where it works: Windows then searches the system
    //   folder only, but Wine resolves a DLL's delay-loaded imports without the
    //   default directories, and its comctl32 delay-loads uxtheme and winmm,
    //   its uxtheme msimg32 (AlphaBlend, as the first box's themed buttons are
    //   painted). The others would only cost start-up time there.
    static const wchar_t loadedLate[] =
        L"uxtheme\0msimg32\0winmm\0"
        L"version\0dwmapi\0propsys\0cryptbase\0profapi\0userenv\0ntmarta\0sspicli\0secur32\0"
        L"netapi32\0mpr\0wtsapi32\0dbghelp\0oleacc\0riched20\0apphelp\0bcrypt\0cryptsp\0"
        L"rsaenh\0powrprof\0";
    int index = 0;
    for (const wchar_t* name = loadedLate; *name != L'\0' && (!restricted || index < 3);
         name += lstrlenW(name) + 1, ++index)
        loadSystemLibrary(name);
}

HMODULE loadSystemLibrary(const wchar_t* fileName) {
    wchar_t path[MAX_PATH];
    UINT n = GetSystemDirectoryW(path, MAX_PATH);
    if (n == 0 || n + 1 + lstrlenW(fileName) >= MAX_PATH) return nullptr;
    path[n] = L'\\';
    lstrcpyW(path + n + 1, fileName);
    // Its own imports from its own folder too: without SetDefaultDllDirectories
    // they would be searched for in ours first.
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace platform
