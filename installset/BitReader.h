// Takes codes out of an LZW payload one bit at a time: bits of each byte from
// the most significant down, a code as its low byte followed by its high bits.
// This is the reference reading of the stream; the fast decoder must agree
// with it bit for bit.
#pragma once

#include <cstdint>

class BitReader {
public:
    BitReader(const unsigned char* data, uint32_t length);

    // count is 1 to 8. At the end of the stream the bits gathered so far are
    // kept and false is returned.
    bool readBits(int count, uint8_t* out);
    bool readCode(int width, uint32_t* value);

    uint32_t bytesConsumed() const { return consumed_; }
    int bitsLeft() const { return bitsLeft_; }

private:
    const unsigned char* data_;
    uint32_t length_;
    uint32_t consumed_;
    uint8_t current_;
    int bitsLeft_;
    int bitPosition_;
};
