// The program's start, the last system error and its text, formatted text,
// the one-setup-at-a-time lock, the Windows and temporary directories and the
// local time. Results follow platform/Status.h.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

#include "platform/Status.h"

namespace platform {

// First thing a program does: on Windows the static constructors run (the
// programs start without the C runtime's start-up code, which would have run
// them) and every later library load searches the system folder only; the
// host model makes its sandbox ready.
void startProgram();
// The command line after the program's name, as WinMain is handed it; kept
// for the life of the program. errNoUnicodeTranslation: the line holds text
// that is no valid UTF-16, which is refused rather than guessed at.
Status commandLineTail(const char** tail);
// Ends the program with that exit code. The Windows programs' entry has no
// start-up code to return to.
[[noreturn]] void exitProgram(int code);

// The Windows programs' entry point, `programEntry`, which the build names to
// the linker in place of the C runtime's start-up code: that code and what it
// pulls in (argument parsing, the runtime's exception handler, TLS and
// relocation support) was a sixth of the setup, and the msvcrt.dll calls we
// make need none of it. Link-time optimisation would drop a function that
// nothing calls; on x86 the system leaves the stack aligned to 4 bytes only.
#define PROGRAM_ENTRY                                                                  \
    extern "C" __attribute__((used, externally_visible, noreturn, force_align_arg_pointer)) \
    void programEntry()

// GetLastError and SetLastError.
uint32_t lastErrorCode();
void setLastErrorCode(uint32_t code);
// FormatMessageA of a code into buf. Texts end with CR LF, as system messages do.
Status systemErrorText(uint32_t code, char* buf, size_t size);

// vsnprintf's contract: at most size bytes written, the last of them the
// terminating zero, and *needed the length of the text; a failure when the
// format cannot be used. A text that does not fit gives a *needed of at least
// size: exactly its length where the system tells it (the host), twice the
// room where it does not (msvcrt.dll), so a caller grows and tries again
// until it fits. The texts we format use %s, %c, %d and %lu.
Status formatText(char* buf, size_t size, const char* format, va_list args, size_t* needed);

// A named mutex in the machine's global namespace ("Global\" + name), so that
// it is seen from every session; held until released or the process ends.
// errAlreadyExists: another process holds the name.
typedef void* InstanceLock;
Status claimInstanceLock(const char* name, InstanceLock* lock);
void releaseInstanceLock(InstanceLock lock);

// GetWindowsDirectoryA.
Status windowsDirectory(char* buf, size_t size);

// GetTempPath: the user's folder for temporary files (%TEMP%), ending in a
// backslash as the system gives it.
Status temporaryDirectory(char* buf, size_t size);

// GetLocalTime: the wall-clock time of this machine's time zone.
struct LocalTime {
    uint16_t year, month, day, hour, minute, second, milliseconds;
};
Status localTime(LocalTime* time);

}  // namespace platform
