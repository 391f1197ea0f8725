// The planted-DLL scenario's yardstick: a GUI program that imports the same
// system libraries as the setup and the uninstaller (the scenario compares the
// import tables) and runs nothing of theirs, started from the folder with the
// planted DLLs. Whatever planted DLL runs in it is loaded by the system before
// any code of the program runs: on Windows the KnownDLLs rule keeps those
// libraries' own imports in the system folder; Wine has no such rule, and its
// shell32 and user32 take shcore and version from the program's folder.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

// Referenced, never called: the imports are the point, not what they do.
static const void* const importedFrom[] = {
    reinterpret_cast<const void*>(&RegCloseKey),    // advapi32
    reinterpret_cast<const void*>(&CoTaskMemFree),  // ole32
    reinterpret_cast<const void*>(&ILFree),         // shell32
};

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const void* const* volatile imports = importedFrom;
    return imports[0] != nullptr && GetSystemMetrics(SM_CXSCREEN) >= 0 ? 0 : 1;
}
