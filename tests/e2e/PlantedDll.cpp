// A DLL that someone planted beside a downloaded setup, under the name of a
// system library. Loaded into a process, it leaves "<its own path>.ran" behind,
// which the end-to-end stage looks for.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char marker[MAX_PATH + 8];
    DWORD n = GetModuleFileNameA(self, marker, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return TRUE;
    lstrcpyA(marker + n, ".ran");
    HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}
