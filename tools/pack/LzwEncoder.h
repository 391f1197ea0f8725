// The encoder of the install-set builder: writes the variable-width LZW
// stream that LzwDecoder reads, with the same width growth and the same
// automatic table reset, so the setup itself never needs to encode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// maxWidth 9 to 16. No emitted string is longer than longestString, so the
// decoder's 16384-byte stack always holds it.
std::vector<unsigned char> lzwEncode(const unsigned char* data, size_t size, uint32_t maxWidth,
                                     uint32_t longestString = 16384);
