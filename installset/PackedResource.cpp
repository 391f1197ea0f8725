#include "installset/PackedResource.h"

#include <cstdlib>

#include "installset/Crc16.h"
#include "installset/LzwDecoder.h"
#include "installset/PackedHeader.h"
#include "platform/Resources.h"

namespace {

ErrorHandle corrupt(const char* pattern, const String& name) {
    String message;
    message.format(pattern, name.text());
    return makeError(message);
}

unsigned char* obtainMalloc(uint32_t size) { return static_cast<unsigned char*>(std::malloc(size)); }
void releaseMalloc(unsigned char* block, uint32_t) { std::free(block); }
const UnpackBuffers mallocBuffers = {obtainMalloc, releaseMalloc};

ErrorHandle corrupt(const char* pattern, const String& name, uint32_t a, uint32_t b) {
    String message;
    message.format(pattern, name.text(), static_cast<unsigned long>(a),
                   static_cast<unsigned long>(b));
    return makeError(message);
}

}  // namespace

ErrorHandle unpackResource(const String& name, const unsigned char** data, uint32_t* length,
                           bool* mustFree) {
    if (data == nullptr || length == nullptr || mustFree == nullptr) return invalidParameters();
    *mustFree = false;
    const unsigned char* resource = nullptr;
    uint32_t size = 0;
    platform::Status status = platform::loadResource("LZF", name.text(), &resource, &size);
    if (platform::isResourceMissing(status))
        return corrupt("Install set is corrupt.\nCould not find resource \"%s\".", name);
    if (status != platform::statusOk)
        return corrupt("Install set is corrupt.\nCould not load resource \"%s\".", name);
    return unpackPackedBytes(name, resource, size, data, length, mustFree);
}

ErrorHandle unpackPackedBytes(const String& name, const unsigned char* resource, uint32_t size,
                              const unsigned char** data, uint32_t* length, bool* mustFree,
                              const UnpackBuffers* buffers) {
    if (buffers == nullptr) buffers = &mallocBuffers;
    if (data == nullptr || length == nullptr || mustFree == nullptr) return invalidParameters();
    *mustFree = false;
    PackedHeader header;
    if (resource == nullptr || !readPackedHeader(resource, size, header))
        return corrupt("Install set is corrupt.\nResource \"%s\" is %lu bytes long, shorter than its %lu-byte header.",
                       name, resource == nullptr ? 0 : size, packedHeaderSize);
    if (header.magic != packedMagic)
        return corrupt("Install set is corrupt.\nResource \"%s\" has invalid magic number in header.",
                       name);
    if (header.packedLength > header.unpackedLength)
        return corrupt("Install set is corrupt.\nResource \"%s\" has compressed length %lu, expected <= %lu.",
                       name, header.packedLength, header.unpackedLength);
    // The header alone decides how much is read, so hold it against the
    // resource's real size before the payload is touched.
    if (static_cast<uint64_t>(size) - packedHeaderSize < header.packedLength)
        return corrupt("Install set is corrupt.\nResource \"%s\" has %lu bytes after its header, expected %lu.",
                       name, size - packedHeaderSize, header.packedLength);
    const unsigned char* payload = resource + packedHeaderSize;
    if (crc16(payload, header.packedLength, 0) != header.packedCrc)
        return corrupt("Install set is corrupt.\nResource \"%s\" failed CRC check on compressed data.",
                       name);

    if (header.method != packedStored) {
        // The decoder's refusals, given before memory is claimed for a length
        // taken from a possibly damaged header.
        if (header.method < lzwMinWidth || header.method > lzwMaxWidth ||
            header.packedLength == 0 || header.unpackedLength == 0)
            return invalidParameters();
        // A length that no payload of this size could decode to claims no
        // more memory than the longest possible output and one byte: the
        // decoder runs into that buffer to the end of its input, exactly as
        // it would into the full one, and its verdict (a stack overflow, or
        // the short output) is the report.
        uint64_t longest = lzwLongestOutput(header.packedLength);
        uint32_t room = header.unpackedLength > longest ? static_cast<uint32_t>(longest + 1)
                                                        : header.unpackedLength;
        unsigned char* buffer = buffers->obtain(room);
        if (buffer == nullptr) return invalidParameters();
        LzwDecoder decoder(header.method);
        ErrorHandle decoded = decoder.decompress(payload, header.packedLength, buffer, room);
        if (!isFailure(decoded) && room != header.unpackedLength) decoded = decompressionError();
        if (isFailure(decoded)) {
            buffers->release(buffer, room);
            return decoded;
        }
        if (crc16(buffer, header.unpackedLength, 0) != header.unpackedCrc) {
            buffers->release(buffer, room);
            return corrupt("Install set is corrupt.\nResource \"%s\" failed CRC check on uncompressed data.",
                           name);
        }
        *data = buffer;
        *length = header.unpackedLength;
        *mustFree = true;
        return noError();
    }

    if (header.packedLength != header.unpackedLength)
        return corrupt("Install set is corrupt.\nUncompressed resource \"%s\" has length %lu, expected = %lu.",
                       name, header.packedLength, header.unpackedLength);
    if (header.unpackedCrc != header.packedCrc)
        return corrupt("Install set is corrupt.\nUncompressed resource \"%s\" failed CRC cross check.",
                       name);
    *data = payload;
    *length = header.unpackedLength;
    return noError();
}
