#include "installlog/LogDigest.h"

#include <cstdlib>

#include "installlog/InstallLog.h"
#include "platform/Files.h"
#include "platform/Hashing.h"

const char* const logDigestValueName = "InstallLogSHA256";

namespace {
// An install log is a few kilobytes; anything far larger is not one, and is
// not worth the memory of an elevated program.
const size_t largestLog = 16u << 20;
}  // namespace

FileBytes::~FileBytes() { std::free(data_); }

ErrorHandle FileBytes::read(const String& path) {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
    platform::Stream* file = nullptr;
    String message;
    if (platform::openStream(path.text(), "rb", &file) != platform::statusOk) {
        message.format("Could not open file \"%s\" for reading", path.text());
        return makeError(message);
    }
    size_t capacity = 0;
    ErrorHandle result;
    for (;;) {
        if (size_ == capacity && capacity < largestLog) {
            size_t grown = capacity == 0 ? 16384 : capacity * 2;
            if (grown > largestLog) grown = largestLog;
            char* more = static_cast<char*>(std::realloc(data_, grown));
            if (more == nullptr) {
                result = insufficientMemory();
                break;
            }
            data_ = more;
            capacity = grown;
        }
        // Full at the largest size: one byte more tells a log of exactly that
        // size from a larger file.
        char beyond = 0;
        bool full = size_ == capacity;
        size_t n = 0;
        if (platform::readStream(file, full ? &beyond : data_ + size_, full ? 1 : capacity - size_,
                                 &n) != platform::statusOk) {
            message.format("Could not read file \"%s\"", path.text());
            result = makeError(message);
            break;
        }
        if (n == 0) break;
        if (full) {
            message.format("The file \"%s\" is too large to be an install log", path.text());
            result = makeError(message);
            break;
        }
        size_ += n;
    }
    platform::closeStream(file);
    return result;
}

String digestText(const void* data, size_t size) {
    unsigned char digest[32];
    if (platform::sha256(data, size, digest) != platform::statusOk) return String();
    static const char hex[] = "0123456789abcdef";
    char text[65];
    for (int i = 0; i < 32; ++i) {
        text[2 * i] = hex[digest[i] >> 4];
        text[2 * i + 1] = hex[digest[i] & 15];
    }
    text[64] = '\0';
    return String(text);
}

String logDigest(const InstallLog& log) {
    String text = log.fileText();
    const char* lines = text.text();
    size_t size = text.length();
    size_t feeds = 0;
    for (size_t i = 0; i < size; ++i) feeds += lines[i] == '\n';
    char* bytes = static_cast<char*>(std::malloc(size + feeds + 1));
    if (bytes == nullptr) return String();
    size_t n = 0;
    for (size_t i = 0; i < size; ++i) {
        if (lines[i] == '\n') bytes[n++] = '\r';
        bytes[n++] = lines[i];
    }
    String digest = digestText(bytes, n);
    std::free(bytes);
    return digest;
}
