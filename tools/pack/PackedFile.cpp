#include "tools/pack/PackedFile.h"

#include <stdexcept>

#include "installset/Crc16.h"
#include "installset/PackedHeader.h"
#include "tools/pack/LzwEncoder.h"

std::vector<unsigned char> packFile(const std::vector<unsigned char>& bytes, bool forceStored,
                                    uint32_t maxWidth) {
    if (bytes.size() > 0xFFFFFFFFu) throw std::runtime_error("file is larger than 4 GB");
    uint32_t length = static_cast<uint32_t>(bytes.size());
    std::vector<unsigned char> payload;
    bool stored = forceStored || length == 0;
    if (!stored) {
        payload = lzwEncode(bytes.data(), bytes.size(), maxWidth);
        stored = payload.size() >= bytes.size();
    }
    if (stored) payload = bytes;

    PackedHeader header;
    header.magic = packedMagic;
    header.method = stored ? packedStored : maxWidth;
    header.unpackedLength = length;
    header.unpackedCrc = crc16(bytes.data(), length, 0);
    header.packedLength = static_cast<uint32_t>(payload.size());
    header.packedCrc = crc16(payload.data(), header.packedLength, 0);
    std::vector<unsigned char> resource(packedHeaderSize);
    writePackedHeader(header, resource.data());
    resource.insert(resource.end(), payload.begin(), payload.end());
    return resource;
}
