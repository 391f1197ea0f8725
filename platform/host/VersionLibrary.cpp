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
#include "platform/platform.h"

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

uint32_t fileVersionInfoSize(const char* path) {
    return static_cast<uint32_t>(versionResource(path).size());
}

bool fileVersionInfo(const char* path, uint32_t size, void* block) {
    if (host::injectFault(host::Fault::readVersion)) return false;
    std::vector<unsigned char> resource = versionResource(path);
    // A buffer smaller than the block would leave the tree cut short and its
    // lengths pointing past the buffer: refuse rather than truncate.
    if (resource.empty() || size < resource.size()) return false;
    std::memcpy(block, resource.data(), resource.size());
    return true;
}

bool versionQueryValue(const void* block, const char* subBlock, const void** value,
                       uint32_t* length) {
    if (block == nullptr || subBlock == nullptr) return false;
    return host::findVersionValue(static_cast<const unsigned char*>(block), subBlock, value, length);
}

}  // namespace platform
