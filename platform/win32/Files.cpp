// The C runtime's directory and file calls, as the setup has always used them.
#include <windows.h>
#include <direct.h>
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
