// Every packed file VantorelSetup.exe carries passes the checks the setup
// runs before it writes a byte, and unpacks to the product file it was made
// from.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "PayloadFiles.h"
#include "installset/Crc16.h"
#include "installset/InstallSet.h"
#include "installset/PackedResource.h"

namespace {

struct Unpacked {
    ErrorHandle report;
    std::vector<unsigned char> bytes;
};

Unpacked unpack(const std::string& name) {
    const unsigned char* data = nullptr;
    uint32_t length = 0;
    bool mustFree = false;
    Unpacked out;
    out.report = unpackResource(String(name.c_str()), &data, &length, &mustFree);
    if (!isFailure(out.report)) {
        out.bytes.assign(data, data + length);
        if (mustFree) std::free(const_cast<unsigned char*>(data));
    }
    return out;
}

uint32_t bigEndian32(const std::vector<unsigned char>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) << 24 | static_cast<uint32_t>(b[at + 1]) << 16 |
           static_cast<uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

// The FILE rows of the manifest: resource name and source path as written.
std::vector<std::pair<std::string, std::string>> manifestFiles() {
    std::ifstream in(sourceDir() + "/payload/manifest");
    std::vector<std::pair<std::string, std::string>> rows;
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("FILE|", 0) == 0) {
            std::vector<std::string> f = fields(line);
            rows.emplace_back(f[1], f[2]);
        }
    return rows;
}

// dwFileVersionMS and LS of the VS_FIXEDFILEINFO in a program's bytes.
bool fileVersion(const std::vector<unsigned char>& program, uint32_t* ms, uint32_t* ls) {
    const unsigned char signature[] = {0xBD, 0x04, 0xEF, 0xFE};
    for (size_t i = 0; i + 16 <= program.size(); ++i)
        if (std::equal(signature, signature + 4, program.begin() + i)) {
            auto le = [&](size_t at) {
                return static_cast<uint32_t>(program[at]) | program[at + 1] << 8 |
                       program[at + 2] << 16 | static_cast<uint32_t>(program[at + 3]) << 24;
            };
            *ms = le(i + 8);
            *ls = le(i + 12);
            return true;
        }
    return false;
}

}  // namespace

TEST(ShippedPackedFiles, TheSetupReadsTheTablesAndFindsEveryPackedFile) {
    InstallSet set;
    ASSERT_FALSE(isFailure(set.parseInstallSet("VANTOREL")));
    ASSERT_FALSE(isFailure(set.checkPackedResources()));
    ASSERT_EQ(set.entries.size(), 25);
    FileSetEntry* program = set.findEntry("VANTOREL001");
    ASSERT_NE(program, nullptr);
    ASSERT_EQ(program->destinations.size(), 1);
    EXPECT_STREQ(program->destinations[0]->title.text(), "Vantorel");
    EXPECT_EQ(program->destinations[0]->desktop, 1);
}

TEST(ShippedPackedFiles, EachUnpacksToTheSizeFilesizeGives) {
    for (const std::string& row : tableRows("FILESIZE")) {
        std::vector<std::string> f = fields(row);
        Unpacked u = unpack(f[0]);
        ASSERT_FALSE(isFailure(u.report)) << f[0] << ": " << u.report.message().text();
        EXPECT_EQ(std::to_string(u.bytes.size()), f[1]) << f[0];
    }
}

TEST(ShippedPackedFiles, EachUnpacksToTheFileItWasMadeFrom) {
    std::vector<std::pair<std::string, std::string>> files = manifestFiles();
    ASSERT_EQ(files.size(), 26u);
    for (const auto& [name, source] : files) {
        std::string path = source.rfind("@BIN@/", 0) == 0
                               ? std::string(VANTOREL_WINDOWS_BIN_DIR) + source.substr(5)
                               : sourceDir() + "/payload/" + source;
        Unpacked u = unpack(name);
        ASSERT_FALSE(isFailure(u.report)) << name << ": " << u.report.message().text();
        if (source.rfind("@BIN@/", 0) == 0 && !std::filesystem::exists(path)) continue;
        EXPECT_TRUE(u.bytes == readFileBytes(path)) << name << " differs from " << source;
    }
}

TEST(ShippedPackedFiles, OnlyTheLogoIsStoredAndEveryOtherFileUsesWidth14) {
    for (const auto& [name, source] : manifestFiles()) {
        std::vector<unsigned char> raw = resourceBytes("LZF", name);
        ASSERT_GE(raw.size(), 20u) << name;
        uint32_t method = bigEndian32(raw, 4);
        if (name == "VANTOREL011") {
            EXPECT_EQ(method, 0u);
            EXPECT_EQ(bigEndian32(raw, 8), 779u);
            EXPECT_EQ(crc16(raw.data() + 20, static_cast<uint32_t>(raw.size() - 20), 0), 0x020F);
        } else {
            EXPECT_EQ(method, 14u) << name;
        }
    }
}

TEST(ShippedPackedFiles, TheLargestFileTakesSeveralTableResetsToDecode) {
    std::string largest;
    uint32_t largestLength = 0, packedLength = 0;
    for (const auto& [name, source] : manifestFiles()) {
        std::vector<unsigned char> raw = resourceBytes("LZF", name);
        ASSERT_GE(raw.size(), 20u) << name;
        if (bigEndian32(raw, 8) > largestLength) {
            largest = name;
            largestLength = bigEndian32(raw, 8);
            packedLength = bigEndian32(raw, 14);
        }
    }
    EXPECT_GE(largestLength, 150000u) << largest;
    EXPECT_LE(largestLength, 200000u) << largest;
    // Between two resets the decoder reads 256 codes of 9 bits, 512 of 10, and
    // so on up to 8192 of 14: a fixed number of bits. A payload longer than
    // three such runs has been through at least three resets.
    uint64_t bitsPerFill = 0;
    for (int width = 9; width <= 14; ++width) bitsPerFill += (uint64_t{1} << (width - 1)) * width;
    EXPECT_GT(uint64_t{packedLength} * 8, 3 * bitsPerFill) << largest;
    Unpacked u = unpack(largest);
    EXPECT_FALSE(isFailure(u.report)) << u.report.message().text();
}

TEST(ShippedPackedFiles, ProgramsCarryTheirVersions) {
    uint32_t ms = 0, ls = 0;
    Unpacked uninstaller = unpack("TESSALY_UNINSTALLER");
    ASSERT_FALSE(isFailure(uninstaller.report));
    ASSERT_GE(uninstaller.bytes.size(), 2u);
    EXPECT_EQ(uninstaller.bytes[0], 'M');
    ASSERT_TRUE(fileVersion(uninstaller.bytes, &ms, &ls));
    EXPECT_EQ(ms, 0x00010000u);
    EXPECT_EQ(ls, 0x00000001u);

    for (const char* name : {"VANTOREL001", "VANTOREL004"}) {
        Unpacked program = unpack(name);
        ASSERT_FALSE(isFailure(program.report)) << name;
        ASSERT_TRUE(fileVersion(program.bytes, &ms, &ls)) << name;
        EXPECT_EQ(ms, 0x0000005Eu) << name;  // 0.94
    }
}
