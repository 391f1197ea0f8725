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

// The output on success, else the report; the whole buffer (0xEE where nothing was written) in *buffer.
template <typename Decoder>
std::string decode(const Bytes& payload, uint32_t dstLen, uint32_t maxWidth, std::string* buffer) {
    buffer->assign(dstLen, '\xEE');
    ErrorHandle r = Decoder(maxWidth).decompress(payload.empty() ? nullptr : payload.data(), uint32_t(payload.size()),
                                                 reinterpret_cast<unsigned char*>(dstLen ? &(*buffer)[0] : nullptr), dstLen);
    return r.isNull() ? *buffer : std::string(reportText(r).text());
}

// The output through a window of the given size, and the report; pieces
// delivered so far in *delivered, the checksum in *crc. refuseAt: the
// delivery that is refused.
std::string throughWindow(const Bytes& payload, uint32_t dstLen, uint32_t maxWidth, uint32_t window,
                          std::string* delivered, uint16_t* crc = nullptr, int refuseAt = -1) {
    struct Sink {
        std::string* bytes;
        int left;
        static bool take(void* context, const unsigned char* bytes, uint32_t length) {
            Sink* sink = static_cast<Sink*>(context);
            if (sink->left-- == 0) return false;
            sink->bytes->append(reinterpret_cast<const char*>(bytes), length);
            return true;
        }
    } sink{delivered, refuseAt};
    delivered->clear();
    std::vector<unsigned char> room(window);
    LzwOutput output{room.data(), window, Sink::take, &sink};
    uint16_t sum = 0;
    ErrorHandle r = LzwDecoder(maxWidth).decompress(payload.empty() ? nullptr : payload.data(), uint32_t(payload.size()),
                                                    output, dstLen, crc ? crc : &sum);
    return r.isNull() ? *delivered : std::string(reportText(r).text());
}

// The fast decoder must match the literal one on every byte and every report,
// into the caller's buffer and through the smallest window; the checksum it
// takes on the way is that of its output.
std::string decoded(const Bytes& payload, uint32_t dstLen, uint32_t maxWidth = 14, std::string* buffer = nullptr) {
    std::string fastBuffer, literalBuffer, delivered;
    uint16_t windowCrc = 0;
    std::string fast = decode<LzwDecoder>(payload, dstLen, maxWidth, &fastBuffer);
    EXPECT_TRUE(fast == decode<LiteralLzwDecoder>(payload, dstLen, maxWidth, &literalBuffer) && fastBuffer == literalBuffer)
        << "the decoders differ";
    EXPECT_TRUE(throughWindow(payload, dstLen, maxWidth, lzwSmallestWindow, &delivered, &windowCrc) == fast &&
                literalBuffer.compare(0, delivered.size(), delivered) == 0)
        << "the window differs";
    uint16_t sum = crc16(reinterpret_cast<const unsigned char*>(fast.data()), uint32_t(fast.size()), 0);
    EXPECT_TRUE(fast != literalBuffer || windowCrc == sum) << "the checksum on the way";
    if (buffer) *buffer = fastBuffer;
    return fast;
}

}  // namespace

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
    EXPECT_EQ(decoded({}, 4), invalid);
    EXPECT_EQ(decoded({0x61}, 0), invalid);
    for (uint32_t width : {8u, 17u, 0xFFFFFFFFu})  // no table, or past its 16-bit fields
        EXPECT_EQ(decoded({0x61, 0x31, 0x00}, 2, width), invalid) << width;
    EXPECT_EQ(decoded({0x61, 0x31, 0x00}, 3), error) << "input ends first";
    std::string buffer;
    EXPECT_EQ(decoded({0x61, 0x31, 0x00, 0x20}, 3, 14, &buffer), error);
    EXPECT_EQ(buffer, "ab\xEE") << "nothing written past the string that fits";
    Codes cycle(44, {'a', 9});  // entries 256 to 298
    cycle.insert(cycle.end(), {{301, 9}, {300, 9}, {'a', 9}, {300, 9}});  // 300 -> 301 -> 300
    EXPECT_EQ(decoded(codeStream(cycle), 100000), "Error: Decompression stack overflow!");
}

