// One product file as a packed resource: header, then the LZW stream, or the
// bytes as they are when compressing would not make them smaller. The header
// carries the maximum code width, and the setup's decoder takes any from 9 to
// 16: a narrow table starts over often and follows a small file's changing
// parts, a wide one keeps more of a large file's strings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The width each file packs smallest with.
enum : uint32_t { smallestWidth = 0 };

// width 9 to 16 forces that maximum code width; smallestWidth chooses it per file.
std::vector<unsigned char> packFile(const std::vector<unsigned char>& bytes, bool forceStored,
                                    uint32_t width = smallestWidth);

struct LzwChoice {
    uint32_t width;
    std::vector<unsigned char> payload;
};

// Up to this size every width is encoded and the smallest kept.
enum : size_t { exhaustiveWidthLimit = size_t(1) << 20 };

// The smallest encoding of data found among the widths 9 to 16, the narrower
// of two the same size; size must not be 0. Above exhaustiveLimit the widest
// is encoded, and each narrower one is tried on a few of its cycles first and
// encoded whole only while the samples leave it a chance.
LzwChoice smallestLzw(const unsigned char* data, size_t size, size_t exhaustiveLimit = exhaustiveWidthLimit);
