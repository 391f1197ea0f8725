// Parts of the host model that are still to come: each call fails as a
// machine without the facility would.
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
uint32_t fileVersionInfoSize(const char*) { return 0; }
bool fileVersionInfo(const char*, uint32_t, void*) { return false; }
bool versionQueryValue(const void*, const char*, const void**, uint32_t*) { return false; }
void initializeComponents() {}
ShellLink* ShellLink::create() { return nullptr; }
bool ansiToWide(const char*, wchar_t*, int) { return false; }
ShellFolders* ShellFolders::open() { return nullptr; }
intptr_t shellExecute(const char*, const char*) { return 2; }

namespace host {
std::string hostPath(const std::string&) { return std::string(); }
void setDocumentOpener(const std::string&) {}
}  // namespace host
}  // namespace platform
