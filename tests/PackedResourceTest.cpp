#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "installset/Crc16.h"
#include "installset/PackedHeader.h"
#include "installset/PackedResource.h"
#include "platform/Resources.h"
#include "tests/support/ScopedResource.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// Method 14, both lengths 4, unpacking to "abab"; its CRCs were worked out by hand,
// so they pin crc16 too.
const Bytes example{0x92, 0x49, 0x24, 0x92, 0x00, 0x00, 0x00, 0x0E, 0x00, 0x00, 0x00, 0x04,
                    0x09, 0x33, 0x00, 0x00, 0x00, 0x04, 0x78, 0x2F, 0x61, 0x31, 0x00, 0x20};
const Bytes five{1, 2, 3, 4, 5}, abab{0x61, 0x31, 0x00, 0x20};

Bytes withHeader(uint32_t method, uint32_t unpackedLength, uint16_t unpackedCrc, const Bytes& payload,
                 int64_t packedLength = -1) {
    uint32_t size = uint32_t(payload.size());
    PackedHeader h{packedMagic, method, unpackedLength, unpackedCrc,
                   packedLength < 0 ? size : uint32_t(packedLength), crc16(payload.data(), size, 0)};
    Bytes r(packedHeaderSize);
    writePackedHeader(h, r.data());
    r.insert(r.end(), payload.begin(), payload.end());
    return r;
}

Bytes damaged(size_t at, unsigned char mask, size_t alsoAt = 0) {
    Bytes b = example;
    b[at] ^= mask;
    if (alsoAt) b[alsoAt] ^= 1;
    return b;
}

// The unpacked bytes, or the failure's message; whether the caller must free them and
// whether they are the resource's own.
std::string unpack(const Bytes& resource, bool* mustFree = nullptr, bool* inPlace = nullptr) {
    ScopedResource r("LZF", "VANTOREL007", resource);
    const unsigned char *data = nullptr, *loaded = nullptr;
    uint32_t length = 0, size = 0;
    bool owned = false;
    ErrorHandle result = unpackResource("VANTOREL007", &data, &length, &owned);
    if (isFailure(result)) return result.message().text();
    std::string bytes(data, data + length);
    platform::loadResource("LZF", "VANTOREL007", &loaded, &size);
    if (inPlace) *inPlace = data == loaded + packedHeaderSize;
    if (mustFree) *mustFree = owned;
    if (owned) std::free(const_cast<unsigned char*>(data));
    return bytes;
}

// A caller's own buffers, counted: what is obtained is either handed out or
// released, with the size it was obtained with.
int obtained = 0, released = 0;
uint32_t lastSize = 0;
bool refuse = false;
unsigned char* obtain(uint32_t size) {
    if (refuse) return nullptr;
    ++obtained;
    lastSize = size;
    return static_cast<unsigned char*>(std::malloc(size));
}
void release(unsigned char* block, uint32_t size) {
    ++released;
    EXPECT_EQ(size, lastSize);
    std::free(block);
}
std::string unpackInto(const Bytes& resource) {
    const UnpackBuffers buffers = {obtain, release};
    const unsigned char* data = nullptr;
    uint32_t length = 0;
    bool mustFree = false;
    ErrorHandle result = unpackPackedBytes("VANTOREL007", resource.data(), uint32_t(resource.size()), &data,
                                           &length, &mustFree, &buffers);
    if (isFailure(result)) return result.message().text();
    std::string bytes(data, data + length);
    if (mustFree) release(const_cast<unsigned char*>(data), length);
    return bytes;
}

// The same through a window, for a caller that passes the bytes on.
std::string unpackTo(const Bytes& resource) {
    struct Sink {
        static bool take(void* context, const unsigned char* bytes, uint32_t length) {
            static_cast<std::string*>(context)->append(reinterpret_cast<const char*>(bytes), length);
            return true;
        }
    };
    std::string delivered;
    std::vector<unsigned char> window(lzwSmallestWindow);
    uint32_t length = 0;
    ErrorHandle result = unpackPackedBytesTo("VANTOREL007", resource.data(), uint32_t(resource.size()),
                                             LzwOutput{window.data(), lzwSmallestWindow, Sink::take, &delivered}, &length);
    if (isFailure(result)) return result.message().text();
    EXPECT_EQ(length, delivered.size());
    return delivered;
}

const std::string corrupt = "Install set is corrupt.\nResource \"VANTOREL007\" ",
                  storedCorrupt = "Install set is corrupt.\nUncompressed resource \"VANTOREL007\" ";

}  // namespace

TEST(UnpackResource, CompressedGetsABufferStoredIsHandedOutInPlace) {
    const Bytes stored = withHeader(packedStored, 5, crc16(five.data(), 5, 0), five);
    bool mustFree = false, inPlace = true;
    EXPECT_EQ(unpack(example, &mustFree, &inPlace), "abab");
    EXPECT_TRUE(mustFree && !inPlace);
    EXPECT_EQ(unpack(stored, &mustFree, &inPlace), "\1\2\3\4\5");
    EXPECT_TRUE(!mustFree && inPlace);
    EXPECT_EQ(unpack(withHeader(packedStored, 0, 0, {})), "") << "an empty stored file is a valid one";
    // The same through a caller's own buffers, which a stored file never needs.
    int before = obtained;
    EXPECT_EQ(unpackInto(example), "abab");
    EXPECT_EQ(unpackInto(stored), "\1\2\3\4\5");
    EXPECT_EQ(obtained, before + 1);
    EXPECT_EQ(unpackTo(example), "abab");
    EXPECT_EQ(unpackTo(stored), "\1\2\3\4\5");
    EXPECT_EQ(released, obtained);
    refuse = true;
    EXPECT_EQ(unpackInto(example), "Invalid Parameters");
    refuse = false;
}

