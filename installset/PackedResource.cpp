#include "installset/PackedResource.h"

#include <cstdlib>

#include "installset/Crc16.h"
#include "installset/LiteralLzwDecoder.h"
#include "installset/LzwDecoder.h"
#include "installset/PackedHeader.h"
#include "platform/Resources.h"

namespace {

// The setup unpacks its few hundred kilobytes once, and the decoder that
// follows the stream's definition bit by bit does that in milliseconds with
// a fraction of the code; the builder and the tools keep the fast one.
#if defined(_WIN32)
using WholeDecoder = LiteralLzwDecoder;
#else
using WholeDecoder = LzwDecoder;
#endif

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

namespace {

const char* const uncompressedCrcFailed =
    "Install set is corrupt.\nResource \"%s\" failed CRC check on uncompressed data.";

// The checks in the order the setup reports them: the header, the lengths,
// the payload's checksum, then either the decoder's refusals and
// decompressed(header, payload), or a stored resource's lengths and
// checksums and stored(header, payload). One body for both callers, each
// with its own copy: the setup has only the one, and its size counts.
template <typename Stored, typename Decompressed>
ErrorHandle checkThenUnpack(const String& name, const unsigned char* resource, uint32_t size,
                            Stored stored, Decompressed decompressed) {
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
        return decompressed(header, payload);
    }
    if (header.packedLength != header.unpackedLength)
        return corrupt("Install set is corrupt.\nUncompressed resource \"%s\" has length %lu, expected = %lu.",
                       name, header.packedLength, header.unpackedLength);
    if (header.unpackedCrc != header.packedCrc)
        return corrupt("Install set is corrupt.\nUncompressed resource \"%s\" failed CRC cross check.",
                       name);
    return stored(header, payload);
}

}  // namespace

ErrorHandle unpackPackedBytes(const String& name, const unsigned char* resource, uint32_t size,
                              const unsigned char** data, uint32_t* length, bool* mustFree,
                              const UnpackBuffers* buffers) {
    if (buffers == nullptr) buffers = &mallocBuffers;
    if (data == nullptr || length == nullptr || mustFree == nullptr) return invalidParameters();
    *mustFree = false;
    auto stored = [&](const PackedHeader& header, const unsigned char* payload) {
        *data = payload;
        *length = header.unpackedLength;
        return noError();
    };
    auto decompressed = [&](const PackedHeader& header, const unsigned char* payload) {
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
        WholeDecoder decoder(header.method);
        ErrorHandle decoded = decoder.decompress(payload, header.packedLength, buffer, room);
        if (!isFailure(decoded) && room != header.unpackedLength) decoded = decompressionError();
        if (isFailure(decoded)) {
            buffers->release(buffer, room);
            return decoded;
        }
        if (crc16(buffer, header.unpackedLength, 0) != header.unpackedCrc) {
            buffers->release(buffer, room);
            return corrupt(uncompressedCrcFailed, name);
        }
        *data = buffer;
        *length = header.unpackedLength;
        *mustFree = true;
        return noError();
    };
    return checkThenUnpack(name, resource, size, stored, decompressed);
}

ErrorHandle unpackPackedBytesTo(const String& name, const unsigned char* resource, uint32_t size,
                                const LzwOutput& output, uint32_t* length) {
    auto stored = [&](const PackedHeader& header, const unsigned char* payload) {
        *length = header.unpackedLength;
        return output.deliver(output.context, payload, header.unpackedLength) ? noError() : decompressionError();
    };
    // The window is the same whatever length the header claims.
    auto decompressed = [&](const PackedHeader& header, const unsigned char* payload) {
        *length = header.unpackedLength;
        uint16_t crc = 0;
        ErrorHandle decoded =
            LzwDecoder(header.method).decompress(payload, header.packedLength, output, header.unpackedLength, &crc);
        if (!isFailure(decoded) && crc != header.unpackedCrc) return corrupt(uncompressedCrcFailed, name);
        return decoded;
    };
    return checkThenUnpack(name, resource, size, stored, decompressed);
}
