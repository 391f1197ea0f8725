// The program's start, the last system error and its text, formatted text,
// the one-setup-at-a-time lock, the Windows and temporary directories and
// the local time.
#include <windows.h>
#include <stdio.h>

#include "platform/System.h"
#include "platform/win32/Failure.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Text.h"

namespace platform {

// The linker's list of the static constructors, between a -1 and a 0: nothing
// else runs them, as the programs start without the runtime's start-up code.
extern "C" void (*__CTOR_LIST__[])();

void startProgram() {
    void (**last)() = __CTOR_LIST__ + 1;
    while (*last != nullptr) ++last;
    // Last to first, as the runtime runs them: the linker lists them in reverse.
    while (--last != __CTOR_LIST__) (*last)();
    restrictLibrarySearch();
}

void exitProgram(int code) { ExitProcess(static_cast<UINT>(code)); }

Status commandLineTail(const char** tail) {
    *tail = nullptr;
    // As the runtime hands WinMain its line: past the program's name, where
    // blanks inside quotes belong to the name, and the blanks after it.
    const wchar_t* p = GetCommandLineW();
    bool quoted = false;
    while (*p > L' ' || (*p != 0 && quoted)) {
        if (*p == L'"') quoted = !quoted;
        ++p;
    }
    while (*p != 0 && *p <= L' ') ++p;
    // Kept for the life of the program, as the system keeps its own line.
    static char* line = nullptr;
    size_t bytes = 0;
    if (Status status = utf8Length(p, -1, &bytes)) return status;
    if (line == nullptr) line = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, bytes + 1));
    if (line == nullptr) return failed(ERROR_NOT_ENOUGH_MEMORY);
    if (Status status = toUtf8(p, -1, line, bytes + 1)) return status;
    *tail = line;
    return statusOk;
}

uint32_t lastErrorCode() { return GetLastError(); }

void setLastErrorCode(uint32_t code) { SetLastError(code); }

Status systemErrorText(uint32_t code, char* buf, size_t size) {
    if (size > 0) buf[0] = '\0';
    // No arguments are passed, so inserts such as %1 stay as written rather
    // than being read from a null argument list. The text is the system's in
    // its own language, umlauts and all.
    wchar_t text[512];
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0x400, text, sizeof text / sizeof text[0], nullptr);
    if (n == 0) return lastFailure();
    return toUtf8(text, static_cast<int>(n), buf, size);
}

// Through msvcrt.dll's own printf rather than the C++ runtime's
// standards-conforming copy, which links about 20 KB of floating-point
// conversion into every program. For the conversions our texts use (%s, %c,
// %d, %lu) the two print the same characters; what differs is the overflow
// contract: msvcrt's _vsnprintf returns -1 and leaves the text unterminated
// when it does not fit, without saying how long it is. The terminator is put
// in here, and the caller is told twice the room. (mingw's _vscprintf, which
// would tell the length, is a stand-in for old msvcrt.dlls that brings its
// own emulation and unwind tables: 1.2 KB of the setup.)
Status formatText(char* buf, size_t size, const char* format, va_list args, size_t* needed) {
    *needed = 0;
    int written = size > 0 ? _vsnprintf(buf, size - 1, format, args) : -1;
    if (written >= 0) {
        buf[written] = '\0';
        *needed = static_cast<size_t>(written);
        return statusOk;
    }
    if (size > 0) buf[size - 1] = '\0';
    // No text of ours comes near: a format msvcrt cannot print at all.
    if (size >= (16u << 20)) return failed(ERROR_INVALID_PARAMETER);
    *needed = size < 128 ? 256 : size * 2;
    return statusOk;
}

Status claimInstanceLock(const char* name, InstanceLock* lock) {
    *lock = nullptr;
    WideText wide(name);
    if (wide.status() != statusOk) return wide.status();
    wchar_t global[MAX_PATH];
    lstrcpynW(global, L"Global\\", MAX_PATH);
    lstrcpynW(global + 7, wide.get(), MAX_PATH - 7);
    HANDLE mutex = CreateMutexW(nullptr, TRUE, global);
    // A mutex that another account made and we may not open fails outright.
    if (mutex == nullptr) return lastFailure();
    // Opened rather than made: someone holds the name.
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return failed(ERROR_ALREADY_EXISTS);
    }
    *lock = mutex;
    return statusOk;
}

void releaseInstanceLock(InstanceLock lock) {
    if (lock == nullptr) return;
    ReleaseMutex(static_cast<HANDLE>(lock));
    CloseHandle(static_cast<HANDLE>(lock));
}

Status windowsDirectory(char* buf, size_t size) {
    wchar_t wide[MAX_PATH];
    UINT n = GetWindowsDirectoryW(wide, MAX_PATH);
    if (n == 0) return lastFailure();
    if (n >= MAX_PATH) return failed(ERROR_INSUFFICIENT_BUFFER);
    return toUtf8(wide, static_cast<int>(n), buf, size);
}

Status temporaryDirectory(char* buf, size_t size) {
    // Wide, and handed on as UTF-8 like all text above the seam: the folder
    // lies in the user's profile, whose name may be in any language.
    wchar_t wide[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, wide);
    if (n == 0) return lastFailure();
    if (n > MAX_PATH) return failed(ERROR_INSUFFICIENT_BUFFER);
    return toUtf8(wide, static_cast<int>(n), buf, size);
}

Status localTime(LocalTime* time) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    time->year = now.wYear;
    time->month = now.wMonth;
    time->day = now.wDay;
    time->hour = now.wHour;
    time->minute = now.wMinute;
    time->second = now.wSecond;
    time->milliseconds = now.wMilliseconds;
    return statusOk;
}

}  // namespace platform