// The fast decoder moves short strings as 16-byte blocks that run past the
// output; where decoding stops early, the caller's buffer past what was
// produced must still hold what it held, as the literal decoder leaves it.
TEST(Decompressor, StoppingEarlyLeavesTheRestOfTheBufferAsItWas) {
    std::string text;
    for (int i = 0; text.size() < 20000; ++i) text += "abc" + std::to_string(i % 13) + (i % 5 ? "xy" : "xyzzy");
    Bytes packed = lzwEncode(reinterpret_cast<const unsigned char*>(text.data()), text.size(), 14);
    const std::string error = "Error: Decompression error";
    std::string buffer;
    EXPECT_EQ(decoded(packed, uint32_t(text.size() + 100), 14, &buffer), error) << "input ends first";
    EXPECT_EQ(buffer.substr(0, text.size()), text);
    EXPECT_EQ(buffer.substr(text.size()), std::string(100, '\xEE'));
    for (size_t cut : {size_t(7), packed.size() / 3, packed.size() - 1})
        EXPECT_EQ(decoded(Bytes(packed.begin(), packed.begin() + long(cut)), uint32_t(text.size()), 14), error) << cut;
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

// The encoder takes shorter matches where that lets the next one reach further;
// whatever it picks, the literal reading of the stream must give the input back,
// across many table resets at every width.
TEST(LzwRoundTrip, EveryWidthManyResetsAndTheStringBound) {
    std::mt19937 rng(6);
    std::string one("x"), run(100000, 'a'), noise(300000, '\0'), text;
    for (char& c : noise) c = char(rng());
    for (uint32_t i = 0; text.size() < (3u << 20); ++i) text += "Vantorel line " + std::to_string(i * 7919 % 65521) + "\r\n";
    text.insert(1000000, noise);  // numbered lines compress as real text does; noise does not
    std::vector<std::string> words(300);
    for (std::string& word : words)
        for (uint32_t n = 2 + rng() % 7; n > 0; --n) word += char('a' + rng() % 12);
    for (uint32_t width = 9; width <= 16; ++width) {
        std::string phrases;  // sharing beginnings and ends, now and then a stretch of noise
        while (phrases.size() < (size_t(24) << width)) {
            phrases += words[rng() % words.size()] + (rng() % 3 ? " " : words[rng() % 40]);
            if (rng() % 500 == 0) phrases += noise.substr(rng() % 1000, 40);
        }
        for (const std::string* input : {&one, &run, &noise, &phrases, &text}) {
            Bytes packed = lzwEncode(reinterpret_cast<const unsigned char*>(input->data()), input->size(), width);
            std::string buffer;  // the literal decoder is too slow for the text's megabytes
            EXPECT_TRUE((input == &text ? decode<LzwDecoder>(packed, uint32_t(text.size()), width, &buffer)
                                        : decoded(packed, uint32_t(input->size()), width)) == *input) << width;
            EXPECT_TRUE(input != &text || packed.size() < text.size());
            EXPECT_TRUE(input != &phrases || packed.size() * 8 / width > (size_t(4) << width))
                << "at least four table resets at " << width;
        }
    }
    std::string bound(400000, 'z');  // a string limit below the run length cuts the encoder's matches
    EXPECT_TRUE(decoded(lzwEncode(reinterpret_cast<const unsigned char*>(bound.data()), bound.size(), 12, 700), 400000, 12) == bound);
}

// A window holds a table's strings while later codes may copy them; a table
// whose strings outgrow it goes on with those strings rebuilt link by link.
// Whatever the window's size, the bytes and the reports are those of the
// literal decoder, and a refused piece ends decoding at once.
TEST(Decompressor, ThroughAWindowTheSameBytesAndReports) {
    std::mt19937 rng(30);
    std::string text;
    while (text.size() < 400000) text += "the " + std::to_string(rng() % 3000) + (rng() % 4 ? " tile, " : " isle.\n");
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (uint32_t width : {9u, 12u, 16u}) {
        Bytes packed = lzwEncode(bytes, text.size(), width);
        std::string literal, delivered;
        EXPECT_TRUE(decode<LiteralLzwDecoder>(packed, uint32_t(text.size()), width, &literal) == text);
        for (uint32_t window : {uint32_t(lzwSmallestWindow), uint32_t(lzwSmallestWindow) * 3 / 2, 1u << 20}) {
            uint16_t crc = 0;
            EXPECT_TRUE(throughWindow(packed, uint32_t(text.size()), width, window, &delivered, &crc) == text) << width << " " << window;
            EXPECT_EQ(crc, crc16(bytes, uint32_t(text.size()), 0));
        }
        EXPECT_EQ(throughWindow(packed, uint32_t(text.size()), width, lzwSmallestWindow, &delivered, nullptr, 1),
                  "Error: Decompression error") << "the second piece refused";
        EXPECT_TRUE(!delivered.empty() && delivered.size() < text.size() / 2 && text.compare(0, delivered.size(), delivered) == 0);
    }
    std::vector<unsigned char> small(lzwSmallestWindow - 1);
    EXPECT_STREQ(reportText(LzwDecoder(14).decompress(Bytes{0x61, 0x31, 0x00}.data(), 3, LzwOutput{small.data(), uint32_t(small.size()), nullptr, nullptr}, 2, nullptr)).text(),
                 "Error: Invalid Parameters") << "a window too small for the longest string";
}
