// How a host program starts, the last system error with texts worded as the
// system words them, formatted text and the local time.
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/System.h"
#include "platform/host/HostControl.h"
#include "platform/host/WindowsPaths.h"

namespace platform {
namespace {
uint32_t lastError = 0;

struct Message {
    uint32_t code;
    const char* text;
};
const Message messages[] = {
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {5, "Access is denied."},
    {15, "The system cannot find the drive specified."},
    {19, "The media is write protected."},
    {31, "A device attached to the system is not functioning."},
    {32, "The process cannot access the file because it is being used by another process."},
    {53, "The network path was not found."},
    {80, "The file exists."},
    {87, "The parameter is incorrect."},
    {112, "There is not enough space on the disk."},
    {123, "The filename, directory name, or volume label syntax is incorrect."},
    {145, "The directory is not empty."},
    {183, "Cannot create a file when that file already exists."},
    {206, "The filename or extension is too long."},
    {267, "The directory name is invalid."},
    {1009, "The configuration registry database is corrupt."},
    {1113, "No mapping for the Unicode character exists in the target multi-byte code page."},
    {4395, "The object manager encountered a reparse point while retrieving an object."},
};
}  // namespace

uint32_t lastErrorCode() { return lastError; }

void setLastErrorCode(uint32_t code) { lastError = code; }

Status systemErrorText(uint32_t code, char* buf, size_t size) {
    if (size > 0) buf[0] = '\0';
    uint32_t injected = 0;
    if (host::injectFault(host::Call::systemErrorText, &injected)) return host::failWith(injected);
    for (const Message& m : messages) {
        if (m.code != code) continue;
        std::snprintf(buf, size, "%s\r\n", m.text);
        return statusOk;
    }
    return host::failWith(317);  // the system has no message text for that code
}

namespace {
bool lengthUntold = false;
}  // namespace

void host::formatLikeMsvcrt(bool on) { lengthUntold = on; }

Status formatText(char* buf, size_t size, const char* format, va_list args, size_t* needed) {
    *needed = 0;
    uint32_t injected = 0;
    if (host::injectFault(host::Call::formatText, &injected)) return host::failWith(injected);
    int n = std::vsnprintf(buf, size, format, args);
    if (n < 0) return host::failWith(errInvalidParameter);
    *needed = lengthUntold && static_cast<size_t>(n) >= size ? (size < 128 ? 256 : size * 2)
                                                              : static_cast<size_t>(n);
    return statusOk;
}

void startProgram() { host::ensureSandbox(); }

void exitProgram(int code) { std::exit(code); }

Status localTime(LocalTime* time) {
    *time = LocalTime();
    uint32_t injected = 0;
    if (host::injectFault(host::Call::localTime, &injected)) return host::failWith(injected);
    struct timespec now;
    struct tm local;
    if (::clock_gettime(CLOCK_REALTIME, &now) != 0 || ::localtime_r(&now.tv_sec, &local) == nullptr)
        return host::failWith(errInvalidParameter);
    time->year = static_cast<uint16_t>(local.tm_year + 1900);
    time->month = static_cast<uint16_t>(local.tm_mon + 1);
    time->day = static_cast<uint16_t>(local.tm_mday);
    time->hour = static_cast<uint16_t>(local.tm_hour);
    time->minute = static_cast<uint16_t>(local.tm_min);
    time->second = static_cast<uint16_t>(local.tm_sec);
    time->milliseconds = static_cast<uint16_t>(now.tv_nsec / 1000000);
    return statusOk;
}

Status commandLineTail(const char** tail) {
    *tail = nullptr;
    uint32_t injected = 0;
    if (host::injectFault(host::Call::commandLineTail, &injected)) return host::failWith(injected);
    // The arguments joined by blanks, as a Windows launcher puts them on one
    // line; the kernel keeps them NUL-separated after the program's name.
    static std::string line;
    line.clear();
    if (std::FILE* in = std::fopen("/proc/self/cmdline", "rb")) {
        bool inName = true;
        for (int c; (c = std::fgetc(in)) != EOF;) {
            if (c == '\0') {
                if (!inName) line += ' ';
                inName = false;
            } else if (!inName) {
                line += static_cast<char>(c);
            }
        }
        std::fclose(in);
    }
    if (!line.empty() && line.back() == ' ') line.pop_back();
    *tail = line.c_str();
    return statusOk;
}

}  // namespace platform
