// Files and directories on Windows paths: the runtime's directory calls, byte
// streams, and the few Win32 calls the setup needs beside them. Results follow
// platform/Status.h.
#pragma once

#include <cstddef>

#include "platform/Status.h"

namespace platform {

// Every call that writes or deletes (making and removing folders, deleting,
// opening for writing, creating, replacing) acts only where no standard user
// can redirect it: a junction or symbolic link in any folder from the drive
// root down to the name's folder fails it with errLinkOnTheWay, and the
// folders checked stay what they were until the act is done (on Windows they
// are held open without delete sharing). The name itself is never followed
// by what creates, and deleting a link deletes the link.
//
// The current directory and drive are the process's, as Windows keeps them
// (one remembered directory per drive).
Status changeDirectory(const char* path);                  // _chdir
Status currentDirectory(char* buf, size_t size);           // _getcwd: the full path
Status changeDrive(int drive);                             // _chdrive, 1 = A
Status makeDirectory(const char* path);                    // _mkdir
Status removeDirectory(const char* path);                  // _rmdir: an empty one only
Status unlinkFile(const char* path);                       // _unlink

// A byte stream as fopen gives it. Mode "wb"/"rb" is binary; "w"/"r" is text
// mode, where a line feed is written as CR LF and CR LF is read as a line feed.
struct Stream;
Status openStream(const char* path, const char* mode, Stream** stream);
// A new file, for writing as openStream(path, mode) gives it ("w" text, "wb"
// binary), made only when nothing at all is under the name: an existing
// file, hard link, symbolic link (dangling or not) or junction there makes
// it fail instead of being opened, truncated or followed. For a name in a
// folder that a standard user may write, where the name can be taken between
// removing what was there and opening it again.
Status createNewStream(const char* path, const char* mode, Stream** stream);
// Every byte or a failure: a short write is reported as one.
Status writeStream(Stream* stream, const void* data, size_t size);
// Up to size bytes; *got falls short of size only at the end of the file.
Status readStream(Stream* stream, void* data, size_t size, size_t* got);
Status flushStream(Stream* stream);
// Buffered data that cannot be written fails here; the stream is gone either way.
Status closeStream(Stream* stream);

// MoveFileExA with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH: from
// takes the place of to in one step; on failure both are as they were.
Status replaceFile(const char* from, const char* to);
// Whether the file or directory at path is a reparse point (a junction or a
// symbolic link) rather than itself; false, and success, when nothing is there.
Status isReparsePoint(const char* path, bool* reparse);

}  // namespace platform
