// How the sandboxed machine maps a Windows path onto the host: drives are
// folders "drive_<letter>" of the sandbox, names are matched without regard to
// case against what exists, and relative paths start from the current
// directory of their drive. Shared by the directory calls and the streams.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Status.h"

namespace platform {
namespace host {

struct MappedPath {
    char drive = 'c';                // lower-case letter
    std::vector<std::string> names;  // below the drive's root, "." and ".." applied
    std::string host;                // where it lives (or would live) on the host
    std::string hostParent;          // the host folder that holds it; empty for a root
    bool isRoot() const { return names.empty(); }
};

// 0, or the Windows error code that the system gives for such a path.
uint32_t mapPath(const char* windowsPath, MappedPath* out);

// Records a failure as Windows does, as the last error, and returns its code
// for the caller to return.
Status failWith(uint32_t code);
// The same for a failure the host reported through its own errno.
Status failWithHostErrno(int hostErrno);

// For a call that writes or deletes: errLinkOnTheWay (and the last error set)
// when a folder from the drive root down to the path's own folder is a
// symbolic link, which the sandbox uses for junctions and links alike. The
// model's process is the only one acting while a call runs, so the check and
// the act that follows it are one step, as holding the folders makes them on
// Windows.
Status checkWay(const MappedPath& mapped);

enum class Kind { missing, file, directory };
Kind kindOf(const std::string& hostPath);
bool isReadOnly(const std::string& hostPath);
// The host path of the current directory of the current drive: a directory
// that the process holds open and that therefore cannot be removed.
std::string currentHostDirectory();

// The current drive and the current directory that Windows keeps for each
// drive; they start at C:\ for every new sandbox.
char currentDrive();
void makeCurrent(const MappedPath& directory);  // its drive becomes current too
bool driveExists(char drive);
// The remembered directory of a drive, as names below its root.
std::vector<std::string> currentNamesOf(char drive);

}  // namespace host
}  // namespace platform