TEST(UnpackResource, MissingOrUnloadableResource) {
    const unsigned char* data = nullptr;
    uint32_t length = 0;
    bool mustFree = true;
    ErrorHandle r = unpackResource("NOSUCH", &data, &length, &mustFree);
    EXPECT_STREQ(reportText(r).text(), "Error: Install set is corrupt.\nCould not find resource \"NOSUCH\".");
    EXPECT_FALSE(mustFree);
    platform::host::putUnloadableResource("LZF", "BROKEN");
    r = unpackResource("BROKEN", &data, &length, &mustFree);
    platform::host::removeResource("LZF", "BROKEN");
    EXPECT_STREQ(r.message().text(), "Install set is corrupt.\nCould not load resource \"BROKEN\".");
    EXPECT_STREQ(unpackResource("X", nullptr, &length, &mustFree).message().text(), "Invalid Parameters");
}

// The checks run in order and the first failure names itself; the decoder's reports
// pass up unchanged; a short resource is never read past its end; a buffer the
// caller lent is released on every failure.
TEST(UnpackResource, EachFaultHasItsOwnReport) {
    const Bytes looping{0x61, 0x00, 0xC0, 0x20, 0x30};  // strings that link into a loop
    const std::pair<Bytes, std::string> cases[] = {
        {damaged(0, 1, 23), corrupt + "has invalid magic number in header."},  // the bad CRC is never reached
        {withHeader(packedStored, 4, 0, five), corrupt + "has compressed length 5, expected <= 4."},
        {damaged(21, 0x10), corrupt + "failed CRC check on compressed data."},
        {damaged(13, 1), corrupt + "failed CRC check on uncompressed data."},
        // Stored, with lengths and CRC fields that disagree: the length is reported first.
        {withHeader(packedStored, 6, 0x1111, five), storedCorrupt + "has length 5, expected = 6."},
        {withHeader(packedStored, 5, crc16(five.data(), 5, 0) ^ 1, five), storedCorrupt + "failed CRC cross check."},
        {withHeader(14, 5, 0, abab), "Decompression error"},
        {withHeader(20, 4, 0x0933, abab), "Invalid Parameters"},
        // A length no 4-byte payload could reach is refused before 4 GB is asked for...
        {withHeader(14, 0xFFFFFFF0u, 0, abab), "Decompression error"},
        // ... but what the decoder finds on the way still decides the report.
        {withHeader(14, 65538, 0, looping), "Decompression stack overflow!"},
        {withHeader(14, 0xFFFFFFF0u, 0, looping), "Decompression stack overflow!"},
        {Bytes(example.begin(), example.begin() + 19), corrupt + "is 19 bytes long, shorter than its 20-byte header."},
        {Bytes(example.begin(), example.end() - 1), corrupt + "has 3 bytes after its header, expected 4."},
        // A packed length near 4 GB must not wrap the comparison.
        {withHeader(packedStored, 0xFFFFFFFFu, 0, {0x61}, 0xFFFFFFFFu),
         corrupt + "has 1 bytes after its header, expected 4294967295."},
    };
    for (const auto& [resource, report] : cases) {
        EXPECT_EQ(unpack(resource), report);
        EXPECT_EQ(unpackInto(resource), report) << "into the caller's buffers";
        EXPECT_EQ(unpackTo(resource), report) << "through a window";
    }
    EXPECT_EQ(released, obtained) << "every buffer obtained is released on failure";
}

// The checksum folds long runs with carry-less multiplications where the
// processor has them: every length and start value gives what the bit-by-bit
// definition gives.
TEST(Crc16, EveryLengthAndStartAsDefined) {
    auto bitwise = [](const unsigned char* bytes, size_t length, uint16_t crc) {
        for (size_t i = 0; i < length; ++i) {
            crc ^= bytes[i];
            for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0x8408 : crc >> 1;
        }
        return crc;
    };
    const unsigned char digits[] = "123456789";
    EXPECT_EQ(crc16(digits, 9, 0), 0x2189);
    EXPECT_EQ(crc16(digits, 0, 0x1234), 0x1234);
    Bytes bytes(70000);
    uint32_t seed = 5;
    for (unsigned char& byte : bytes) byte = static_cast<unsigned char>((seed = seed * 1103515245 + 12345) >> 16);
    for (size_t length : {1, 15, 16, 63, 64, 65, 79, 80, 127, 128, 129, 191, 1000, 4097, 69997})
        for (uint16_t start : {0x0000, 0x0001, 0x8000, 0xBEEF})
            for (size_t at : {0, 3})
                EXPECT_EQ(crc16(bytes.data() + at, uint32_t(length), start), bitwise(bytes.data() + at, length, start))
                    << length << " " << start << " " << at;
}
