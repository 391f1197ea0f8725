#include "installset/LzwDecoder.h"

#include <cstdlib>
#include <cstring>

#include "installset/Crc16.h"

namespace {

// Bits beyond the payload read as zero: the reference reader keeps the bits
// it gathered before running dry and adds nothing after them.
inline uint32_t codeAt(const unsigned char* src, uint32_t length, uint64_t bit, uint32_t width) {
    uint64_t at = bit >> 3;
    uint32_t word;
    if (at + 4 <= length) {
        // One load and a byte swap: the table lookup waits on this value.
        std::memcpy(&word, src + at, 4);
        word = __builtin_bswap32(word);
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

// Every byte as a string of its own, with room for a block copy past the last.
struct ByteStrings {
    unsigned char bytes[256 + 16];
    constexpr ByteStrings() : bytes() {
        for (unsigned i = 0; i < 256; ++i) bytes[i] = static_cast<unsigned char>(i);
    }
};
constexpr ByteStrings byteStringTable;
const unsigned char* const byteStrings = byteStringTable.bytes;

// A string of up to 16 bytes moves as one 16-byte block; what lands past its
// end is overwritten by the strings after it. The block is read whole before
// it is written, so a source that runs into the destination reads as it was.
inline void copyBlock(unsigned char* to, const unsigned char* from) {
    unsigned char block[16];
    std::memcpy(block, from, 16);
    std::memcpy(to, block, 16);
}

// The block copies run up to 15 bytes past the output. Decoding that stops
// there must leave the caller's buffer as the literal decoder does, so the
// bytes past the output are kept, 64 at a time, before a block may cover
// them: position p at kept[p & 127] (written twice, the second time 128
// lower, so that a piece wraps around without a branch). A block never
// reaches past the last piece kept, and the output is never more than 80
// bytes behind its end, so the two pieces in the ring cover every byte a
// block may have overwritten.
struct Overrun {
    enum : uint32_t { piece = 64, ring = 128, room = piece + 16 };
    unsigned char area[ring + ring + piece];
    uint32_t keptEnd;  // every byte from the output up to here is kept

    unsigned char* kept() { return area + ring; }
    // Before a block copy to [out, out + 16); needs out + room <= dstLen.
    void keep(const unsigned char* dst, uint32_t out) {
        if (out + 16 <= keptEnd) return;
        // Bytes before the output are final; what an exact copy wrote past
        // the last piece needs no keeping either.
        uint32_t from = keptEnd > out ? keptEnd : out;
        unsigned char bytes[piece];
        std::memcpy(bytes, dst + from, piece);
        std::memcpy(kept() + (from & (ring - 1)), bytes, piece);
        std::memcpy(kept() + (from & (ring - 1)) - ring, bytes, piece);
        keptEnd = from + piece;
    }
    void undo(unsigned char* dst, uint32_t out) {
        for (uint32_t p = out; p < keptEnd; ++p) dst[p] = kept()[p & (ring - 1)];
    }
};

}  // namespace

LzwDecoder::LzwDecoder(uint32_t maxWidth) : table_(maxWidth), placed_(nullptr) {
    if (table_.present()) placed_ = static_cast<Placed*>(std::malloc(sizeof(Placed) << maxWidth));
    if (placed_ != nullptr)
        for (uint32_t code = 0; code < 256; ++code) placed_[code] = Placed{code, 1};
}

LzwDecoder::~LzwDecoder() { std::free(placed_); }

ErrorHandle LzwDecoder::decompress(const unsigned char* src, uint32_t srcLen, unsigned char* dst,
                                   uint32_t dstLen) {
    uint16_t unused;
    return decode<false>(src, srcLen, dst, dstLen, nullptr, &unused);
}

ErrorHandle LzwDecoder::decompress(const unsigned char* src, uint32_t srcLen, const LzwOutput& output,
                                   uint32_t dstLen, uint16_t* crc) {
    if (output.window == nullptr || output.size < lzwSmallestWindow || crc == nullptr) return invalidParameters();
    return decode<true>(src, srcLen, output.window, dstLen, &output, crc);
}

template <bool toWindow>
ErrorHandle LzwDecoder::decode(const unsigned char* src, uint32_t srcLen, unsigned char* dst,
                               uint32_t dstLen, const LzwOutput* output, uint16_t* crc) {
    ErrorHandle refused = checkLzwArguments(table_, src, srcLen, dst, dstLen);
    if (isFailure(refused)) return refused;
    if (placed_ == nullptr) return insufficientMemory();
    table_.reset();
    unsigned char* stack = static_cast<unsigned char*>(std::malloc(lzwStackSize));
    if (stack == nullptr) return insufficientMemory();

    LzwEntry* entries = table_.entries;
    // Held in a local: the output cannot alias it then, and it stays in a register.
    Placed* const placed = placed_;
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
    Overrun overrun;
    overrun.keptEnd = 1;
    // Every byte before out is final; in a window the checksum has taken
    // those before summed.
    uint16_t sum = 0;
    uint32_t summed = 0;
    // In a window, positions count from where the window's bytes start in the
    // output: end is dstLen there, and cycleStart where the current table's
    // strings begin (all that a later code can refer to). No string is longer
    // than the stack and one byte, and a block copy runs 16 bytes further.
    uint32_t end = dstLen;
    uint32_t cycleStart = 0;
    const uint32_t full = toWindow ? output->size - (lzwStackSize + 1 + Overrun::room) : 0;
    bool delivered = true;
    while (bitsTaken < lastStart && out < end) {
        if (toWindow && out > full) {
            // Hand over what no code refers to any more: the tables before
            // this one, or, when this one's strings fill most of the window,
            // all but the previous string, whose strings then are rebuilt
            // link by link as strings whose place is unknown.
            uint32_t keep = out - cycleStart <= output->size / 2 ? cycleStart : previousStart;
            sum = crc16(dst + summed, out - summed, sum);
            if (!output->deliver(output->context, dst, keep)) {
                delivered = false;
                break;
            }
            std::memmove(dst, dst + keep, out - keep);
            for (uint32_t c = 256; c < nextCode; ++c) {
                if (placed[c].offset < keep) placed[c].length = 0;
                placed[c].offset -= keep;
            }
            out -= keep;
            end -= keep;
            previousStart -= keep;
            cycleStart = cycleStart > keep ? cycleStart - keep : 0;
            summed = out;
        }
        uint32_t thisCode = codeAt(src, srcLen, bitsTaken, width);
        bitsTaken += width;
        uint32_t start = out;
        // Fast cases: a byte; a settled entry; an undefined code after a
        // settled previous string. Their output and checks are those of the
        // link walk below, which handles everything else.
        if (thisCode < nextCode && placed[thisCode].length != 0) {
            // Codes from 256 up are in use exactly when below next code; the
            // single bytes stand in a table of their own.
            uint32_t length = placed[thisCode].length;
            const unsigned char* from = (thisCode < 256 ? byteStrings : dst) + placed[thisCode].offset;
            // A short string that fits, the common case, needs none of the
            // checks of a long one: no stack holds less.
            if (length <= 16 && (toWindow ? length <= end - out : end - out >= Overrun::room)) {
                if (!toWindow) overrun.keep(dst, out);
                first = *from;
                copyBlock(dst + out, from);
            } else {
                if (length - 1 >= lzwStackSize) {
                    result = decompressionStackOverflow();
                    break;
                }
                if (length > end - out) break;
                first = *from;
                copyEarlier(dst + out, from, length);
            }
            out += length;
        } else if (thisCode >= nextCode && previous >= 256 && previous < nextCode &&
                   placed[previous].length != 0) {
            uint32_t length = placed[previous].length;
            const unsigned char* from = dst + placed[previous].offset;
            unsigned char last = static_cast<unsigned char>(first);
            if (length < 16 && (toWindow ? length < end - out : end - out >= Overrun::room)) {
                if (!toWindow) overrun.keep(dst, out);
                first = *from;
                copyBlock(dst + out, from);
            } else {
                if (length >= lzwStackSize) {
                    result = decompressionStackOverflow();
                    break;
                }
                if (length + 1 > end - out) break;
                first = *from;
                copyEarlier(dst + out, from, length);
            }
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
            if (depth + 1 > end - out) break;  // would run past the caller's buffer
            unsigned char* put = dst + out;
            *put++ = static_cast<unsigned char>(code);
            first = code;
            out += depth + 1;
            while (depth > 0) *put++ = stack[--depth];
        }

        // The new entry is the previous string and this one's first byte,
        // which stand side by side in the output; its string is settled only
        // when the previous one was, and that code was already defined.
        bool settled = previous < nextCode && placed[previous].length != 0;
        placed[nextCode].length = settled ? previousLength + 1 : 0;
        placed[nextCode].offset = previousStart;
        previousStart = start;
        previousLength = out - start;
        entries[nextCode] = LzwEntry{static_cast<uint16_t>(previous), static_cast<uint8_t>(first), 1};
        previous = thisCode;
        if (++nextCode == threshold) {
            threshold *= 2;
            if (++width > table_.maxWidth) {
                table_.reset();
                width = table_.width;
                nextCode = table_.nextCode;
                threshold = table_.threshold;
                if (toWindow) {
                    // The table's output is still in the cache.
                    sum = crc16(dst + summed, out - summed, sum);
                    summed = out;
                    cycleStart = previousStart;
                }
            }
        }
    }
    if (toWindow) {
        *crc = crc16(dst + summed, out - summed, sum);
        if (delivered && out == end && !isFailure(result)) delivered = output->deliver(output->context, dst, out);
    } else {
        overrun.undo(dst, out);
    }
    table_.width = width;
    table_.nextCode = nextCode;
    table_.threshold = threshold;
    std::free(stack);
    if (isFailure(result)) return result;
    return out == end && delivered ? noError() : decompressionError();
}
