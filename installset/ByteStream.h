// A read cursor over a byte range that turns bad instead of reading past it.
#pragma once

#include <cstdint>

struct ByteStream {
    ByteStream(const unsigned char* bytes, uint32_t length)
        : data(bytes), size(length), position(0), good(true) {}
    const unsigned char* data;
    uint32_t size;
    uint32_t position;
    bool good;
};

// Most significant byte first when littleEndian is false. Return whether the
// stream is still good; a short read leaves value unchanged.
bool readUInt32(ByteStream& stream, uint32_t& value, bool littleEndian);
bool readUInt16(ByteStream& stream, uint16_t& value, bool littleEndian);
