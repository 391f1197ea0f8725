#include "installset/PackedHeader.h"

#include "installset/ByteStream.h"

bool readPackedHeader(const unsigned char* bytes, uint32_t size, PackedHeader& header) {
    ByteStream stream(bytes, size < packedHeaderSize ? size : packedHeaderSize);
    readUInt32(stream, header.magic, false);
    readUInt32(stream, header.method, false);
    readUInt32(stream, header.unpackedLength, false);
    readUInt16(stream, header.unpackedCrc, false);
    readUInt32(stream, header.packedLength, false);
    return readUInt16(stream, header.packedCrc, false);
}

namespace {

unsigned char* putBigEndian(unsigned char* at, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) *at++ = static_cast<unsigned char>(value >> (8 * i));
    return at;
}

}  // namespace

void writePackedHeader(const PackedHeader& header, unsigned char out[packedHeaderSize]) {
    unsigned char* at = putBigEndian(out, header.magic, 4);
    at = putBigEndian(at, header.method, 4);
    at = putBigEndian(at, header.unpackedLength, 4);
    at = putBigEndian(at, header.unpackedCrc, 2);
    at = putBigEndian(at, header.packedLength, 4);
    putBigEndian(at, header.packedCrc, 2);
}
