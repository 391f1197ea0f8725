// The C runtime's directory and file calls, as the setup has always used them.
#include <windows.h>
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include "platform/platform.h"

namespace platform {

int changeDirectory(const char* path) { return _chdir(path); }
int changeDrive(int drive) { return _chdrive(drive); }
bool currentDirectory(char* buf, size_t size) {
    return _getcwd(buf, static_cast<int>(size)) != nullptr;
}
int makeDirectory(const char* path) { return _mkdir(path); }
int removeDirectory(const char* path) { return _rmdir(path); }
int unlinkFile(const char* path) { return _unlink(path); }

int replaceFile(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : -1;
}

bool isReparsePoint(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

File* openFile(const char* path, const char* mode) {
    // "w" and "r" are text mode, the runtime's default.
    return reinterpret_cast<File*>(fopen(path, mode));
}
File* createNewFile(const char* path) {
    // CREATE_NEW fails with ERROR_FILE_EXISTS when the name is taken, by a
    // hard link or a file someone else holds open too. Alone, it lets the
    // system resolve a symbolic link or junction at the name first, and a
    // dangling link can then be followed to create its target;
    // FILE_FLAG_OPEN_REPARSE_POINT stops at the name itself, so whatever
    // reparse point is there counts as the existing file. On a file that is
    // made the flag changes nothing. Only readers share it while we write.
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    // The runtime's stream over our handle, in text mode as fopen "w" gives.
    // Should either step fail (no memory, no free descriptor), the empty file
    // stays behind for the caller's next attempt to remove.
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_TEXT);
    if (fd == -1) {
        CloseHandle(handle);
        return nullptr;
    }
    FILE* stream = _fdopen(fd, "w");
    if (stream == nullptr) _close(fd);  // closes the handle as well
    return reinterpret_cast<File*>(stream);
}

size_t writeFile(File* file, const void* data, size_t size) {
    return fwrite(data, 1, size, reinterpret_cast<FILE*>(file));
}
size_t readFile(File* file, void* data, size_t size) {
    return fread(data, 1, size, reinterpret_cast<FILE*>(file));
}
int readChar(File* file) { return fgetc(reinterpret_cast<FILE*>(file)); }
int flushFile(File* file) { return fflush(reinterpret_cast<FILE*>(file)); }
int closeFile(File* file) { return fclose(reinterpret_cast<FILE*>(file)); }

}  // namespace platform
