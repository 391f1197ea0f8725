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
    uint64_t laterCodes = (8ull * (srcLen - 1) + lzwMinWidth - 1) / lzwMinWidth;
    return 1 + laterCodes * lzwStackSize;
}

ErrorHandle decompressionError() { return makeError("Decompression error"); }

ErrorHandle decompressionStackOverflow() { return makeError("Decompression stack overflow!"); }
