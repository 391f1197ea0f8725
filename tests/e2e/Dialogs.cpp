#include "Dialogs.h"

#include <shlobj.h>
#include <stdio.h>
#include <string.h>

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

bool hasClass(HWND window, const char* name) {
    char cls[64];
    return GetClassNameA(window, cls, sizeof cls) > 0 && lstrcmpiA(cls, name) == 0;
}

BOOL CALLBACK matchTopLevel(HWND window, LPARAM data) {
    Search* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || !hasClass(window, "#32770"))
        return TRUE;
    search->found = window;
    return FALSE;
}

struct ChildText {
    const char* wanted;  // null: the first non-icon static with text
    char* text;
    size_t size;
    bool found;
};

BOOL CALLBACK matchStatic(HWND child, LPARAM data) {
    ChildText* search = reinterpret_cast<ChildText*>(data);
    if (!hasClass(child, "Static")) return TRUE;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return TRUE;
    char text[1024];
    if (!readWindowText(child, text, sizeof text)) return TRUE;
    if (search->wanted != nullptr ? strcmp(text, search->wanted) == 0 : text[0] != 0) {
        if (search->text != nullptr) lstrcpynA(search->text, text, static_cast<int>(search->size));
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

Dialog findDialog(DWORD processId) {
    Search search = {processId, nullptr};
    EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
    Dialog dialog = {DialogNone, search.found};
    if (search.found == nullptr) return dialog;
    if (FindWindowExA(search.found, nullptr, "SysTreeView32", nullptr) != nullptr)
        dialog.kind = DialogBrowser;
    else if (hasButton(search.found, IDOK) || hasButton(search.found, IDYES))
        dialog.kind = DialogMessageBox;
    else
        dialog.kind = DialogOther;
    return dialog;
}

bool readWindowText(HWND window, char* text, size_t size) {
    text[0] = 0;
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &copied))
        return false;
    text[size - 1] = 0;
    return true;
}

bool readMessageText(HWND box, char* text, size_t size) {
    // Message boxes give their text control the id 0xFFFF; look wider if an implementation differs.
    HWND control = GetDlgItem(box, 0xFFFF);
    if (control != nullptr && hasClass(control, "Static")) return readWindowText(control, text, size);
    ChildText search = {nullptr, text, size, false};
    EnumChildWindows(box, matchStatic, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool hasButton(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    return button != nullptr && IsWindowVisible(button);
}

int defaultButton(HWND box) {
    // The default button is the one drawn as default; not every message box implementation
    // keeps DM_GETDEFID in step with it, so the style decides and DM_GETDEFID is the fallback.
    static const int ids[] = {IDYES, IDNO, IDOK, IDCANCEL};
    int styled = 0, count = 0;
    for (int id : ids) {
        HWND button = GetDlgItem(box, id);
        if (button == nullptr || !IsWindowVisible(button)) continue;
        if ((GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            styled = id;
            ++count;
        }
    }
    if (count == 1) return styled;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(box, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) return 0;
    return HIWORD(result) == DC_HASDEFID ? LOWORD(result) : 0;
}

bool browserHasTitle(HWND browser, const char* title) {
    ChildText search = {title, nullptr, 0, false};
    EnumChildWindows(browser, matchStatic, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

bool waitGone(HWND dialog, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (!IsWindow(dialog) || !IsWindowVisible(dialog)) return true;
        Sleep(50);
    }
    return !IsWindow(dialog) || !IsWindowVisible(dialog);
}

}  // namespace

bool pressButton(HWND dialog, int id, DWORD timeoutMs) {
    HWND button = GetDlgItem(dialog, id);
    if (button == nullptr) return false;
    PostMessageA(button, BM_CLICK, 0, 0);
    if (waitGone(dialog, timeoutMs / 2)) return true;
    // A click is refused while another window holds the mouse; the command it stands for is not.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return waitGone(dialog, timeoutMs / 2);
}

bool selectInBrowser(HANDLE process, HWND browser, const char* path, char* error, size_t size) {
    SIZE_T length = strlen(path) + 1;
    void* remote = VirtualAllocEx(process, nullptr, length, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote == nullptr) {
        snprintf(error, size, "VirtualAllocEx failed with error %lu", GetLastError());
        return false;
    }
    SIZE_T written = 0;
    bool ok = WriteProcessMemory(process, remote, path, length, &written) && written == length;
    if (!ok) {
        snprintf(error, size, "WriteProcessMemory failed with error %lu", GetLastError());
    } else {
        DWORD_PTR result = 0;
        ok = SendMessageTimeoutA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote),
                                 SMTO_ABORTIFHUNG, 10000, &result) != 0;
        if (!ok) snprintf(error, size, "the browser did not take BFFM_SETSELECTIONA");
    }
    // The browser has copied the path by the time SendMessage returns.
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return ok;
}
