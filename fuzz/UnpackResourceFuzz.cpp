// Arbitrary bytes as a packed resource: unpackResource must refuse or unpack
// without reading or writing out of bounds, and the fast decoder must agree
// with the literal one on every payload it is given.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "installset/LiteralLzwDecoder.h"
#include "installset/LzwDecoder.h"
#include "installset/PackedHeader.h"
#include "installset/PackedResource.h"
#include "platform/host/HostControl.h"

namespace {

void compareDecoders(const uint8_t* data, size_t size) {
    // First byte picks the width, the next two the output length; the rest is payload.
    if (size < 3) return;
    uint32_t width = 9 + data[0] % 8;
    uint32_t dstLen = 1 + (uint32_t(data[1]) << 8 | data[2]);
    std::vector<unsigned char> fast(dstLen, 0xEE), literal(dstLen, 0xEE);
    LzwDecoder fastDecoder(width);
    LiteralLzwDecoder literalDecoder(width);
    uint32_t payloadLength = static_cast<uint32_t>(size - 3);
    const unsigned char* payload = payloadLength == 0 ? nullptr : data + 3;
    ErrorHandle a = fastDecoder.decompress(payload, payloadLength, fast.data(), dstLen);
    ErrorHandle b = literalDecoder.decompress(payload, payloadLength, literal.data(), dstLen);
    if (std::strcmp(reportText(a).text(), reportText(b).text()) != 0 || fast != literal) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exactly the bytes given, in a buffer of their own, so any overread is caught.
    std::vector<unsigned char> resource(data, data + size);
    platform::host::putResource("LZF", "FUZZ", resource);
    const unsigned char* out = nullptr;
    uint32_t length = 0;
    bool mustFree = false;
    ErrorHandle result = unpackResource("FUZZ", &out, &length, &mustFree);
    if (!isFailure(result) && length > 0) {
        volatile unsigned char sink = out[0] ^ out[length - 1];
        (void)sink;
    }
    if (mustFree) std::free(const_cast<unsigned char*>(out));
    compareDecoders(data, size);
    return 0;
}
