// The runtime's directory calls and the Windows directory of the sandboxed
// machine, with the error codes that Windows gives.
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/System.h"
#include "platform/host/HostControl.h"
#include "platform/host/WindowsPaths.h"

namespace platform {
namespace {

using host::Kind;
using host::MappedPath;
using host::Call;
using host::failWith;

// A missing name is "file not found" when its folder exists and "path not
// found" when the folder itself is missing, as Windows tells them apart.
Status failMissing(const MappedPath& mapped) {
    bool folderThere = !mapped.hostParent.empty() && host::kindOf(mapped.hostParent) == Kind::directory;
    return failWith(folderThere ? errFileNotFound : errPathNotFound);
}

// Counts the call, and fails it when a test asked for that.
bool injected(Call kind, Status* status) {
    uint32_t code = 0;
    if (!host::injectFault(kind, &code)) return false;
    *status = failWith(code);
    return true;
}

}  // namespace

Status changeDirectory(const char* path) {
    Status status;
    if (injected(Call::changeDirectory, &status)) return status;
    MappedPath mapped;
    if (uint32_t code = host::mapPath(path, &mapped)) return failWith(code);
    switch (host::kindOf(mapped.host)) {
        case Kind::missing: return failMissing(mapped);
        case Kind::file: return failWith(errDirectoryName);
        case Kind::directory: break;
    }
    host::makeCurrent(mapped);
    return statusOk;
}

Status currentDirectory(char* buf, size_t size) {
    Status status;
    if (injected(Call::currentDirectory, &status)) return status;
    char drive = host::currentDrive();
    std::string path = std::string(1, static_cast<char>(std::toupper(drive))) + ":\\";
    std::vector<std::string> names = host::currentNamesOf(drive);
    for (size_t i = 0; i < names.size(); ++i) path += (i > 0 ? "\\" : "") + names[i];
    if (path.size() >= size) return failWith(errInsufficientBuffer);
    std::memcpy(buf, path.c_str(), path.size() + 1);
    return statusOk;
}

Status changeDrive(int drive) {
    Status status;
    if (injected(Call::changeDrive, &status)) return status;
    if (drive < 1 || drive > 26) return failWith(errPathNotFound);
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
    return statusOk;
}

Status makeDirectory(const char* path) {
    Status status;
    if (injected(Call::makeDirectory, &status)) return status;
    MappedPath mapped;
    if (uint32_t code = host::mapPath(path, &mapped)) return failWith(code);
    if (Status way = host::checkWay(mapped)) return way;
    if (mapped.isRoot() || host::kindOf(mapped.host) != Kind::missing)
        return failWith(errAlreadyExists);
    if (host::kindOf(mapped.hostParent) != Kind::directory) return failWith(errPathNotFound);
    if (::mkdir(mapped.host.c_str(), 0755) != 0) return host::failWithHostErrno(errno);
    return statusOk;
}

Status removeDirectory(const char* path) {
    Status status;
    if (injected(Call::removeDirectory, &status)) return status;
    MappedPath mapped;
    if (uint32_t code = host::mapPath(path, &mapped)) return failWith(code);
    if (mapped.isRoot()) return failWith(errAccessDenied);
    if (Status way = host::checkWay(mapped)) return way;
    switch (host::kindOf(mapped.host)) {
        case Kind::missing: return failMissing(mapped);
        case Kind::file: return failWith(errDirectoryName);
        case Kind::directory: break;
    }
    // The process holds its current directory open, so Windows refuses to
    // remove it even when it is empty.
    if (mapped.host == host::currentHostDirectory()) return failWith(errSharingViolation);
    if (::rmdir(mapped.host.c_str()) != 0) return host::failWithHostErrno(errno);
    return statusOk;
}

namespace {

Status unlinkNow(const char* path) {
    Status status;
    if (injected(Call::unlinkFile, &status)) return status;
    MappedPath mapped;
    if (uint32_t code = host::mapPath(path, &mapped)) return failWith(code);
    if (mapped.isRoot()) return failWith(errAccessDenied);
    if (Status way = host::checkWay(mapped)) return way;
    switch (host::kindOf(mapped.host)) {
        case Kind::missing: return failMissing(mapped);
        case Kind::directory: return failWith(errAccessDenied);
        case Kind::file: break;
    }
    if (host::isReadOnly(mapped.host)) return failWith(errAccessDenied);
    if (::unlink(mapped.host.c_str()) != 0) return host::failWithHostErrno(errno);
    return statusOk;
}

}  // namespace

Status unlinkFile(const char* path) {
    Status result = unlinkNow(path);
    // Whatever another process does next leaves this call's own report alone.
    uint32_t savedCode = lastErrorCode();
    host::runAfterUnlink();
    setLastErrorCode(savedCode);
    return result;
}

Status replaceFile(const char* from, const char* to) {
    Status status;
    if (injected(Call::replaceFile, &status)) return status;
    MappedPath source, target;
    if (uint32_t code = host::mapPath(from, &source)) return failWith(code);
    if (uint32_t code = host::mapPath(to, &target)) return failWith(code);
    if (Status way = host::checkWay(source)) return way;
    if (Status way = host::checkWay(target)) return way;
    if (host::kindOf(source.host) == Kind::missing) return failMissing(source);
    if (host::kindOf(target.host) == Kind::directory) return failWith(errAccessDenied);
    if (host::kindOf(target.host) == Kind::file && host::isReadOnly(target.host))
        return failWith(errAccessDenied);
    if (::rename(source.host.c_str(), target.host.c_str()) != 0)
        return host::failWithHostErrno(errno);
    host::runAfterReplace();
    return statusOk;
}

// The sandbox keeps a link as a host symbolic link; Windows reports its
// junctions and symbolic links alike as reparse points.
Status isReparsePoint(const char* path, bool* reparse) {
    *reparse = false;
    Status status;
    if (injected(Call::isReparsePoint, &status)) return status;
    MappedPath mapped;
    if (host::mapPath(path, &mapped) != 0) return statusOk;  // no such name: nothing there
    struct stat st;
    *reparse = ::lstat(mapped.host.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    return statusOk;
}

Status windowsDirectory(char* buf, size_t size) {
    Status status;
    if (injected(Call::windowsDirectory, &status)) return status;
    static const char directory[] = "C:\\WINDOWS";
    if (size < sizeof directory) return failWith(errInsufficientBuffer);
    std::memcpy(buf, directory, sizeof directory);
    return statusOk;
}

}  // namespace platform
