// The global mutex of the sandboxed machine: a lock file in the sandbox, held
// with flock by the process that claimed it. The kernel drops the lock when
// that process ends, however it ends, as Windows abandons a mutex.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/host/HostControl.h"
#include "platform/platform.h"

namespace platform {

InstanceLock claimInstanceLock(const char* name) {
    std::string folder = host::sandboxRoot() + "/objects";
    ::mkdir(folder.c_str(), 0755);
    std::string file = folder + "/Global_";
    for (const char* c = name; *c != '\0'; ++c) file += *c == '/' || *c == '\\' ? '_' : *c;
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    return new int(fd);
}

void releaseInstanceLock(InstanceLock lock) {
    if (lock == nullptr) return;
    int* fd = static_cast<int*>(lock);
    ::close(*fd);
    delete fd;
}

}  // namespace platform
