#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "installset/Crc16.h"
#include "installset/LiteralLzwDecoder.h"
#include "installset/LzwDecoder.h"
#include "tools/pack/LzwEncoder.h"

namespace {

typedef std::vector<unsigned char> Bytes;
typedef std::vector<std::pair<uint32_t, uint32_t>> Codes;  // code, width

// Hand-made streams: the low byte of a code comes first, in its high bits.
Bytes codeStream(const Codes& codes) {
    Bytes out;
    uint32_t bits = 0;
    uint64_t window = 0;
    for (const auto& [code, width] : codes) {
        window = (window << width) | (uint64_t(code & 0xFF) << (width - 8)) | (code >> 8);
        for (bits += width; bits >= 8;) {
            bits -= 8;
            out.push_back(static_cast<unsigned char>(window >> bits));
        }
    }
    if (bits > 0) out.push_back(static_cast<unsigned char>(window << (8 - bits)));
    return out;
}

struct Decoded {
    std::string report;  // empty on success
    std::string bytes;   // the whole output buffer; 0xEE where nothing was written
};

template <typename Decoder>
Decoded decode(const Bytes& payload, uint32_t dstLen, uint32_t maxWidth) {
    Decoded d{"", std::string(dstLen, '\xEE')};
    ErrorHandle r = Decoder(maxWidth).decompress(payload.empty() ? nullptr : payload.data(), uint32_t(payload.size()),
                                                 reinterpret_cast<unsigned char*>(dstLen ? &d.bytes[0] : nullptr), dstLen);
    if (!r.isNull()) d.report = reportText(r).text();
    return d;
}

// The fast decoder must match the literal one on every byte and every report.
Decoded decodeBoth(const Bytes& payload, uint32_t dstLen, uint32_t maxWidth) {
    Decoded fast = decode<LzwDecoder>(payload, dstLen, maxWidth);
    Decoded literal = decode<LiteralLzwDecoder>(payload, dstLen, maxWidth);
    EXPECT_TRUE(fast.report == literal.report && fast.bytes == literal.bytes) << "the decoders differ";
    return fast;
}

// What a stream decodes to, when it decodes without a report.
std::string decoded(const Bytes& payload, uint32_t dstLen, uint32_t maxWidth = 14) {
    Decoded d = decodeBoth(payload, dstLen, maxWidth);
    return d.report + d.bytes;
}

}  // namespace

TEST(Crc16, PublishedCheckValue) {
    EXPECT_EQ(crc16(reinterpret_cast<const unsigned char*>("123456789"), 9, 0), 0x2189);
    EXPECT_EQ(crc16(nullptr, 0, 0x1234), 0x1234);
}

TEST(Decompressor, WorkedExamplesAndOddCodes) {
    EXPECT_EQ(decoded({0x61, 0x31, 0x00}, 2), "ab");
    EXPECT_EQ(decoded({0x61, 0x00, 0x40}, 3), "aaa") << "the code being defined";
    EXPECT_EQ(decoded({0x61, 0x31, 0x00, 0x20}, 4), "abab");
    // A code past the next one decodes as the previous string plus its first byte.
    EXPECT_EQ(decoded(codeStream({{'a', 9}, {300, 9}, {'b', 9}}), 4), "aaab");
    Bytes padded = codeStream({{'a', 9}, {'b', 9}});
    padded.push_back(0);
    EXPECT_EQ(decoded(padded, 2), "ab") << "padding shorter than a code is ignored";
}

TEST(Decompressor, FailuresAndTheirReports) {
    const std::string invalid = "Error: Invalid Parameters", error = "Error: Decompression error";
    EXPECT_EQ(decodeBoth({}, 4, 14).report, invalid);
    EXPECT_EQ(decodeBoth({0x61}, 0, 14).report, invalid);
    for (uint32_t width : {8u, 17u, 0xFFFFFFFFu})  // no table, or past its 16-bit fields
        EXPECT_EQ(decodeBoth({0x61, 0x31, 0x00}, 2, width).report, invalid) << width;
    EXPECT_EQ(decodeBoth({0x61, 0x31, 0x00}, 3, 14).report, error) << "input ends first";
    Decoded tooLong = decodeBoth({0x61, 0x31, 0x00, 0x20}, 3, 14);
    EXPECT_EQ(tooLong.report, error);
    EXPECT_EQ(tooLong.bytes[2], '\xEE') << "nothing written past the string that fits";
    Codes cycle(44, {'a', 9});  // entries 256 to 298
    cycle.insert(cycle.end(), {{301, 9}, {300, 9}, {'a', 9}, {300, 9}});  // 300 -> 301 -> 300
    EXPECT_EQ(decodeBoth(codeStream(cycle), 100000, 14).report, "Error: Decompression stack overflow!");
}

TEST(Decompressor, WidthGrowsAfterEntry511AndAFullTableStartsOver) {
    Codes codes;
    std::string expected;
    for (uint32_t i = 0; i < 257; ++i) {  // the first code, then entries 256 to 511
        codes.push_back({i & 0xFF, 9});
        expected += char(i);
    }
    codes.push_back({0x141, 10});  // entry 321 = "A" + "B"
    EXPECT_EQ(decoded(codeStream(codes), uint32_t(expected.size() + 2)), expected + "AB");

    // At width 9 the table is full once entry 511 is made (256 "a", then 300 = "aa": 258
    // bytes); the new table's entry 256 takes the last old code, 300, as its prefix, and
    // decoding it walks into the new table's still empty entry 300.
    Codes reset(256, {'a', 9});
    reset.insert(reset.end(), {{300, 9}, {'x', 9}, {256, 9}});
    EXPECT_EQ(decoded(codeStream(reset), 258 + 4, 9).substr(258), std::string("x\0\0x", 4));
}

TEST(LzwRoundTrip, EveryWidthManyResetsAndTheStringBound) {
    std::mt19937 rng(6);
    Bytes noise(300000);
    for (unsigned char& b : noise) b = static_cast<unsigned char>(rng());
    std::string text;  // numbered lines: compresses as real text does
    for (uint32_t i = 0; text.size() < (3u << 20); ++i) text += "Vantorel line " + std::to_string(i * 7919 % 65521) + "\r\n";
    Bytes big(text.begin(), text.end());
    big.insert(big.begin() + 1000000, noise.begin(), noise.end());
    for (uint32_t width = 9; width <= 16; ++width) {
        for (const Bytes& input : {Bytes{'x'}, Bytes(100000, 'a'), noise}) {
            std::string expected(input.begin(), input.end());
            EXPECT_EQ(decoded(lzwEncode(input.data(), input.size(), width), uint32_t(input.size()), width), expected)
                << "width " << width;
        }
        Bytes packed = lzwEncode(big.data(), big.size(), width);
        EXPECT_LT(packed.size(), big.size());
        Decoded d = decode<LzwDecoder>(packed, uint32_t(big.size()), width);
        EXPECT_TRUE(d.report.empty() && d.bytes == std::string(big.begin(), big.end())) << "width " << width;
    }
    // A string limit below the run length makes the encoder cut its matches.
    Bytes run(400000, 'z');
    EXPECT_EQ(decoded(lzwEncode(run.data(), run.size(), 12, 700), uint32_t(run.size()), 12), std::string(400000, 'z'));
}
