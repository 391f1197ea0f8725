// fopen-style streams on Windows paths of the sandboxed machine. Host files
// are always opened binary; text mode is this layer's own translation, so a
// file written in text mode has the CR LF line ends it has on Windows.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/host/HostControl.h"
#include "platform/host/WindowsPaths.h"
#include "platform/host/WindowsErrors.h"
#include "platform/platform.h"

namespace platform {

struct File {
    FILE* host;
    std::string hostPath;
    bool text;
    bool readable;
    bool writable;
    bool endOfText;  // a Ctrl+Z ended a text-mode read
    // What is on disk for sure; data buffered after it is lost if the close
    // fails, as buffered data is on Windows.
    long long flushedSize;
};

namespace {

using host::Kind;
using host::MappedPath;
using host::failWith;
using host::errFileNotFound;
using host::errPathNotFound;
using host::errAccessDenied;
using host::errDiskFull;
using host::errFileExists;

const int ctrlZ = 0x1A;

struct Mode {
    char kind = 0;  // r, w or a
    bool plus = false;
    bool binary = false;
};

bool parseMode(const char* text, Mode* mode) {
    if (text == nullptr || std::strchr("rwa", text[0]) == nullptr || text[0] == '\0') return false;
    mode->kind = text[0];
    for (const char* p = text + 1; *p != '\0'; ++p) {
        if (*p == '+') mode->plus = true;
        else if (*p == 'b') mode->binary = true;
        else if (*p != 't') return false;
    }
    return true;
}

long long sizeOf(FILE* f) {
    struct stat st;
    return ::fstat(::fileno(f), &st) == 0 ? static_cast<long long>(st.st_size) : 0;
}

// Writes bytes as they go to disk; returns how many of the caller's bytes
// made it, counting a translated line feed only when both bytes did.
size_t putBytes(File* file, const unsigned char* data, size_t size) {
    if (!file->text) return std::fwrite(data, 1, size, file->host);
    std::string out;
    out.reserve(size + size / 8);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') out += '\r';
        out += static_cast<char>(data[i]);
    }
    size_t written = std::fwrite(out.data(), 1, out.size(), file->host);
    if (written == out.size()) return size;
    size_t consumed = 0;
    for (size_t used = 0; consumed < size; ++consumed) {
        used += data[consumed] == '\n' ? 2 : 1;
        if (used > written) break;
    }
    return consumed;
}

}  // namespace

namespace {

// An open for writing may be made to fail; then the path is mapped.
bool mapForOpening(const char* path, bool writing, MappedPath* mapped) {
    int injected = 0;
    if (writing && host::injectFault(host::Fault::openFile, &injected)) {
        failWith(host::windowsCodeOfErrno(injected));
        return false;
    }
    if (uint32_t code = host::mapPath(path, mapped)) {
        failWith(code);
        return false;
    }
    return true;
}

}  // namespace

File* openFile(const char* path, const char* modeText) {
    Mode mode;
    if (!parseMode(modeText, &mode)) {
        errno = EINVAL;
        return nullptr;
    }
    bool writing = mode.kind != 'r' || mode.plus;
    MappedPath mapped;
    if (!mapForOpening(path, writing, &mapped)) return nullptr;
    Kind kind = mapped.isRoot() ? Kind::directory : host::kindOf(mapped.host);
    bool folderThere = !mapped.hostParent.empty() && host::kindOf(mapped.hostParent) == Kind::directory;
    if (kind == Kind::directory) {
        failWith(errAccessDenied);
        return nullptr;
    }
    if (kind == Kind::missing && (mode.kind == 'r' || !folderThere)) {
        failWith(folderThere ? errFileNotFound : errPathNotFound);
        return nullptr;
    }
    if (kind == Kind::file && writing && host::isReadOnly(mapped.host)) {
        failWith(errAccessDenied);
        return nullptr;
    }
    std::string hostMode(1, mode.kind);
    if (mode.plus) hostMode += '+';
    hostMode += 'b';
    FILE* f = std::fopen(mapped.host.c_str(), hostMode.c_str());
    if (f == nullptr) {
        host::failWithHostErrno(errno);
        return nullptr;
    }
    return new File{f, mapped.host, !mode.binary, mode.kind == 'r' || mode.plus, writing, false,
                    sizeOf(f)};
}

File* createNewFile(const char* path) {
    MappedPath mapped;
    if (!mapForOpening(path, true, &mapped)) return nullptr;
    if (mapped.isRoot()) {
        failWith(errAccessDenied);
        return nullptr;
    }
    if (host::kindOf(mapped.hostParent) != Kind::directory) {
        failWith(errPathNotFound);
        return nullptr;
    }
    // The one call both checks and creates: with O_EXCL a name that is taken,
    // by a symbolic link too, dangling or not, fails with EEXIST; there is no
    // moment at which a link planted under the name could be followed.
    int fd = ::open(mapped.host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    0644);
    if (fd < 0) {
        if (errno == EEXIST) failWith(errFileExists);
        else host::failWithHostErrno(errno);
        return nullptr;
    }
    FILE* f = ::fdopen(fd, "wb");
    if (f == nullptr) {
        int saved = errno;
        ::close(fd);
        host::failWithHostErrno(saved);
        return nullptr;
    }
    return new File{f, mapped.host, true, false, true, false, 0};
}

size_t writeFile(File* file, const void* data, size_t size) {
    if (file == nullptr || !file->writable) {
        errno = EBADF;
        return 0;
    }
    if (size == 0) return 0;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    if (host::injectFault(host::Fault::writeFile)) {
        // The disk fills half-way through.
        size_t made = putBytes(file, bytes, size / 2);
        failWith(errDiskFull);
        return made;
    }
    size_t made = putBytes(file, bytes, size);
    if (made < size) host::failWithHostErrno(errno);
    return made;
}

int readChar(File* file) {
    if (file == nullptr || !file->readable || file->endOfText) return -1;
    int c = std::fgetc(file->host);
    if (!file->text || c == EOF) return c;
    if (c == ctrlZ) {
        file->endOfText = true;
        return -1;
    }
    if (c == '\r') {
        int next = std::fgetc(file->host);
        if (next == '\n') return '\n';
        if (next != EOF) std::ungetc(next, file->host);
    }
    return c;
}

size_t readFile(File* file, void* data, size_t size) {
    if (file == nullptr || !file->readable) return 0;
    if (!file->text) return std::fread(data, 1, size, file->host);
    unsigned char* out = static_cast<unsigned char*>(data);
    size_t n = 0;
    for (; n < size; ++n) {
        int c = readChar(file);
        if (c < 0) break;
        out[n] = static_cast<unsigned char>(c);
    }
    return n;
}

int flushFile(File* file) {
    if (file == nullptr) return -1;
    if (std::fflush(file->host) != 0) {
        host::failWithHostErrno(errno);
        return -1;
    }
    file->flushedSize = sizeOf(file->host);
    return 0;
}

int closeFile(File* file) {
    if (file == nullptr) return -1;
    int result = 0;
    if (file->writable && host::injectFault(host::Fault::closeFile)) {
        std::fclose(file->host);
        // What was still buffered never reached the disk.
        int ignored = ::truncate(file->hostPath.c_str(), static_cast<off_t>(file->flushedSize));
        (void)ignored;  // the close has failed either way
        failWith(errDiskFull);
        result = -1;
    } else if (std::fclose(file->host) != 0) {
        host::failWithHostErrno(errno);
        result = -1;
    }
    delete file;
    return result;
}

}  // namespace platform
