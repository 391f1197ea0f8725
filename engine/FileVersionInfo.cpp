#include "engine/FileVersionInfo.h"

#include <cstdlib>
#include <cstring>

#include "platform/VersionInfo.h"

FileVersionInfo::FileVersionInfo()
    : fixed_(), block_(nullptr), language_(0), codePage_(defaultCodePage) {}

FileVersionInfo::~FileVersionInfo() { std::free(block_); }

ErrorHandle FileVersionInfo::readVersionInfo(const char* path) {
    language_ = 0;
    codePage_ = defaultCodePage;
    std::memset(fixed_, 0, sizeof fixed_);
    if (path == nullptr) return invalidParameters();

    String message;
    uint32_t size = 0;
    if (platform::fileVersionInfoSize(path, &size) != platform::statusOk || size == 0) {
        message.format("File %s does not have version info (or does not exist)", path);
        return makeError(message);
    }

    // A version block can be large, and running short of memory for it is a
    // failure to report, not a reason to end the program as new would.
    std::free(block_);
    block_ = static_cast<unsigned char*>(std::malloc(size));
    if (block_ == nullptr) return insufficientMemory();
    if (platform::fileVersionInfo(path, size, block_) != platform::statusOk) {
        message.format("Error reading version info of file %s", path);
        return makeError(message);
    }

    // A fixed block shorter than its 13 words would have us copy whatever
    // follows it; such a resource counts as unreadable.
    const void* value = nullptr;
    uint32_t length = 0;
    if (platform::versionQueryValue(block_, "\\", &value, &length) != platform::statusOk || value == nullptr ||
        length < sizeof fixed_) {
        message.format("Error reading fixed file info in version info of file %s", path);
        return makeError(message);
    }
    std::memcpy(fixed_, value, sizeof fixed_);

    if (platform::versionQueryValue(block_, "\\VarFileInfo\\Translation", &value, &length) ==
            platform::statusOk &&
        value != nullptr && length >= 4) {
        const unsigned char* pair = static_cast<const unsigned char*>(value);
        language_ = static_cast<uint16_t>(pair[0] | pair[1] << 8);
        codePage_ = static_cast<uint16_t>(pair[2] | pair[3] << 8);
    }

    // Checked only now, so that a file with a wrong signature still shows its
    // words to whoever looks.
    if (signature() != expectedSignature) {
        message.format("Invalid signature in version info of file %s", path);
        return makeError(message);
    }
    return noError();
}
