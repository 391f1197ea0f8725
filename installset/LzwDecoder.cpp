#include "installset/LzwDecoder.h"

#include <cstdlib>

namespace {

// Bits beyond the payload read as zero: the reference reader keeps the bits
// it gathered before running dry and adds nothing after them.
class CodeWindow {
public:
    CodeWindow(const unsigned char* src, uint32_t length)
        : src_(src), length_(length), position_(0), window_(0), bits_(0) {}

    uint32_t read(uint32_t width) {
        if (bits_ < width) refill();
        uint32_t raw = static_cast<uint32_t>(window_ >> (64 - width));
        window_ <<= width;
        bits_ -= width;
        // The first eight bits of a code are its low byte, the rest its high part.
        uint32_t highBits = width - 8;
        return (raw >> highBits) | ((raw & ((1u << highBits) - 1)) << 8);
    }

private:
    void refill() {
        while (bits_ <= 56) {
            uint64_t byte = position_ < length_ ? src_[position_] : 0;
            ++position_;
            window_ |= byte << (56 - bits_);
            bits_ += 8;
        }
    }

    const unsigned char* src_;
    uint32_t length_;
    uint64_t position_;
    uint64_t window_;  // next bits at the top
    uint32_t bits_;
};

}  // namespace

ErrorHandle LzwDecoder::decompress(const unsigned char* src, uint32_t srcLen, unsigned char* dst,
                                   uint32_t dstLen) {
    ErrorHandle refused = checkLzwArguments(table_, src, srcLen, dst, dstLen);
    if (isFailure(refused)) return refused;
    table_.reset();
    unsigned char* stack = static_cast<unsigned char*>(std::malloc(lzwStackSize));
    if (stack == nullptr) return insufficientMemory();

    LzwEntry* entries = table_.entries;
    CodeWindow window(src, srcLen);
    uint32_t width = table_.width;
    uint32_t nextCode = table_.nextCode;
    uint32_t threshold = table_.threshold;
    // Another code is read only while more than one whole byte lies beyond
    // the bits taken so far: the reference reader's whole-byte end test.
    const uint64_t lastStart = 8ull * (srcLen - 1);
    uint64_t bitsTaken = width;

    uint32_t code = window.read(width);
    dst[0] = static_cast<unsigned char>(code);
    uint32_t previous = code;
    uint32_t first = code;
    uint32_t out = 1;
    ErrorHandle result;
    while (bitsTaken < lastStart && out < dstLen) {
        uint32_t thisCode = window.read(width);
        bitsTaken += width;
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
