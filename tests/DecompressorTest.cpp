#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installset/Crc16.h"
#include "tests/support/LzwStreams.h"
#include "tools/pack/LzwEncoder.h"

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Both decoders, which must agree on every byte and every report.
Decoded decodeBoth(const Bytes& payload, uint32_t dstLen, uint32_t maxWidth) {
    Decoded fast = decodeFast(payload, dstLen, maxWidth);
    Decoded literal = decodeLiteral(payload, dstLen, maxWidth);
    EXPECT_EQ(fast.report, literal.report);
    EXPECT_TRUE(fast.bytes == literal.bytes) << "outputs differ";
    return fast;
}

}  // namespace

TEST(Crc16, PublishedCheckValues) {
    EXPECT_EQ(crc16(reinterpret_cast<const unsigned char*>("123456789"), 9, 0), 0x2189);
    EXPECT_EQ(crc16(reinterpret_cast<const unsigned char*>("abc"), 3, 0), 0x58E9);
    EXPECT_EQ(crc16(nullptr, 0, 0), 0);
    EXPECT_EQ(crc16(nullptr, 0, 0x1234), 0x1234);
}

TEST(Decompressor, WorkedExamples) {
    Decoded two = decodeBoth({0x61, 0x31, 0x00}, 2, 14);
    EXPECT_EQ(two.report, "");
    EXPECT_EQ(two.bytes, bytesOf("ab"));
    Decoded undefinedCode = decodeBoth({0x61, 0x00, 0x40}, 3, 14);
    EXPECT_EQ(undefinedCode.report, "");
    EXPECT_EQ(undefinedCode.bytes, bytesOf("aaa"));
    Decoded definedCode = decodeBoth({0x61, 0x31, 0x00, 0x20}, 4, 14);
    EXPECT_EQ(definedCode.report, "");
    EXPECT_EQ(definedCode.bytes, bytesOf("abab"));
}

TEST(Decompressor, RefusesWhatItCannotUse) {
    const std::string invalid = "Error: Invalid Parameters";
    EXPECT_EQ(decodeBoth({}, 4, 14).report, invalid);
    EXPECT_EQ(decodeBoth({0x61}, 0, 14).report, invalid);
    // Widths that would not fit the table's 16-bit fields, or make no table.
    for (uint32_t width : {0u, 1u, 8u, 17u, 32u, 0xFFFFFFFFu})
        EXPECT_EQ(decodeBoth({0x61, 0x31, 0x00}, 2, width).report, invalid) << width;
}

TEST(Decompressor, LengthMismatchIsDecompressionError) {
    const std::string error = "Error: Decompression error";
    // Input ends first.
    EXPECT_EQ(decodeBoth({0x61, 0x31, 0x00}, 3, 14).report, error);
    // The next string would run past the caller's buffer: stop there.
    Decoded tooLong = decodeBoth({0x61, 0x31, 0x00, 0x20}, 3, 14);
    EXPECT_EQ(tooLong.report, error);
    EXPECT_EQ(tooLong.bytes[2], 0xEE) << "nothing written past the string that fits";
}

TEST(Decompressor, TrailingPaddingIsIgnored) {
    Bytes payload = codeStream({{'a', 9}, {'b', 9}});
    payload.push_back(0);  // still less than a whole further code after the padding bits
    Decoded d = decodeBoth(payload, 2, 14);
    EXPECT_EQ(d.report, "");
    EXPECT_EQ(d.bytes, bytesOf("ab"));
}

TEST(Decompressor, WidthGrowsAfterEntry511) {
    std::vector<std::pair<uint32_t, uint32_t>> codes;
    Bytes expected;
    for (uint32_t i = 0; i < 257; ++i) {  // the first code, then entries 256 to 511
        codes.push_back({i & 0xFF, 9});
        expected.push_back(static_cast<unsigned char>(i));
    }
    codes.push_back({0x141, 10});  // entry 321 = "A" + "B": 0x41 0x42
    expected.push_back(0x41);
    expected.push_back(0x42);
    Decoded d = decodeBoth(codeStream(codes), static_cast<uint32_t>(expected.size()), 14);
    EXPECT_EQ(d.report, "");
    EXPECT_EQ(d.bytes, expected);
}

