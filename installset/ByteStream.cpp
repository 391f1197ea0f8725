#include "installset/ByteStream.h"

namespace {

bool readUnsigned(ByteStream& stream, uint32_t count, bool littleEndian, uint32_t& value) {
    if (!stream.good || stream.size - stream.position < count) {
        stream.good = false;
        return false;
    }
    const unsigned char* at = stream.data + stream.position;
    uint32_t result = 0;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t byte = at[littleEndian ? count - 1 - i : i];
        result = (result << 8) | byte;
    }
    stream.position += count;
    value = result;
    return true;
}

}  // namespace

bool readUInt32(ByteStream& stream, uint32_t& value, bool littleEndian) {
    return readUnsigned(stream, 4, littleEndian, value);
}

bool readUInt16(ByteStream& stream, uint16_t& value, bool littleEndian) {
    uint32_t wide = 0;
    if (!readUnsigned(stream, 2, littleEndian, wide)) return false;
    value = static_cast<uint16_t>(wide);
    return true;
}
