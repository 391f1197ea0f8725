#include "installset/LiteralLzwDecoder.h"

#include <cstdlib>

#include "installset/BitReader.h"

ErrorHandle LiteralLzwDecoder::decompress(const unsigned char* src, uint32_t srcLen,
                                          unsigned char* dst, uint32_t dstLen) {
    ErrorHandle refused = checkLzwArguments(table_, src, srcLen, dst, dstLen);
    if (isFailure(refused)) return refused;
    table_.reset();
    unsigned char* stack = static_cast<unsigned char*>(std::malloc(lzwStackSize));
    if (stack == nullptr) return insufficientMemory();

    LzwEntry* entries = table_.entries;
    BitReader reader(src, srcLen);
    uint32_t code = 0;
    reader.readCode(static_cast<int>(table_.width), &code);
    dst[0] = static_cast<unsigned char>(code);
    uint32_t previous = code;
    uint32_t first = code;
    uint32_t out = 1;
    ErrorHandle result;
    while (reader.bytesConsumed() + (reader.bitsLeft() == 0 ? 1u : 0u) < srcLen && out < dstLen) {
        uint32_t thisCode = 0;
        reader.readCode(static_cast<int>(table_.width), &thisCode);
        code = thisCode;
        uint32_t depth = 0;
        if (!entries[code].used) {
            stack[0] = static_cast<unsigned char>(first);
            depth = 1;
            code = previous;
        }
        bool overflow = false;
        if (entries[code].used && code > 255) {
            do {
                if (depth >= lzwStackSize) {
                    overflow = true;
                    break;
                }
                stack[depth++] = entries[code].byte;
                code = entries[code].prefix;
            } while (code > 255);
        }
        if (overflow || depth >= lzwStackSize) {
            result = decompressionStackOverflow();
            break;
        }
        if (depth + 1 > dstLen - out) break;  // would run past the caller's buffer
        dst[out++] = static_cast<unsigned char>(code);
        first = code;
        while (depth > 0) dst[out++] = stack[--depth];

        LzwEntry& made = entries[table_.nextCode];
        made.prefix = static_cast<uint16_t>(previous);
        made.byte = static_cast<uint8_t>(first);
        made.used = 1;
        previous = thisCode;
        ++table_.nextCode;
        if (table_.nextCode == table_.threshold) {
            table_.threshold *= 2;
            ++table_.width;
            if (table_.width > table_.maxWidth) table_.reset();
        }
    }
    std::free(stack);
    if (isFailure(result)) return result;
    return out == dstLen ? noError() : decompressionError();
}