TEST(Decompressor, FullTableResetsAndFirstNewEntryTakesTheOldCode) {
    // Width 9: the table is full after entry 511, then everything starts over
    // at 9 bits; entry 256 of the new table has the last old code as prefix.
    std::vector<std::pair<uint32_t, uint32_t>> codes;
    Bytes expected;
    for (uint32_t i = 0; i < 256; ++i) {
        codes.push_back({'a', 9});
        expected.push_back('a');
    }
    codes.push_back({300, 9});  // entry 300 is "aaa...", made long before; entry 511 now made
    Decoded before = decodeBoth(codeStream(codes), 0x7FFF, 9);
    size_t producedBefore = 0;
    while (producedBefore < before.bytes.size() && before.bytes[producedBefore] != 0xEE)
        ++producedBefore;
    codes.push_back({'x', 9});  // new entry 256 = prefix 300 (an old code), byte 'x'
    codes.push_back({256, 9});  // walks into entry 300 of the new, empty table
    Decoded after = decodeBoth(codeStream(codes), static_cast<uint32_t>(producedBefore + 4), 9);
    EXPECT_EQ(after.report, "");
    Bytes tail(after.bytes.end() - 4, after.bytes.end());
    EXPECT_EQ(tail, (Bytes{'x', 0x00, 0x00, 'x'}));
}

TEST(Decompressor, UnusedCodesBeyondTheNextDecodeAsThePreviousString) {
    // 300 is not defined yet: "a" followed by its own first byte.
    Decoded d = decodeBoth(codeStream({{'a', 9}, {300, 9}, {'b', 9}}), 4, 14);
    EXPECT_EQ(d.report, "");
    EXPECT_EQ(d.bytes, bytesOf("aaab"));
}

TEST(Decompressor, PrefixCycleOverflowsTheStack) {
    std::vector<std::pair<uint32_t, uint32_t>> codes{{'a', 9}};
    for (uint32_t next = 256; next < 299; ++next) codes.push_back({'a', 9});
    codes.push_back({301, 9});  // entry 299 made, previous = 301 (still unused)
    codes.push_back({300, 9});  // entry 300 = prefix 301
    codes.push_back({'a', 9});  // entry 301 = prefix 300: a cycle
    codes.push_back({300, 9});
    Decoded d = decodeBoth(codeStream(codes), 100000, 14);
    EXPECT_EQ(d.report, "Error: Decompression stack overflow!");
}

TEST(Decompressor, ArbitraryPayloadsDecodeAlikeInBothDecoders) {
    // Random streams reach unused codes, codes past the next one, resets and
    // entries whose prefix came from the old table.
    for (uint32_t seed = 1; seed <= 120; ++seed) {
        uint32_t width = 9 + seed % 8;
        Bytes payload = randomBytes(1 + (seed * 97) % 3000, seed);
        for (uint32_t dstLen : {1u, 7u, 5000u, 200000u}) decodeBoth(payload, dstLen, width);
        if (HasFailure()) {
            ADD_FAILURE() << "seed " << seed << " width " << width;
            return;
        }
    }
}

TEST(LzwRoundTrip, SmallAndRepetitiveInputsAtEveryWidth) {
    std::vector<Bytes> inputs{bytesOf("x"), bytesOf("ab"), Bytes(100000, 'a'), bytesOf("abababababababab"),
                              textLike(60000, 3), randomBytes(50000, 4)};
    for (uint32_t width = 9; width <= 16; ++width) {
        for (const Bytes& input : inputs) {
            Bytes packed = lzwEncode(input.data(), input.size(), width);
            Decoded d = decodeBoth(packed, static_cast<uint32_t>(input.size()), width);
            EXPECT_EQ(d.report, "") << "width " << width << " size " << input.size();
            EXPECT_TRUE(d.bytes == input) << "width " << width << " size " << input.size();
        }
    }
}

TEST(LzwRoundTrip, MultiMegabyteInputsAcrossManyResets) {
    Bytes input = textLike(3 << 20, 5);
    Bytes noise = randomBytes(300000, 6);
    input.insert(input.begin() + 1000000, noise.begin(), noise.end());
    for (uint32_t width : {9u, 12u, 14u, 16u}) {
        Bytes packed = lzwEncode(input.data(), input.size(), width);
        EXPECT_LT(packed.size(), input.size());
        Decoded d = decodeFast(packed, static_cast<uint32_t>(input.size()), width);
        EXPECT_EQ(d.report, "");
        EXPECT_TRUE(d.bytes == input) << "width " << width;
    }
}

TEST(LzwRoundTrip, LongRunsStayWithinTheStackBound) {
    // A string limit below the run lengths forces the encoder to cut matches.
    Bytes input(400000, 'z');
    for (uint32_t longest : {1u, 5u, 700u}) {
        Bytes packed = lzwEncode(input.data(), input.size(), 12, longest);
        Decoded d = decodeBoth(packed, static_cast<uint32_t>(input.size()), 12);
        EXPECT_EQ(d.report, "");
        EXPECT_TRUE(d.bytes == input) << longest;
    }
}
