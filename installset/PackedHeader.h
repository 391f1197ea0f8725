// The 20-byte big-endian header in front of every packed resource.
#pragma once

#include <cstdint>

enum : uint32_t {
    packedMagic = 0x92492492u,
    packedHeaderSize = 20,
    packedStored = 0,  // method 0; any other method is the LZW maximum width
};

struct PackedHeader {
    uint32_t magic;
    uint32_t method;
    uint32_t unpackedLength;
    uint16_t unpackedCrc;
    uint32_t packedLength;
    uint16_t packedCrc;
};

// False when fewer than 20 bytes are given.
bool readPackedHeader(const unsigned char* bytes, uint32_t size, PackedHeader& header);
// The same 20 bytes, for whoever builds install sets.
void writePackedHeader(const PackedHeader& header, unsigned char out[packedHeaderSize]);
