#include "platform/host/ShellLinkFile.h"

#include <cstdint>

namespace platform {
namespace host {
namespace {

enum : uint32_t {
    hasLinkInfo = 0x02,
    hasName = 0x04,
    hasWorkingDir = 0x10,
    hasArguments = 0x20,
    volumeIdAndLocalBasePath = 0x01,
    driveFixed = 3,
    showNormal = 1,
};

// CLSID_ShellLink, 00021401-0000-0000-C000-000000000046, in its stored order.
const unsigned char linkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                     0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

void put16(std::vector<unsigned char>* out, uint32_t v) {
    out->push_back(static_cast<unsigned char>(v));
    out->push_back(static_cast<unsigned char>(v >> 8));
}

void put32(std::vector<unsigned char>* out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putZeros(std::vector<unsigned char>* out, size_t n) { out->insert(out->end(), n, 0); }

void putText(std::vector<unsigned char>* out, const std::string& text) {
    out->insert(out->end(), text.begin(), text.end());
    out->push_back(0);
}

bool putCounted(std::vector<unsigned char>* out, const std::string& text) {
    if (text.size() > 0xFFFF) return false;
    put16(out, static_cast<uint32_t>(text.size()));
    out->insert(out->end(), text.begin(), text.end());
    return true;
}

void putLinkInfo(std::vector<unsigned char>* out, const std::string& target) {
    const uint32_t headerSize = 0x1C;
    const uint32_t volumeIdSize = 0x11;  // fixed fields and an empty label
    uint32_t basePath = headerSize + volumeIdSize;
    uint32_t suffix = basePath + static_cast<uint32_t>(target.size()) + 1;
    uint32_t total = suffix + 1;
    put32(out, total);
    put32(out, headerSize);
    put32(out, volumeIdAndLocalBasePath);
    put32(out, headerSize);  // VolumeID follows the header
    put32(out, basePath);
    put32(out, 0);  // no network location
    put32(out, suffix);
    put32(out, volumeIdSize);
    put32(out, driveFixed);
    put32(out, 0);     // serial number
    put32(out, 0x10);  // label offset: right after these fields
    out->push_back(0);
    putText(out, target);
    out->push_back(0);  // empty common path suffix
}

}  // namespace

bool shellLinkBytes(const ShellLinkProperties& link, std::vector<unsigned char>* bytes) {
    std::vector<unsigned char> out;
    uint32_t flags = hasLinkInfo;
    if (link.hasDescription) flags |= hasName;
    if (link.hasWorkingDirectory) flags |= hasWorkingDir;
    if (link.hasArguments) flags |= hasArguments;

    put32(&out, 0x4C);
    out.insert(out.end(), linkClsid, linkClsid + 16);
    put32(&out, flags);
    put32(&out, 0);    // attributes of the target: not known to the link
    putZeros(&out, 24);  // creation, access and write times: unset, so equal inputs give equal files
    put32(&out, 0);    // target size
    put32(&out, 0);    // icon index
    put32(&out, showNormal);
    put16(&out, 0);    // no hot key
    putZeros(&out, 10);  // reserved

    // The target must also fit the link info's 32-bit offsets; the 16-bit
    // limit below is far stricter, so one check on the strings suffices.
    if (link.target.size() > 0xFFFF) return false;
    putLinkInfo(&out, link.target);

    if (link.hasDescription && !putCounted(&out, link.description)) return false;
    if (link.hasWorkingDirectory && !putCounted(&out, link.workingDirectory)) return false;
    if (link.hasArguments && !putCounted(&out, link.arguments)) return false;
    put32(&out, 0);  // terminal block: no extra data
    bytes->swap(out);
    return true;
}

}  // namespace host
}  // namespace platform
