// One product file as a packed resource: header, then the LZW stream, or the
// bytes as they are when compressing would not make them smaller.
#pragma once

#include <cstdint>
#include <vector>

enum : uint32_t { shippedWidth = 14 };

std::vector<unsigned char> packFile(const std::vector<unsigned char>& bytes, bool forceStored,
                                    uint32_t maxWidth = shippedWidth);
