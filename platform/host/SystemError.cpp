// The last system error, with texts worded as the system words them.
#include <cstdio>
#include <cstring>

#include "platform/platform.h"

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
};
}  // namespace

uint32_t lastErrorCode() { return lastError; }

void setLastErrorCode(uint32_t code) { lastError = code; }

bool systemErrorText(uint32_t code, char* buf, size_t size) {
    for (const Message& m : messages) {
        if (m.code != code) continue;
        std::snprintf(buf, size, "%s\r\n", m.text);
        return true;
    }
    if (size > 0) buf[0] = '\0';
    return false;
}

}  // namespace platform
