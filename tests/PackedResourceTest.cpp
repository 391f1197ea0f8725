#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "installset/Crc16.h"
#include "installset/PackedHeader.h"
#include "installset/PackedResource.h"
#include "platform/platform.h"
#include "tests/support/LzwStreams.h"
#include "tests/support/ScopedResource.h"
#include "tools/pack/PackedFile.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// The example resource: method 14, both lengths 4, unpacking to "abab".
const Bytes example{0x92, 0x49, 0x24, 0x92, 0x00, 0x00, 0x00, 0x0E, 0x00, 0x00, 0x00, 0x04,
                    0x09, 0x33, 0x00, 0x00, 0x00, 0x04, 0x78, 0x2F, 0x61, 0x31, 0x00, 0x20};

Bytes withHeader(uint32_t method, uint32_t unpackedLength, uint16_t unpackedCrc,
                 const Bytes& payload, int64_t packedLengthOverride = -1) {
    PackedHeader h{packedMagic, method, unpackedLength, unpackedCrc,
                   packedLengthOverride < 0 ? static_cast<uint32_t>(payload.size())
                                            : static_cast<uint32_t>(packedLengthOverride),
                   crc16(payload.data(), static_cast<uint32_t>(payload.size()), 0)};
    Bytes r(packedHeaderSize);
    writePackedHeader(h, r.data());
    r.insert(r.end(), payload.begin(), payload.end());
    return r;
}

Bytes stored(const std::string& text) {
    Bytes payload(text.begin(), text.end());
    return withHeader(packedStored, static_cast<uint32_t>(payload.size()),
                      crc16(payload.data(), static_cast<uint32_t>(payload.size()), 0), payload);
}

struct Unpacked {
    std::string report;
    Bytes bytes;
    bool mustFree = false;
    bool inPlace = false;
};

Unpacked unpack(const Bytes& resource) {
    ScopedResource r("LZF", "VANTOREL007", resource);
    Unpacked u;
    const unsigned char* data = nullptr;
    uint32_t length = 0;
    ErrorHandle result = unpackResource("VANTOREL007", &data, &length, &u.mustFree);
    if (isFailure(result)) {
        u.report = result.message().text();
        return u;
    }
    u.bytes.assign(data, data + length);
    const unsigned char* loaded = nullptr;
    uint32_t size = 0;
    platform::loadResource("LZF", "VANTOREL007", &loaded, &size);
    u.inPlace = data == loaded + packedHeaderSize;
    if (u.mustFree) std::free(const_cast<unsigned char*>(data));
    return u;
}

const std::string corrupt = "Install set is corrupt.\n";

}  // namespace

TEST(UnpackResource, ExampleResourceUnpacksIntoItsOwnBuffer) {
    Unpacked u = unpack(example);
    EXPECT_EQ(u.report, "");
    EXPECT_EQ(u.bytes, (Bytes{0x61, 0x62, 0x61, 0x62}));
    EXPECT_TRUE(u.mustFree);
}

