// The dialogs a driven program shows, found and operated from outside its process.
#pragma once

#include <windows.h>

enum DialogKind { DialogNone, DialogMessageBox, DialogBrowser, DialogOther };

// Window texts as UTF-8: up to kTextChars UTF-16 units, each of which takes at most 3 bytes.
const size_t kTextChars = 2048;
const size_t kTextBytes = 3 * kTextChars;

struct Dialog {
    DialogKind kind;
    HWND window;
};

// The first visible dialog-class top-level window of the process, if any.
Dialog findDialog(DWORD processId);

// Window text through WM_GETTEXT, which the system carries across processes, as UTF-8.
bool readWindowText(HWND window, char* text, size_t size);

// The message text of a message box: its static text control.
bool readMessageText(HWND box, char* text, size_t size);

// Whether the box offers Yes and No (a question) and which button is its default (0 if none).
bool hasButton(HWND box, int id);
int defaultButton(HWND box);

// Whether the folder browser shows `title` as its title label.
bool browserHasTitle(HWND browser, const char* title);

// Presses a button as a click would; true once the dialog has gone.
bool pressButton(HWND dialog, int id, DWORD timeoutMs);

// Selects `path` in the folder browser of `process` and confirms that the browser's tree took
// it: the path (UTF-8) is written into that process as UTF-16, because the browser reads
// BFFM_SETSELECTIONW's argument in its own address space.
bool selectInBrowser(HANDLE process, HWND browser, const char* path, char* error, size_t size);
