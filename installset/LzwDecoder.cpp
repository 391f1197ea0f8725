#include "installset/LzwDecoder.h"

#include <cstdlib>
#include <cstring>

namespace {

// Bits beyond the payload read as zero: the reference reader keeps the bits
// it gathered before running dry and adds nothing after them.
inline uint32_t codeAt(const unsigned char* src, uint32_t length, uint64_t bit, uint32_t width) {
    uint64_t at = bit >> 3;
    uint32_t word;
    if (at + 4 <= length) {
        word = uint32_t(src[at]) << 24 | uint32_t(src[at + 1]) << 16 | uint32_t(src[at + 2]) << 8 |
               src[at + 3];
    } else {
        word = 0;
        for (uint64_t k = 0; k < 4; ++k) word = word << 8 | (at + k < length ? src[at + k] : 0);
    }
    uint32_t raw = (word << (bit & 7)) >> (32 - width);
    // The first eight bits of a code are its low byte, the rest its high part.
    uint32_t highBits = width - 8;
    return (raw >> highBits) | ((raw & ((1u << highBits) - 1)) << 8);
}

// Copies an earlier piece of the output further on; the source ends before
// the destination begins. Short strings, the common case, move as a few
// overlapping words that end exactly at the string's end.
inline void copyEarlier(unsigned char* to, const unsigned char* from, uint32_t length) {
    if (length >= 8 && length <= 64) {
        uint64_t word;
        for (uint32_t k = 0; k + 8 <= length; k += 8) {
            std::memcpy(&word, from + k, 8);
            std::memcpy(to + k, &word, 8);
        }
        std::memcpy(&word, from + length - 8, 8);
        std::memcpy(to + length - 8, &word, 8);
    } else if (length >= 4 && length < 8) {
        uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + length - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + length - 4, &tail, 4);
    } else if (length < 4) {
        for (uint32_t k = 0; k < length; ++k) to[k] = from[k];
    } else {
        std::memcpy(to, from, length);
    }
}

}  // namespace

LzwDecoder::LzwDecoder(uint32_t maxWidth) : table_(maxWidth), placed_(nullptr) {
    if (table_.present()) placed_ = static_cast<Placed*>(std::malloc(sizeof(Placed) << maxWidth));
}

LzwDecoder::~LzwDecoder() { std::free(placed_); }

ErrorHandle LzwDecoder::decompress(const unsigned char* src, uint32_t srcLen, unsigned char* dst,
                                   uint32_t dstLen) {
    ErrorHandle refused = checkLzwArguments(table_, src, srcLen, dst, dstLen);
    if (isFailure(refused)) return refused;
    if (placed_ == nullptr) return insufficientMemory();
    table_.reset();
    unsigned char* stack = static_cast<unsigned char*>(std::malloc(lzwStackSize));
    if (stack == nullptr) return insufficientMemory();

    LzwEntry* entries = table_.entries;
    uint32_t width = table_.width;
    uint32_t nextCode = table_.nextCode;
    uint32_t threshold = table_.threshold;
    // Another code is read only while more than one whole byte lies beyond
    // the bits taken so far: the reference reader's whole-byte end test.
    const uint64_t lastStart = 8ull * (srcLen - 1);
    uint64_t bitsTaken = 0;

    uint32_t code = codeAt(src, srcLen, bitsTaken, width);
    bitsTaken += width;
    dst[0] = static_cast<unsigned char>(code);
    uint32_t previous = code;
    uint32_t first = code;
    uint32_t out = 1;
    uint32_t previousStart = 0;
    uint32_t previousLength = 1;
    ErrorHandle result;
    while (bitsTaken < lastStart && out < dstLen) {
        uint32_t thisCode = codeAt(src, srcLen, bitsTaken, width);
        bitsTaken += width;
        uint32_t start = out;
        // Fast cases: a byte; a settled entry; an undefined code after a
        // settled previous string. Their output and checks are those of the
        // link walk below, which handles everything else.
        if (thisCode < 256) {
            dst[out++] = static_cast<unsigned char>(thisCode);
            first = thisCode;
        } else if (thisCode < nextCode && placed_[thisCode].length != 0) {
            // Codes from 256 up are in use exactly when below next code.
            uint32_t length = placed_[thisCode].length;
            if (length - 1 >= lzwStackSize) {
                result = decompressionStackOverflow();
                break;
            }
            if (length > dstLen - out) break;
            const unsigned char* from = dst + placed_[thisCode].offset;
            first = *from;
            copyEarlier(dst + out, from, length);
            out += length;
        } else if (thisCode >= nextCode && previous >= 256 && previous < nextCode &&
                   placed_[previous].length != 0) {
            uint32_t length = placed_[previous].length;
            if (length >= lzwStackSize) {
                result = decompressionStackOverflow();
                break;
            }
            if (length + 1 > dstLen - out) break;
            const unsigned char* from = dst + placed_[previous].offset;
            unsigned char last = static_cast<unsigned char>(first);
            first = *from;
            copyEarlier(dst + out, from, length);
            out += length;
            dst[out++] = last;
        } else {
            code = thisCode;
            uint32_t depth = 0;
            if (!entries[code].used) {
                stack[0] = static_cast<unsigned char>(first);
                depth = 1;
                code = previous;
            }
            if (entries[code].used && code > 255) {
                do {
                    if (depth >= lzwStackSize) break;
                    stack[depth++] = entries[code].byte;
                    code = entries[code].prefix;
                } while (code > 255);
            }
            if (depth >= lzwStackSize) {
                result = decompressionStackOverflow();
                break;
            }
            if (depth + 1 > dstLen - out) break;  // would run past the caller's buffer
            unsigned char* put = dst + out;
            *put++ = static_cast<unsigned char>(code);
            first = code;
            out += depth + 1;
            while (depth > 0) *put++ = stack[--depth];
        }

        // The new entry is the previous string and this one's first byte,
        // which stand side by side in the output; its string is settled only
        // when the previous one was, and that code was already defined.
        bool settled = previous < 256 || (previous < nextCode && placed_[previous].length != 0);
        placed_[nextCode].length = settled ? previousLength + 1 : 0;
        placed_[nextCode].offset = previousStart;
        previousStart = start;
        previousLength = out - start;
        LzwEntry& made = entries[nextCode];
        made.prefix = static_cast<uint16_t>(previous);
        made.byte = static_cast<uint8_t>(first);
        made.used = 1;
        previous = thisCode;
        if (++nextCode == threshold) {
            threshold *= 2;
            if (++width > table_.maxWidth) {
                table_.reset();
                width = table_.width;
                nextCode = table_.nextCode;
                threshold = table_.threshold;
            }
        }
    }
    table_.width = width;
    table_.nextCode = nextCode;
    table_.threshold = threshold;
    std::free(stack);
    if (isFailure(result)) return result;
    return out == dstLen ? noError() : decompressionError();
}
