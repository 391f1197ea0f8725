#include "installset/LzwTable.h"

#include <cstdlib>
#include <cstring>

LzwTable::LzwTable(uint32_t maxWidthBits)
    : entries(nullptr), maxWidth(maxWidthBits), nextCode(256), width(lzwMinWidth),
      threshold(1u << lzwMinWidth) {
    // An out-of-range width gets no table: it would not fit the entry fields,
    // and a width taken from a damaged header must not size an allocation.
    if (widthSupported())
        entries = static_cast<LzwEntry*>(std::malloc(sizeof(LzwEntry) << maxWidth));
}

LzwTable::~LzwTable() { std::free(entries); }

void LzwTable::reset() {
    std::memset(entries, 0, sizeof(LzwEntry) << maxWidth);
    for (uint32_t i = 0; i < 256; ++i) entries[i].used = 1;
    nextCode = 256;
    width = lzwMinWidth;
    threshold = 1u << lzwMinWidth;
}

ErrorHandle checkLzwArguments(const LzwTable& table, const unsigned char* src, uint32_t srcLen,
                              const unsigned char* dst, uint32_t dstLen) {
    if (src == nullptr || srcLen == 0 || dst == nullptr || dstLen == 0 || !table.widthSupported())
        return invalidParameters();
    if (!table.present()) return insufficientMemory();
    return noError();
}

uint64_t lzwLongestOutput(uint32_t srcLen) {
    if (srcLen == 0) return 0;
    // ceil(8 * (srcLen - 1) / lzwMinWidth) in 32 bits, which it fits: a 64-bit
    // division would bring the C runtime's helper (and its unwind tables) into
    // the setup for this one line.
    uint32_t bits = srcLen - 1;
    uint32_t laterCodes = 8 * (bits / lzwMinWidth) + (8 * (bits % lzwMinWidth) + lzwMinWidth - 1) / lzwMinWidth;
    return 1 + static_cast<uint64_t>(laterCodes) * lzwStackSize;
}

ErrorHandle decompressionError() { return makeError("Decompression error"); }

ErrorHandle decompressionStackOverflow() { return makeError("Decompression stack overflow!"); }
