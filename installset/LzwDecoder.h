// Decoder of the compressed payload of a packed resource: variable-width LZW,
// no clear code and no end code, the table resetting itself when it fills.
// Reads whole codes from a 64-bit window instead of single bits and copies a
// known string from where it was written before instead of walking its
// prefix links; what it produces and reports is exactly what
// LiteralLzwDecoder produces.
#pragma once

#include "installset/LzwTable.h"

// Output that goes on elsewhere (a pipe, a file) need not stand in one block
// of its full length: the decoder fills a window and hands over every piece
// that no later code can refer to, while it is still in the cache, and the
// window's pages are touched once instead of a fresh page for every 4 KB.
struct LzwOutput {
    unsigned char* window;
    uint32_t size;  // at least lzwSmallestWindow
    // Takes the next piece of the output; false stops decoding.
    bool (*deliver)(void* context, const unsigned char* bytes, uint32_t length);
    void* context;
};

enum : uint32_t { lzwSmallestWindow = 4 * lzwStackSize };

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
    // The same dstLen bytes through output's window, and their crc16 (start
    // value 0) in *crc, taken piece by piece while each is in the cache.
    // Pieces handed over stay so when decoding fails later, or when deliver
    // refuses one (reported as "Decompression error").
    ErrorHandle decompress(const unsigned char* src, uint32_t srcLen, const LzwOutput& output,
                           uint32_t dstLen, uint16_t* crc);
    void resetTable() { table_.reset(); }

private:
    template <bool toWindow>
    ErrorHandle decode(const unsigned char* src, uint32_t srcLen, unsigned char* dst,
                       uint32_t dstLen, const LzwOutput* output, uint16_t* crc);

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
