// The encoder of the install-set builder: writes the variable-width LZW
// stream that LzwDecoder reads, with the same width growth and the same
// automatic table reset, so the setup itself never needs to encode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Where the table filled and started over: the bytes covered and the bits
// written by then.
struct LzwCycleEnd {
    size_t at;
    uint64_t bits;
};

// The longest string the setup's decoder rebuilds on its stack.
enum : uint32_t { lzwLongestString = 16384 };

// maxWidth 9 to 16. No emitted string is longer than longestString, so the
// decoder's 16384-byte stack always holds it. cycleEnds, when given, receives
// the end of every cycle but the last.
std::vector<unsigned char> lzwEncode(const unsigned char* data, size_t size, uint32_t maxWidth,
                                     uint32_t longestString = lzwLongestString,
                                     std::vector<LzwCycleEnd>* cycleEnds = nullptr);

// Whole cycles of the table, as lzwEncode makes them from the start of data:
// how many bytes their codes cover and how many bits they take, up to the
// first end of a cycle after `until` bytes, or the end of the data.
struct LzwCycles {
    size_t covered;
    uint64_t bits;
};
LzwCycles lzwCycles(const unsigned char* data, size_t size, uint32_t maxWidth, size_t until);
