// Hand-made LZW code streams and decoding through both decoders, for tests
// and fuzzing of the install set's decompressor.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Codes with their widths, packed as the decoder reads them.
std::vector<unsigned char> codeStream(const std::vector<std::pair<uint32_t, uint32_t>>& codes);

struct Decoded {
    std::vector<unsigned char> bytes;  // the whole output buffer, also after a failure
    std::string report;                // empty on success
};
Decoded decodeFast(const std::vector<unsigned char>& payload, uint32_t dstLen, uint32_t maxWidth);
Decoded decodeLiteral(const std::vector<unsigned char>& payload, uint32_t dstLen, uint32_t maxWidth);

std::vector<unsigned char> randomBytes(size_t size, uint32_t seed);
// Words and numbers in lines: compresses as real text does.
std::vector<unsigned char> textLike(size_t size, uint32_t seed);
