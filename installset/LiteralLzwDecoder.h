// The decoder exactly as the stream is defined: one bit at a time through
// BitReader. It is the oracle that the fast decoder is compared with in tests
// and fuzzing, and, being a fraction of its size, the decoder the setup
// carries: twenty times slower, it still unpacks the whole product in
// milliseconds, once.
#pragma once

#include "installset/LzwTable.h"

class LiteralLzwDecoder {
public:
    explicit LiteralLzwDecoder(uint32_t maxWidth) : table_(maxWidth) {}
    ErrorHandle decompress(const unsigned char* src, uint32_t srcLen, unsigned char* dst,
                           uint32_t dstLen);

private:
    LzwTable table_;
};
