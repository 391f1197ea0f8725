// The string table both LZW decoders share: one 4-byte entry per code, codes
// 0 to 255 standing for their own byte, obtained once per decoder.
#pragma once

#include <cstdint>

#include "foundation/ErrorReport.h"

struct LzwEntry {
    uint16_t prefix;  // code of the string without its last byte
    uint8_t byte;     // the string's last byte
    uint8_t used;
};

enum : uint32_t {
    lzwMinWidth = 9,
    // Wider codes would not fit the 16-bit prefix and next-code fields.
    lzwMaxWidth = 16,
    lzwStackSize = 16384,
};

class LzwTable {
public:
    explicit LzwTable(uint32_t maxWidth);
    ~LzwTable();
    LzwTable(const LzwTable&) = delete;
    LzwTable& operator=(const LzwTable&) = delete;

    void reset();
    bool present() const { return entries != nullptr; }
    bool widthSupported() const { return maxWidth >= lzwMinWidth && maxWidth <= lzwMaxWidth; }

    LzwEntry* entries;
    uint32_t maxWidth;
    uint32_t nextCode;
    uint32_t width;
    uint32_t threshold;
};

// The refusals that come before any decoding, in the order both decoders
// apply them.
ErrorHandle checkLzwArguments(const LzwTable& table, const unsigned char* src, uint32_t srcLen,
                              const unsigned char* dst, uint32_t dstLen);

// No stream of srcLen bytes can decode to more than this: every code after the
// first takes at least 9 bits and yields at most a full stack plus one byte.
uint64_t lzwLongestOutput(uint32_t srcLen);

ErrorHandle decompressionError();
ErrorHandle decompressionStackOverflow();
