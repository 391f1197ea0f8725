// Arbitrary bytes as a packed resource: unpackResource must refuse or unpack
// without reading or writing out of bounds. The same bytes, after a first byte
// picking the width and two the output length, must decode alike in both decoders.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "installset/LiteralLzwDecoder.h"
#include "installset/LzwDecoder.h"
#include "installset/PackedResource.h"
#include "platform/host/HostControl.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A buffer of exactly the bytes given, so any overread is caught.
    platform::host::putResource("LZF", "FUZZ", std::vector<unsigned char>(data, data + size));
    const unsigned char* out = nullptr;
    uint32_t length = 0;
    bool mustFree = false;
    if (!isFailure(unpackResource("FUZZ", &out, &length, &mustFree)) && length > 0) {
        volatile unsigned char sink = out[0] ^ out[length - 1];
        (void)sink;
    }
    if (mustFree) std::free(const_cast<unsigned char*>(out));
    if (size < 3) return 0;
    uint32_t width = 9 + data[0] % 8, dstLen = 1 + (uint32_t(data[1]) << 8 | data[2]), srcLen = uint32_t(size - 3);
    std::vector<unsigned char> fast(dstLen, 0xEE), literal(dstLen, 0xEE);
    ErrorHandle a = LzwDecoder(width).decompress(srcLen ? data + 3 : nullptr, srcLen, fast.data(), dstLen);
    ErrorHandle b = LiteralLzwDecoder(width).decompress(srcLen ? data + 3 : nullptr, srcLen, literal.data(), dstLen);
    if (std::strcmp(reportText(a).text(), reportText(b).text()) != 0 || fast != literal) std::abort();
    return 0;
}
