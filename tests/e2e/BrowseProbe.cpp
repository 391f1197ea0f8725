// vantorel-browse-probe: shows the shell's folder browser twice, rooted and titled as the
// setup shows it, and then one box naming what was chosen. It lets the end-to-end harness
// prove that it can drive the browser without depending on the setup's own flow.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <stdio.h>

namespace {

const char* const caption = "Browse probe";

// Returns false when the user cancelled; `path` is empty when the choice has no path.
bool browse(IMalloc* malloc, int rootFolder, const char* title, char* path) {
    LPITEMIDLIST root = nullptr;
    SHGetSpecialFolderLocation(nullptr, rootFolder, &root);
    char displayName[MAX_PATH];
    BROWSEINFOA info;
    ZeroMemory(&info, sizeof info);
    info.pidlRoot = root;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    path[0] = 0;
    if (chosen != nullptr && !SHGetPathFromIDListA(chosen, path)) path[0] = 0;
    if (chosen != nullptr) malloc->Free(chosen);
    if (root != nullptr) malloc->Free(root);
    return chosen != nullptr;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CoInitialize(nullptr);
    IMalloc* malloc = nullptr;
    if (FAILED(SHGetMalloc(&malloc)) || malloc == nullptr) {
        MessageBoxA(nullptr, "No shell allocator.", caption, MB_OK | MB_ICONSTOP);
        return 1;
    }
    char first[MAX_PATH], second[MAX_PATH], text[2 * MAX_PATH + 64];
    if (!browse(malloc, CSIDL_DRIVES, "Select parent for Vantorel installation directory", first)) {
        MessageBoxA(nullptr, "Cancelled at the first browser.", caption, MB_OK);
    } else if (!browse(malloc, CSIDL_STARTMENU, "Select location for Vantorel shortcut group",
                       second)) {
        snprintf(text, sizeof text, "First: %s\nCancelled at the second browser.", first);
        MessageBoxA(nullptr, text, caption, MB_OK);
    } else {
        snprintf(text, sizeof text, "First: %s\nSecond: %s", first, second);
        MessageBoxA(nullptr, text, caption, MB_OK);
    }
    malloc->Release();
    return 0;
}
