// Stand-ins until the host file-system model lands: every call fails as on a
// machine without the facility.
#include <cerrno>
#include <cstring>

#include "platform/host/HostControl.h"
#include "platform/platform.h"

namespace platform {
int changeDirectory(const char*) { errno = ENOENT; return -1; }
int changeDrive(int) { return -1; }
int makeDirectory(const char*) { errno = EACCES; return -1; }
int removeDirectory(const char*) { errno = ENOENT; return -1; }
int unlinkFile(const char*) { errno = ENOENT; return -1; }
File* openFile(const char*, const char*) { errno = ENOENT; return nullptr; }
size_t writeFile(File*, const void*, size_t) { return 0; }
size_t readFile(File*, void*, size_t) { return 0; }
int readChar(File*) { return -1; }
int flushFile(File*) { return -1; }
int closeFile(File*) { return -1; }
bool windowsDirectory(char* buf, size_t size) {
    std::strncpy(buf, "C:\\WINDOWS", size);
    return true;
}
namespace host {
std::string hostPath(const std::string&) { return std::string(); }
}  // namespace host
}  // namespace platform
