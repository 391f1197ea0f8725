// The planted-DLL scenario's yardstick: a GUI program that imports what every
// one does (kernel32, user32) and nothing else, started from the folder with
// the planted DLLs. Whatever planted DLL runs in it is loaded by the system
// before any code of the program runs; on Windows the KnownDLLs rule keeps
// user32's own imports in the system folder, under Wine it shows the
// scenario's DLLs do get loaded from there.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return GetSystemMetrics(SM_CXSCREEN) >= 0 ? 0 : 1; }
