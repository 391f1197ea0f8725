// Decoder of the compressed payload of a packed resource: variable-width LZW,
// no clear code and no end code, the table resetting itself when it fills.
// Reads whole codes from a 64-bit window instead of single bits and copies a
// known string from where it was written before instead of walking its
// prefix links; what it produces and reports is exactly what
// LiteralLzwDecoder produces.
#pragma once

#include "installset/LzwTable.h"

class LzwDecoder {
public:
    // maxWidth is the packed header's method value; 9 to 16 are usable.
    explicit LzwDecoder(uint32_t maxWidth);
    ~LzwDecoder();
    LzwDecoder(const LzwDecoder&) = delete;
    LzwDecoder& operator=(const LzwDecoder&) = delete;

    // Success means exactly dstLen bytes were produced into dst.
    ErrorHandle decompress(const unsigned char* src, uint32_t srcLen, unsigned char* dst,
                           uint32_t dstLen);
    void resetTable() { table_.reset(); }

private:
    LzwTable table_;
    // Where an entry's string already stands in the output, and its length;
    // length 0 marks an entry whose string can change later (its prefix was a
    // code not yet defined) and must be rebuilt link by link.
    struct Placed {
        uint32_t offset;
        uint32_t length;
    };
    Placed* placed_;
};
