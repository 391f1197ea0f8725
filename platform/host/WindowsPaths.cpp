#include "platform/host/WindowsPaths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>

#include "platform/Text.h"
#include "platform/host/HostControl.h"
#include "platform/System.h"

namespace platform {
namespace host {
namespace {

const uint32_t errInvalidName = 123;
const uint32_t errBadNetPath = 53;

// Current directories belong to one sandbox: a test that moves to a fresh
// sandbox starts at C:\ as a freshly started process would.
struct Position {
    std::string sandbox;
    char drive = 'c';
    std::map<char, std::vector<std::string>> directories;
};

Position& position() {
    static Position state;
    if (state.sandbox != sandboxRoot()) {
        state = Position();
        state.sandbox = sandboxRoot();
    }
    return state;
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isInvalidNameChar(unsigned char c) {
    return c < 32 || std::strchr("<>\"|?*:", c) != nullptr;
}

std::string driveFolder(char drive) {
    return sandboxRoot() + "/drive_" + static_cast<char>(std::tolower(drive));
}

// The entry of folder whose name equals name without regard to case: the
// exact spelling when it exists, else the first match in byte order, else
// the name as given (it will be created that way).
std::string matchName(const std::string& folder, const std::string& name) {
    struct stat st;
    if (::lstat((folder + "/" + name).c_str(), &st) == 0) return name;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return name;
    std::string best;
    while (struct dirent* entry = ::readdir(dir)) {
        const char* candidate = entry->d_name;
        if (std::strcmp(candidate, ".") == 0 || std::strcmp(candidate, "..") == 0) continue;
        if (compareNames(candidate, name.c_str()) != 0) continue;
        if (best.empty() || best > candidate) best = candidate;
    }
    ::closedir(dir);
    return best.empty() ? name : best;
}


}  // namespace

uint32_t mapPath(const char* windowsPath, MappedPath* out) {
    *out = MappedPath();
    const char* p = windowsPath;
    if (p == nullptr || *p == '\0') return errPathNotFound;
    Position& state = position();
    char drive = state.drive;
    if (std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':') {
        drive = static_cast<char>(std::tolower(static_cast<unsigned char>(p[0])));
        p += 2;
    }
    // Network and device paths are not part of this machine.
    if (isSeparator(p[0]) && isSeparator(p[1])) return errBadNetPath;
    for (const char* q = p; *q != '\0'; ++q)
        if (isInvalidNameChar(static_cast<unsigned char>(*q))) return errInvalidName;

    std::vector<std::string> names;
    if (!isSeparator(p[0])) names = currentNamesOf(drive);
    size_t length = std::strlen(p);
    bool trailingSeparator = length > 0 && isSeparator(p[length - 1]);
    std::string name;
    for (size_t i = 0; i <= length; ++i) {
        if (i < length && !isSeparator(p[i])) {
            name += p[i];
            continue;
        }
        bool last = i == length;
        // As Windows normalises: a path that does not end in a separator
        // loses the trailing dots and blanks of its last name.
        if (last && !trailingSeparator && name != "." && name != "..") {
            while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
        }
        if (name == "..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        name.clear();
    }

    out->drive = drive;
    out->names = names;
    if (!driveExists(drive)) return errPathNotFound;
    std::string host = driveFolder(drive);
    for (const std::string& n : names) {
        out->hostParent = host;
        host += "/" + matchName(host, n);
    }
    out->host = host;
    return 0;
}

Status checkWay(const MappedPath& mapped) {
    std::string folder = driveFolder(mapped.drive);
    std::string host = mapped.host;
    // The host path holds each name as it exists; walk it level by level.
    size_t at = folder.size();
    for (size_t i = 0; i + 1 < mapped.names.size(); ++i) {
        at = host.find('/', at + 1);
        if (at == std::string::npos) break;
        struct stat st;
        if (::lstat(host.substr(0, at).c_str(), &st) != 0) return statusOk;  // not there yet
        if (S_ISLNK(st.st_mode)) return failWith(errLinkOnTheWay);
    }
    return statusOk;
}

Status failWith(uint32_t code) {
    setLastErrorCode(code);
    return code;
}

Status failWithHostErrno(int hostErrno) {
    switch (hostErrno) {
        case ENOSPC: case EDQUOT: case EFBIG: return failWith(112);
        case EACCES: case EPERM: return failWith(5);
        case EROFS: return failWith(19);
        case ENOENT: return failWith(2);
        case ENOTDIR: return failWith(3);
        case EEXIST: return failWith(183);
        case ENOTEMPTY: return failWith(145);
        case EBUSY: return failWith(32);
        case ENAMETOOLONG: return failWith(206);
        default: return failWith(31);  // a device attached to the system is not functioning
    }
}

Kind kindOf(const std::string& hostPath) {
    struct stat st;
    if (::stat(hostPath.c_str(), &st) != 0) return Kind::missing;
    return S_ISDIR(st.st_mode) ? Kind::directory : Kind::file;
}

// The model, not the host, decides: root may write anything on Linux, but a
// Windows file without its write bit is read-only for everyone.
bool isReadOnly(const std::string& hostPath) {
    struct stat st;
    return ::stat(hostPath.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

char currentDrive() { return position().drive; }

bool driveExists(char drive) { return kindOf(driveFolder(drive)) == Kind::directory; }

std::vector<std::string> currentNamesOf(char drive) {
    Position& state = position();
    auto found = state.directories.find(drive);
    return found == state.directories.end() ? std::vector<std::string>() : found->second;
}

void makeCurrent(const MappedPath& directory) {
    Position& state = position();
    state.drive = directory.drive;
    state.directories[directory.drive] = directory.names;
}

std::string currentHostDirectory() {
    MappedPath here;
    if (mapPath(".", &here) != 0) return std::string();
    return here.host;
}

std::string hostPath(const std::string& windowsPath) {
    MappedPath mapped;
    if (mapPath(windowsPath.c_str(), &mapped) != 0) return std::string();
    return mapped.host;
}

}  // namespace host
}  // namespace platform
