// The runtime's directory calls and the Windows directory of the sandboxed
// machine, with the error codes and errno values that Windows gives.
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/host/HostControl.h"
#include "platform/host/WindowsPaths.h"
#include "platform/host/WindowsErrors.h"
#include "platform/platform.h"

namespace platform {
namespace {

using host::Kind;
using host::MappedPath;
using host::failWith;
using host::errFileNotFound;
using host::errPathNotFound;
using host::errAccessDenied;
using host::errSharingViolation;
using host::errAlreadyExists;
using host::errDirectoryName;


// A missing name is "file not found" when its folder exists and "path not
// found" when the folder itself is missing, as Windows tells them apart.
int failMissing(const MappedPath& mapped) {
    bool folderThere = !mapped.hostParent.empty() && host::kindOf(mapped.hostParent) == Kind::directory;
    return failWith(folderThere ? errFileNotFound : errPathNotFound);
}

}  // namespace

int changeDirectory(const char* path) {
    MappedPath mapped;
    if (uint32_t code = host::mapPath(path, &mapped)) return failWith(code);
    switch (host::kindOf(mapped.host)) {
        case Kind::missing: return failMissing(mapped);
        case Kind::file: return failWith(errDirectoryName);
        case Kind::directory: break;
    }
    host::makeCurrent(mapped);
    return 0;
}

bool currentDirectory(char* buf, size_t size) {
    char drive = host::currentDrive();
    std::string path = std::string(1, static_cast<char>(std::toupper(drive))) + ":\\";
    std::vector<std::string> names = host::currentNamesOf(drive);
    for (size_t i = 0; i < names.size(); ++i) path += (i > 0 ? "\\" : "") + names[i];
    if (path.size() >= size) return false;
    std::memcpy(buf, path.c_str(), path.size() + 1);
    return true;
}

int changeDrive(int drive) {
    if (drive < 1 || drive > 26) {
        failWith(errPathNotFound);
        errno = EACCES;  // the runtime's own answer to a number that names no drive
        return -1;
    }
    char letter = static_cast<char>('a' + drive - 1);
    if (!host::driveExists(letter)) return failWith(errPathNotFound);
    // The drive's remembered directory, or its root when that has gone.
    std::string remembered = std::string(1, letter) + ":";
    MappedPath mapped;
    if (host::mapPath(remembered.c_str(), &mapped) != 0 ||
        host::kindOf(mapped.host) != Kind::directory) {
        remembered += "\\";
        if (uint32_t code = host::mapPath(remembered.c_str(), &mapped)) return failWith(code);
    }
    host::makeCurrent(mapped);
    return 0;
}

int makeDirectory(const char* path) {
    int injected = 0;
    if (host::injectFault(host::Fault::makeDirectory, &injected))
        return failWith(host::windowsCodeOfErrno(injected));
    MappedPath mapped;
    if (uint32_t code = host::mapPath(path, &mapped)) return failWith(code);
    if (mapped.isRoot() || host::kindOf(mapped.host) != Kind::missing)
        return failWith(errAlreadyExists);
    if (host::kindOf(mapped.hostParent) != Kind::directory) return failWith(errPathNotFound);
    if (::mkdir(mapped.host.c_str(), 0755) != 0) return host::failWithHostErrno(errno);
    return 0;
}

int removeDirectory(const char* path) {
    MappedPath mapped;
    if (uint32_t code = host::mapPath(path, &mapped)) return failWith(code);
    if (mapped.isRoot()) return failWith(errAccessDenied);
    switch (host::kindOf(mapped.host)) {
        case Kind::missing: return failMissing(mapped);
        case Kind::file: return failWith(errDirectoryName);
        case Kind::directory: break;
    }
    // The process holds its current directory open, so Windows refuses to
    // remove it even when it is empty.
    if (mapped.host == host::currentHostDirectory()) return failWith(errSharingViolation);
    if (::rmdir(mapped.host.c_str()) != 0) return host::failWithHostErrno(errno);
    return 0;
}

namespace {

int unlinkNow(const char* path) {
    MappedPath mapped;
    if (uint32_t code = host::mapPath(path, &mapped)) return failWith(code);
    if (mapped.isRoot()) return failWith(errAccessDenied);
    switch (host::kindOf(mapped.host)) {
        case Kind::missing: return failMissing(mapped);
        case Kind::directory: return failWith(errAccessDenied);
        case Kind::file: break;
    }
    if (host::isReadOnly(mapped.host)) return failWith(errAccessDenied);
    if (::unlink(mapped.host.c_str()) != 0) return host::failWithHostErrno(errno);
    return 0;
}

}  // namespace

int unlinkFile(const char* path) {
    int result = unlinkNow(path);
    // Whatever another process does next leaves this call's own report alone.
    int savedErrno = errno;
    uint32_t savedCode = lastErrorCode();
    host::runAfterUnlink();
    errno = savedErrno;
    setLastErrorCode(savedCode);
    return result;
}

int replaceFile(const char* from, const char* to) {
    if (host::injectFault(host::Fault::moveFile)) return failWith(errAccessDenied);
    MappedPath source, target;
    if (uint32_t code = host::mapPath(from, &source)) return failWith(code);
    if (uint32_t code = host::mapPath(to, &target)) return failWith(code);
    if (host::kindOf(source.host) == Kind::missing) return failMissing(source);
    if (host::kindOf(target.host) == Kind::directory) return failWith(errAccessDenied);
    if (host::kindOf(target.host) == Kind::file && host::isReadOnly(target.host))
        return failWith(errAccessDenied);
    if (::rename(source.host.c_str(), target.host.c_str()) != 0)
        return host::failWithHostErrno(errno);
    host::runAfterReplace();
    return 0;
}

// The sandbox keeps a link as a host symbolic link; Windows reports its
// junctions and symbolic links alike as reparse points.
bool isReparsePoint(const char* path) {
    MappedPath mapped;
    if (host::mapPath(path, &mapped) != 0) return false;
    struct stat st;
    return ::lstat(mapped.host.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool windowsDirectory(char* buf, size_t size) {
    static const char directory[] = "C:\\WINDOWS";
    if (size < sizeof directory) return false;
    std::memcpy(buf, directory, sizeof directory);
    return true;
}

}  // namespace platform
