#include "tests/support/LzwStreams.h"

#include <random>

#include "installset/LiteralLzwDecoder.h"
#include "installset/LzwDecoder.h"

std::vector<unsigned char> codeStream(const std::vector<std::pair<uint32_t, uint32_t>>& codes) {
    std::vector<unsigned char> out;
    uint32_t bits = 0;
    uint64_t window = 0;
    for (const auto& [code, width] : codes) {
        uint64_t ordered = (uint64_t(code & 0xFF) << (width - 8)) | (code >> 8);
        window = (window << width) | ordered;
        bits += width;
        while (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<unsigned char>(window >> bits));
        }
    }
    if (bits > 0) out.push_back(static_cast<unsigned char>(window << (8 - bits)));
    return out;
}

namespace {

template <typename Decoder>
Decoded decodeWith(const std::vector<unsigned char>& payload, uint32_t dstLen, uint32_t maxWidth) {
    Decoded result;
    result.bytes.assign(dstLen, 0xEE);
    Decoder decoder(maxWidth);
    ErrorHandle report = decoder.decompress(payload.empty() ? nullptr : payload.data(),
                                            static_cast<uint32_t>(payload.size()),
                                            dstLen == 0 ? nullptr : result.bytes.data(), dstLen);
    if (!report.isNull()) result.report = reportText(report).text();
    return result;
}

}  // namespace

Decoded decodeFast(const std::vector<unsigned char>& payload, uint32_t dstLen, uint32_t maxWidth) {
    return decodeWith<LzwDecoder>(payload, dstLen, maxWidth);
}

Decoded decodeLiteral(const std::vector<unsigned char>& payload, uint32_t dstLen, uint32_t maxWidth) {
    return decodeWith<LiteralLzwDecoder>(payload, dstLen, maxWidth);
}

std::vector<unsigned char> randomBytes(size_t size, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<unsigned char> bytes(size);
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(rng());
    return bytes;
}

std::vector<unsigned char> textLike(size_t size, uint32_t seed) {
    static const char* const words[] = {"install", "the", "screen", "saver", "Vantorel", "folder",
                                        "of", "shortcut", "registry", "a", "version", "file",
                                        "<p>", "</p>", "and", "to", "uninstall", "window"};
    std::mt19937 rng(seed);
    std::vector<unsigned char> bytes;
    bytes.reserve(size);
    while (bytes.size() < size) {
        std::string piece = words[rng() % (sizeof words / sizeof *words)];
        if (rng() % 7 == 0) piece = std::to_string(rng() % 10000);
        piece += rng() % 11 == 0 ? "\r\n" : " ";
        bytes.insert(bytes.end(), piece.begin(), piece.end());
    }
    bytes.resize(size);
    return bytes;
}
