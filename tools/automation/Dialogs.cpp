#include "Dialogs.h"

#include <commctrl.h>
#include <shlobj.h>
#include <stdio.h>
#include <string.h>

#include "Utf8.h"

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

bool hasClass(HWND window, const wchar_t* name) {
    wchar_t cls[64];
    return GetClassNameW(window, cls, 64) > 0 && lstrcmpiW(cls, name) == 0;
}

BOOL CALLBACK matchTopLevel(HWND window, LPARAM data) {
    Search* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || !hasClass(window, L"#32770"))
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
    if (!hasClass(child, L"Static")) return TRUE;
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return TRUE;
    char text[kTextBytes];
    if (!readWindowText(child, text, sizeof text)) return TRUE;
    if (search->wanted != nullptr ? strcmp(text, search->wanted) == 0 : text[0] != 0) {
        if (search->text != nullptr) snprintf(search->text, search->size, "%s", text);
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
    if (FindWindowExW(search.found, nullptr, WC_TREEVIEWW, nullptr) != nullptr)
        dialog.kind = DialogBrowser;
    else if (hasButton(search.found, IDOK) || hasButton(search.found, IDYES))
        dialog.kind = DialogMessageBox;
    else
        dialog.kind = DialogOther;
    return dialog;
}

bool readWindowText(HWND window, char* text, size_t size) {
    text[0] = 0;
    wchar_t wide[kTextChars];
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, kTextChars, reinterpret_cast<LPARAM>(wide),
                             SMTO_ABORTIFHUNG, 5000, &copied))
        return false;
    wide[kTextChars - 1] = 0;
    return toUtf8(wide, text, size);
}

bool readMessageText(HWND box, char* text, size_t size) {
    // Message boxes give their text control the id 0xFFFF; look wider if an implementation differs.
    HWND control = GetDlgItem(box, 0xFFFF);
    if (control != nullptr && hasClass(control, L"Static")) return readWindowText(control, text, size);
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
        if ((GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            styled = id;
            ++count;
        }
    }
    if (count == 1) return styled;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(box, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) return 0;
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
    PostMessageW(button, BM_CLICK, 0, 0);
    if (waitGone(dialog, timeoutMs / 2)) return true;
    // A click is refused while another window holds the mouse; the command it stands for is not.
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return waitGone(dialog, timeoutMs / 2);
}

namespace {

// A block of the driven process's memory: the browser and its tree read message arguments in
// their own address space.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, SIZE_T size)
        : process_(process),
          address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteBlock() {
        if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    char* address() const { return static_cast<char*>(address_); }
    bool write(SIZE_T offset, const void* data, SIZE_T size) const {
        SIZE_T done = 0;
        return WriteProcessMemory(process_, address() + offset, data, size, &done) && done == size;
    }
    bool read(SIZE_T offset, void* data, SIZE_T size) const {
        SIZE_T done = 0;
        return ReadProcessMemory(process_, address() + offset, data, size, &done) && done == size;
    }

private:
    HANDLE process_;
    void* address_;
};

DWORD_PTR treeItem(HWND tree, WPARAM relation, DWORD_PTR from) {
    DWORD_PTR item = 0;
    if (!SendMessageTimeoutW(tree, TVM_GETNEXTITEM, relation, static_cast<LPARAM>(from),
                             SMTO_ABORTIFHUNG, 5000, &item))
        return 0;
    return item;
}

bool itemLabel(HANDLE process, HWND tree, DWORD_PTR item, char* label, size_t size) {
    label[0] = 0;
    wchar_t text[MAX_PATH];
    RemoteBlock block(process, sizeof(TVITEMW) + sizeof text);
    if (block.address() == nullptr) return false;
    TVITEMW query;
    ZeroMemory(&query, sizeof query);
    query.mask = TVIF_TEXT;
    query.hItem = reinterpret_cast<HTREEITEM>(item);
    query.pszText = reinterpret_cast<wchar_t*>(block.address() + sizeof(TVITEMW));
    query.cchTextMax = MAX_PATH;
    DWORD_PTR ok = 0;
    if (!block.write(0, &query, sizeof query) ||
        !SendMessageTimeoutW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.address()),
                             SMTO_ABORTIFHUNG, 5000, &ok) ||
        !ok || !block.read(sizeof(TVITEMW), text, sizeof text))
        return false;
    text[MAX_PATH - 1] = 0;
    return toUtf8(text, label, size);
}

// The label of the tree item the browser has selected; empty when there is none.
bool selectedLabel(HANDLE process, HWND browser, char* label, size_t size) {
    label[0] = 0;
    HWND tree = FindWindowExW(browser, nullptr, WC_TREEVIEWW, nullptr);
    if (tree == nullptr) return false;
    DWORD_PTR item = treeItem(tree, TVGN_CARET, 0);
    return item == 0 || itemLabel(process, tree, item, label, size);
}

}  // namespace

bool selectInBrowser(HANDLE process, HWND browser, const char* path, char* error, size_t size) {
    wchar_t wide[MAX_PATH];
    if (!toWide(path, wide, MAX_PATH)) {
        snprintf(error, size, "the path %s is not valid UTF-8 or too long", path);
        return false;
    }
    SIZE_T length = (wcslen(wide) + 1) * sizeof(wchar_t);
    RemoteBlock block(process, length);
    if (block.address() == nullptr || !block.write(0, wide, length)) {
        snprintf(error, size, "cannot pass the path to the browser (error %lu)", GetLastError());
        return false;
    }
    // BFFM_SETSELECTIONW is answered through the browser's dialog procedure, whose result never
    // reaches the sender, and a browser that did not take the selection still accepts OK and
    // returns whatever it had (Wine: the desktop). So the tree is asked: its selected item must
    // carry the folder's name before OK is pressed. The wide message reaches a browser opened
    // through either SHBrowseForFolderA or W, and carries names outside the code page.
    const char* name = strrchr(path, '\\');
    name = name != nullptr ? name + 1 : path;
    char label[kTextBytes] = "";
    for (int attempt = 1; attempt <= 8; ++attempt) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(browser, BFFM_SETSELECTIONW, TRUE,
                                 reinterpret_cast<LPARAM>(block.address()), SMTO_ABORTIFHUNG,
                                 10000, &result)) {
            snprintf(error, size, "the browser did not answer BFFM_SETSELECTIONW");
            return false;
        }
        if (selectedLabel(process, browser, label, sizeof label) && sameNameIgnoringCase(label, name))
            return true;
        // A tree still being filled can miss the first request; a refused one fails every time.
        Sleep(250);
    }
    snprintf(error, size, "the browser did not select %s (its selected item is \"%s\")", path, label);
    return false;
}
