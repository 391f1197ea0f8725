// The C runtime's directory and file calls, as the setup has always used them,
// and the few Win32 file calls it needs beside them.
#include <windows.h>
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include "platform/Files.h"
#include "platform/win32/Failure.h"
#include "platform/win32/Text.h"
#include "platform/win32/Way.h"

namespace platform {

namespace {
// The runtime's calls answer 0 for success. Some fail on their own checks
// without a system code, so none left over from before may pass for theirs.
template <class Call>
Status runtime(Call call) {
    SetLastError(ERROR_SUCCESS);
    return call() == 0 ? statusOk : lastFailure();
}
FILE* host(Stream* stream) { return reinterpret_cast<FILE*>(stream); }

// The runtime's wide call on a path given as UTF-8.
template <class Call>
Status onPath(const char* path, Call call) {
    WideText wide(path);
    if (wide.status() != statusOk) return wide.status();
    return runtime([&] { return call(wide.get()); });
}

// The same for a call that writes or deletes: done while the folders on the
// way are held (platform/win32/Way.h).
template <class Call>
Status actOnPath(const char* path, Call call) {
    WideText wide(path);
    if (wide.status() != statusOk) return wide.status();
    HeldWay way;
    if (Status status = way.hold(wide.get())) return status;
    return runtime([&] { return call(wide.get()); });
}

bool writes(const char* mode) {
    for (const char* m = mode; *m != '\0'; ++m)
        if (*m == 'w' || *m == 'a' || *m == '+') return true;
    return false;
}
}  // namespace

Status changeDirectory(const char* path) {
    return onPath(path, [](const wchar_t* p) { return _wchdir(p); });
}
Status changeDrive(int drive) {
    return runtime([&] { return _chdrive(drive); });
}
Status currentDirectory(char* buf, size_t size) {
    wchar_t wide[MAX_PATH];
    if (Status status = runtime([&] { return _wgetcwd(wide, MAX_PATH) != nullptr ? 0 : -1; }))
        return status;
    return toUtf8(wide, -1, buf, size);
}
Status makeDirectory(const char* path) {
    return actOnPath(path, [](const wchar_t* p) { return _wmkdir(p); });
}
Status removeDirectory(const char* path) {
    return actOnPath(path, [](const wchar_t* p) { return _wrmdir(p); });
}
Status unlinkFile(const char* path) {
    return actOnPath(path, [](const wchar_t* p) { return _wunlink(p); });
}

Status replaceFile(const char* from, const char* to) {
    WideText source(from), target(to);
    if (source.status() != statusOk) return source.status();
    if (target.status() != statusOk) return target.status();
    HeldWay sourceWay, targetWay;
    if (Status status = sourceWay.hold(source.get())) return status;
    if (Status status = targetWay.hold(target.get())) return status;
    return MoveFileExW(source.get(), target.get(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? statusOk
               : lastFailure();
}

Status isReparsePoint(const char* path, bool* reparse) {
    *reparse = false;
    WideText wide(path);
    if (wide.status() != statusOk) return wide.status();
    DWORD attributes = GetFileAttributesW(wide.get());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        Status status = lastFailure();
        return isMissing(status) ? statusOk : status;
    }
    *reparse = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    return statusOk;
}

Status openStream(const char* path, const char* mode, Stream** stream) {
    // "w" and "r" are text mode, the runtime's default.
    *stream = nullptr;
    wchar_t wideMode[8];
    int n = 0;
    for (; mode[n] != '\0' && n < 7; ++n) wideMode[n] = static_cast<unsigned char>(mode[n]);
    wideMode[n] = 0;
    auto open = [&](const wchar_t* p) {
        *stream = reinterpret_cast<Stream*>(_wfopen(p, wideMode));
        return *stream != nullptr ? 0 : -1;
    };
    return writes(mode) ? actOnPath(path, open) : onPath(path, open);
}

Status createNewStream(const char* path, const char* mode, Stream** stream) {
    *stream = nullptr;
    // CREATE_NEW fails with ERROR_FILE_EXISTS when the name is taken, by a
    // hard link or a file someone else holds open too. Alone, it lets the
    // system resolve a symbolic link or junction at the name first, and a
    // dangling link can then be followed to create its target;
    // FILE_FLAG_OPEN_REPARSE_POINT stops at the name itself, so whatever
    // reparse point is there counts as the existing file. On a file that is
    // made the flag changes nothing. Only readers share it while we write.
    WideText wide(path);
    if (wide.status() != statusOk) return wide.status();
    HeldWay way;
    if (Status status = way.hold(wide.get())) return status;
    HANDLE handle = CreateFileW(wide.get(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return lastFailure();
    // The runtime's stream over our handle, in the mode fopen would give.
    bool binary = lstrcmpA(mode, "wb") == 0;
    // Should either step fail (no memory, no free descriptor), the empty file
    // we made a moment ago is removed again.
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), binary ? _O_BINARY : _O_TEXT);
    if (fd == -1) {
        CloseHandle(handle);
        DeleteFileW(wide.get());
        return failed(ERROR_TOO_MANY_OPEN_FILES);
    }
    FILE* opened = _fdopen(fd, binary ? "wb" : "w");
    if (opened == nullptr) {
        _close(fd);  // closes the handle as well
        DeleteFileW(wide.get());
        return failed(ERROR_NOT_ENOUGH_MEMORY);
    }
    *stream = reinterpret_cast<Stream*>(opened);
    return statusOk;
}

Status writeStream(Stream* stream, const void* data, size_t size) {
    return runtime([&] { return fwrite(data, 1, size, host(stream)) == size ? 0 : -1; });
}

Status readStream(Stream* stream, void* data, size_t size, size_t* got) {
    return runtime([&] {
        *got = fread(data, 1, size, host(stream));
        return *got < size && ferror(host(stream)) ? -1 : 0;
    });
}

Status flushStream(Stream* stream) {
    return runtime([&] { return fflush(host(stream)); });
}

Status closeStream(Stream* stream) {
    return runtime([&] { return fclose(host(stream)); });
}

}  // namespace platform
