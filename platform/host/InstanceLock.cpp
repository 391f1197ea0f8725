// The global mutex of the sandboxed machine: a lock file in the sandbox, held
// with flock by the process that claimed it. The kernel drops the lock when
// that process ends, however it ends, as Windows abandons a mutex.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/System.h"
#include "platform/host/HostControl.h"
#include "platform/host/WindowsPaths.h"

namespace platform {

Status claimInstanceLock(const char* name, InstanceLock* lock) {
    *lock = nullptr;
    uint32_t injected = 0;
    if (host::injectFault(host::Call::claimInstanceLock, &injected)) return host::failWith(injected);
    std::string folder = host::sandboxRoot() + "/objects";
    ::mkdir(folder.c_str(), 0755);
    std::string file = folder + "/Global_";
    for (const char* c = name; *c != '\0'; ++c) file += *c == '/' || *c == '\\' ? '_' : *c;
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return host::failWithHostErrno(errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return host::failWith(errAlreadyExists);
    }
    *lock = new int(fd);
    return statusOk;
}

void releaseInstanceLock(InstanceLock lock) {
    if (lock == nullptr) return;
    int* fd = static_cast<int*>(lock);
    ::close(*fd);
    delete fd;
}

}  // namespace platform
