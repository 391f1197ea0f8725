// The version library over the sandbox: the version resource is read out of
// the PE file itself. The block handed out is the raw VS_VERSIONINFO
// resource, trimmed to the length its root node claims, so a query of the
// block never needs more than the block.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/host/HostControl.h"
#include "platform/host/PeVersionResource.h"
#include "platform/host/VersionBlock.h"
#include "platform/host/WindowsPaths.h"
#include "platform/VersionInfo.h"

namespace platform {
namespace {

bool readWholeFile(const std::string& path, std::vector<unsigned char>* bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    unsigned char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes->insert(bytes->end(), chunk, chunk + n);
    bool ok = std::ferror(f) == 0;
    std::fclose(f);
    return ok;
}

// The version resource of a Windows path, already checked to hold a whole
// root node; empty when the file is missing, no PE image or without version.
std::vector<unsigned char> versionResource(const char* path) {
    std::vector<unsigned char> result;
    std::string file = host::hostPath(path);
    std::vector<unsigned char> image;
    if (file.empty() || !readWholeFile(file, &image)) return result;
    size_t offset = 0;
    size_t length = 0;
    if (!host::findVersionResource(image.data(), image.size(), &offset, &length)) return result;
    uint32_t claimed = host::versionBlockLength(image.data() + offset, length);
    if (claimed == 0) return result;
    result.assign(image.begin() + static_cast<std::ptrdiff_t>(offset),
                  image.begin() + static_cast<std::ptrdiff_t>(offset + claimed));
    return result;
}

}  // namespace

Status fileVersionInfoSize(const char* path, uint32_t* size) {
    *size = 0;
    uint32_t injected = 0;
    if (host::injectFault(host::Call::fileVersionInfoSize, &injected)) return host::failWith(injected);
    *size = static_cast<uint32_t>(versionResource(path).size());
    return *size != 0 ? statusOk : host::failWith(errResourceTypeNotFound);
}

Status fileVersionInfo(const char* path, uint32_t size, void* block) {
    uint32_t injected = 0;
    if (host::injectFault(host::Call::fileVersionInfo, &injected)) return host::failWith(injected);
    std::vector<unsigned char> resource = versionResource(path);
    if (resource.empty()) return host::failWith(errResourceTypeNotFound);
    // A buffer smaller than the block would leave the tree cut short and its
    // lengths pointing past the buffer: refuse rather than truncate.
    if (size < resource.size()) return host::failWith(errInsufficientBuffer);
    std::memcpy(block, resource.data(), resource.size());
    return statusOk;
}

Status versionQueryValue(const void* block, const char* subBlock, const void** value,
                         uint32_t* length) {
    uint32_t injected = 0;
    if (host::injectFault(host::Call::versionQueryValue, &injected)) return host::failWith(injected);
    if (block == nullptr || subBlock == nullptr) return host::failWith(errInvalidParameter);
    if (!host::findVersionValue(static_cast<const unsigned char*>(block), subBlock, value, length))
        return host::failWith(errResourceTypeNotFound);
    return statusOk;
}

}  // namespace platform
