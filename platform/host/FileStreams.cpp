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
#include "platform/Files.h"
#include "platform/System.h"

namespace platform {

struct Stream {
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
size_t putBytes(Stream* file, const unsigned char* data, size_t size) {
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

// Either kind of open may be made to fail; then the path is mapped.
Status mapForOpening(host::Call kind, const char* path, MappedPath* mapped) {
    uint32_t injected = 0;
    if (host::injectFault(kind, &injected)) return failWith(injected);
    if (uint32_t code = host::mapPath(path, mapped)) return failWith(code);
    return statusOk;
}

// The next byte of a stream open for reading, after text-mode translation;
// -1 at its end.
int nextChar(Stream* file) {
    if (file->endOfText) return -1;
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

}  // namespace

Status openStream(const char* path, const char* modeText, Stream** stream) {
    *stream = nullptr;
    Mode mode;
    if (!parseMode(modeText, &mode)) return failWith(errInvalidParameter);
    bool writing = mode.kind != 'r' || mode.plus;
    MappedPath mapped;
    if (Status status = mapForOpening(host::Call::openStream, path, &mapped)) return status;
    if (writing)
        if (Status way = host::checkWay(mapped)) return way;
    Kind kind = mapped.isRoot() ? Kind::directory : host::kindOf(mapped.host);
    bool folderThere = !mapped.hostParent.empty() && host::kindOf(mapped.hostParent) == Kind::directory;
    if (kind == Kind::directory) return failWith(errAccessDenied);
    if (kind == Kind::missing && (mode.kind == 'r' || !folderThere))
        return failWith(folderThere ? errFileNotFound : errPathNotFound);
    if (kind == Kind::file && writing && host::isReadOnly(mapped.host)) return failWith(errAccessDenied);
    std::string hostMode(1, mode.kind);
    if (mode.plus) hostMode += '+';
    hostMode += 'b';
    FILE* f = std::fopen(mapped.host.c_str(), hostMode.c_str());
    if (f == nullptr) return host::failWithHostErrno(errno);
    *stream = new Stream{f, mapped.host, !mode.binary, mode.kind == 'r' || mode.plus, writing,
                         false, sizeOf(f)};
    return statusOk;
}

Status createNewStream(const char* path, const char* modeText, Stream** stream) {
    *stream = nullptr;
    MappedPath mapped;
    if (Status status = mapForOpening(host::Call::createNewStream, path, &mapped)) return status;
    if (Status way = host::checkWay(mapped)) return way;
    if (mapped.isRoot()) return failWith(errAccessDenied);
    if (host::kindOf(mapped.hostParent) != Kind::directory) return failWith(errPathNotFound);
    // The one call both checks and creates: with O_EXCL a name that is taken,
    // by a symbolic link too, dangling or not, fails with EEXIST; there is no
    // moment at which a link planted under the name could be followed.
    int fd = ::open(mapped.host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    0644);
    if (fd < 0) return errno == EEXIST ? failWith(errFileExists) : host::failWithHostErrno(errno);
    FILE* f = ::fdopen(fd, "wb");
    if (f == nullptr) {
        int saved = errno;
        ::close(fd);
        ::unlink(mapped.host.c_str());  // made by us a moment ago, and empty
        return host::failWithHostErrno(saved);
    }
    *stream = new Stream{f, mapped.host, std::strcmp(modeText, "wb") != 0, false, true, false, 0};
    return statusOk;
}

Status writeStream(Stream* file, const void* data, size_t size) {
    uint32_t injected = 0;
    bool fails = host::injectFault(host::Call::writeStream, &injected);
    if (file == nullptr || !file->writable) return failWith(errAccessDenied);
    if (size == 0) return fails ? failWith(injected) : statusOk;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    if (fails) {
        // The disk fills half-way through.
        putBytes(file, bytes, size / 2);
        return failWith(injected);
    }
    if (putBytes(file, bytes, size) < size) return host::failWithHostErrno(errno);
    return statusOk;
}

Status readStream(Stream* file, void* data, size_t size, size_t* got) {
    *got = 0;
    uint32_t injected = 0;
    if (host::injectFault(host::Call::readStream, &injected)) return failWith(injected);
    if (file == nullptr || !file->readable) return failWith(errAccessDenied);
    unsigned char* out = static_cast<unsigned char*>(data);
    size_t n = 0;
    if (!file->text) {
        n = std::fread(data, 1, size, file->host);
    } else {
        for (int c; n < size && (c = nextChar(file)) >= 0; ++n) out[n] = static_cast<unsigned char>(c);
    }
    *got = n;
    if (n < size && std::ferror(file->host)) return host::failWithHostErrno(errno);
    return statusOk;
}

Status flushStream(Stream* file) {
    uint32_t injected = 0;
    if (host::injectFault(host::Call::flushStream, &injected)) return failWith(injected);
    if (file == nullptr) return failWith(errInvalidParameter);
    if (std::fflush(file->host) != 0) return host::failWithHostErrno(errno);
    file->flushedSize = sizeOf(file->host);
    return statusOk;
}

Status closeStream(Stream* file) {
    if (file == nullptr) return failWith(errInvalidParameter);
    Status result = statusOk;
    uint32_t injected = 0;
    if (file->writable && host::injectFault(host::Call::closeStream, &injected)) {
        std::fclose(file->host);
        // What was still buffered never reached the disk.
        int ignored = ::truncate(file->hostPath.c_str(), static_cast<off_t>(file->flushedSize));
        (void)ignored;  // the close has failed either way
        result = failWith(injected);
    } else if (std::fclose(file->host) != 0) {
        result = host::failWithHostErrno(errno);
    }
    delete file;
    return result;
}

}  // namespace platform