TEST(UnpackResource, StoredResourceIsHandedOutInPlace) {
    Unpacked u = unpack(stored("hello, world"));
    EXPECT_EQ(u.report, "");
    EXPECT_EQ(std::string(u.bytes.begin(), u.bytes.end()), "hello, world");
    EXPECT_FALSE(u.mustFree);
    EXPECT_TRUE(u.inPlace);
    EXPECT_EQ(unpack(stored("")).report, "") << "an empty stored file is a valid one";
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

TEST(UnpackResource, ChecksRunInOrderAndTheFirstFailureNamesIt) {
    // Bad magic with a bad checksum too: the magic is reported, nothing summed.
    Bytes badMagic = example;
    badMagic[0] = 0x93;
    badMagic[23] ^= 1;
    EXPECT_EQ(unpack(badMagic).report, corrupt + "Resource \"VANTOREL007\" has invalid magic number in header.");

    // Longer packed than unpacked is reported for the lengths, even when stored.
    Bytes payload{1, 2, 3, 4, 5};
    EXPECT_EQ(unpack(withHeader(packedStored, 4, 0, payload)).report,
              corrupt + "Resource \"VANTOREL007\" has compressed length 5, expected <= 4.");

    Bytes badPayload = example;
    badPayload[21] ^= 0x10;
    EXPECT_EQ(unpack(badPayload).report, corrupt + "Resource \"VANTOREL007\" failed CRC check on compressed data.");

    Bytes badUnpackedCrc = example;
    badUnpackedCrc[13] ^= 1;
    EXPECT_EQ(unpack(badUnpackedCrc).report,
              corrupt + "Resource \"VANTOREL007\" failed CRC check on uncompressed data.");

    // Stored with disagreeing lengths and CRC fields: the length is reported.
    EXPECT_EQ(unpack(withHeader(packedStored, 6, 0x1111, payload)).report,
              corrupt + "Uncompressed resource \"VANTOREL007\" has length 5, expected = 6.");
    uint16_t good = crc16(payload.data(), 5, 0);
    EXPECT_EQ(unpack(withHeader(packedStored, 5, static_cast<uint16_t>(good ^ 1), payload)).report,
              corrupt + "Uncompressed resource \"VANTOREL007\" failed CRC cross check.");
}

TEST(UnpackResource, DecompressorReportsPassUpUnchanged) {
    Bytes payload{0x61, 0x31, 0x00, 0x20};
    EXPECT_EQ(unpack(withHeader(14, 5, 0, payload)).report, "Decompression error");
    // "ab" then entry 256 twice would make six bytes where five are declared.
    Bytes sixBytes = codeStream({{'a', 9}, {'b', 9}, {256, 9}, {256, 9}});
    EXPECT_EQ(unpack(withHeader(14, 5, 0, sixBytes)).report, "Decompression error");
    EXPECT_EQ(unpack(withHeader(14, 0, 0, {})).report, "Invalid Parameters");
    EXPECT_EQ(unpack(withHeader(14, 4, 0, {})).report, "Invalid Parameters");
    EXPECT_EQ(unpack(withHeader(20, 4, 0x0933, payload)).report, "Invalid Parameters");
    // A length no 4-byte payload could reach is refused before 4 GB is asked for.
    EXPECT_EQ(unpack(withHeader(14, 0xFFFFFFF0u, 0, payload)).report, "Decompression error");
}

TEST(UnpackResource, ShortResourcesAreNeverReadPastTheirEnd) {
    Bytes header(example.begin(), example.begin() + 19);
    EXPECT_EQ(unpack(header).report, corrupt + "Resource \"VANTOREL007\" is 19 bytes long, shorter than its 20-byte header.");
    EXPECT_EQ(unpack({}).report, corrupt + "Resource \"VANTOREL007\" is 0 bytes long, shorter than its 20-byte header.");
    Bytes cut(example.begin(), example.end() - 1);
    EXPECT_EQ(unpack(cut).report, corrupt + "Resource \"VANTOREL007\" has 3 bytes after its header, expected 4.");
    // A packed length near 4 GB must not wrap the comparison.
    Bytes huge = withHeader(packedStored, 0xFFFFFFFFu, 0, {0x61}, 0xFFFFFFFFll);
    EXPECT_EQ(unpack(huge).report, corrupt + "Resource \"VANTOREL007\" has 1 bytes after its header, expected 4294967295.");
}

TEST(UnpackResource, BuilderOutputUnpacksBothWays) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "Vantorel line " + std::to_string(i % 40) + "\n";
    Bytes file(text.begin(), text.end());
    Bytes compressed = packFile(file, false);
    EXPECT_EQ(compressed[7], 14) << "method 14";
    EXPECT_LT(compressed.size(), file.size());
    Unpacked u = unpack(compressed);
    EXPECT_EQ(u.report, "");
    EXPECT_EQ(u.bytes, file);
    Bytes asStored = packFile(file, true);
    EXPECT_EQ(asStored[7], 0);
    EXPECT_EQ(unpack(asStored).bytes, file);
    // Noise does not shrink, so it is stored without being asked.
    Bytes noise{0x13, 0xF7, 0x02, 0x99};
    EXPECT_EQ(packFile(noise, false)[7], 0);
}
