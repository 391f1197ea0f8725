// The install set VantorelSetup.exe carries: tables as the setup and the
// uninstall entry depend on them, and packed files that pass the setup's
// checks and unpack to the product files they were made from.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "installset/InstallSet.h"
#include "installset/PackedResource.h"
#include "platform/Resources.h"

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes resourceBytes(const char* type, const std::string& name) {
    const unsigned char* data = nullptr;
    uint32_t size = 0;
    if (platform::loadResource(type, name.c_str(), &data, &size) != platform::statusOk) return {};
    return Bytes(data, data + size);
}

// Bounded by the resource's size; an unterminated table fails the test.
std::vector<std::string> tableRows(const char* type) {
    Bytes bytes = resourceBytes(type, "VANTOREL");
    std::vector<std::string> rows;
    size_t at = 0;
    for (size_t end; at < bytes.size() && bytes[at] != 0; at = end + 1) {
        for (end = at; end < bytes.size() && bytes[end] != 0;) ++end;
        rows.emplace_back(bytes.begin() + at, bytes.begin() + end);
    }
    EXPECT_LT(at, bytes.size()) << type << " is missing, or no empty row ends it";
    return rows;
}

std::vector<std::string> fields(const std::string& row) {
    std::vector<std::string> out(1);
    for (char c : row) c == '|' ? out.emplace_back() : out.back() += c;
    return out;
}

Bytes unpacked(const std::string& name) {
    const unsigned char* data = nullptr;
    uint32_t length = 0;
    bool mustFree = false;
    ErrorHandle report = unpackResource(String(name.c_str()), &data, &length, &mustFree);
    EXPECT_FALSE(isFailure(report)) << name << ": " << report.message().text();
    if (isFailure(report)) return {};
    Bytes bytes(data, data + length);
    if (mustFree) std::free(const_cast<unsigned char*>(data));
    return bytes;
}

// dwFileVersionMS and LS of the VS_FIXEDFILEINFO in a program's bytes, 0 when there is none.
uint64_t fileVersion(const Bytes& program) {
    const unsigned char signature[] = {0xBD, 0x04, 0xEF, 0xFE};
    uint64_t version = 0;
    for (size_t i = 0; i + 16 <= program.size() && version == 0; ++i)
        if (std::equal(signature, signature + 4, program.begin() + i))
            for (size_t at : {11, 10, 9, 8, 15, 14, 13, 12}) version = version << 8 | program[i + at];
    return version;
}

}  // namespace

// The uninstaller removes only what lies under a location the log records.
// That every row is installed (its group, how many files and links), the
// setup program's test counts.
TEST(ShippedInstallSet, EveryFileGoesToTheProductsFolderOrIsItsScreenSaver) {
    std::vector<std::string> rows = tableRows("FILESET");
    EXPECT_FALSE(rows.empty());
    for (const std::string& row : rows) {
        std::vector<std::string> f = fields(row);
        EXPECT_TRUE(f.size() >= 3 && (f[2] == "%WIN%\\Vantorel.scr" || f[2].rfind("%APP%\\", 0) == 0)) << row;
    }
}

TEST(ShippedInstallSet, EachFileUnpacksToItsSizeAndTheFileItWasMadeFrom) {
    InstallSet set;
    ASSERT_FALSE(isFailure(set.parseInstallSet("VANTOREL")));
    ASSERT_FALSE(isFailure(set.checkPackedResources()));
    for (const std::string& row : tableRows("FILESIZE"))
        EXPECT_EQ(std::to_string(unpacked(fields(row)[0]).size()), fields(row)[1]) << row;
    std::ifstream manifest(std::string(VANTOREL_SOURCE_DIR) + "/payload/manifest");
    int files = 0;
    for (std::string line; std::getline(manifest, line);) {
        if (line.rfind("FILE|", 0) != 0) continue;
        std::string name = fields(line)[1], source = fields(line)[2];
        bool built = source.rfind("@BIN@/", 0) == 0;
        std::ifstream original(built ? VANTOREL_WINDOWS_BIN_DIR + source.substr(5)
                                     : std::string(VANTOREL_SOURCE_DIR) + "/payload/" + source, std::ios::binary);
        Bytes bytes = unpacked(name);
        EXPECT_TRUE(built || original.good()) << source;
        EXPECT_TRUE(!original.good() || bytes == Bytes(std::istreambuf_iterator<char>(original), {})) << name;
        Bytes raw = resourceBytes("LZF", name);
        ASSERT_GE(raw.size(), 20u) << name;
        // Only the logo is stored; the rest each with the width that packs it smallest.
        bool stored = raw[7] == 0, compressed = raw[7] >= 9 && raw[7] <= 16;
        EXPECT_TRUE(raw[4] == 0 && raw[5] == 0 && raw[6] == 0 && (name == "VANTOREL011" ? stored : compressed)) << name;
        ++files;
    }
    EXPECT_EQ(files, 26);
}

// The deployment compares an uninstaller in place with the version it takes
// the carried one to have (1.0.0.1); the carried one must have it.
TEST(ShippedInstallSet, TheCarriedUninstallerHasTheVersionTheDeploymentAssumes) {
    EXPECT_EQ(fileVersion(unpacked("TESSALY_UNINSTALLER")), 0x0001000000000001u);
}
