// The version reader on small PE images made here, byte by byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/FileVersionInfo.h"
#include "platform/Status.h"
#include "tests/support/TempSandbox.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// Little-endian, as PE files are.
void put(Bytes& b, size_t at, uint32_t v, int width = 4) {
    for (int i = 0; i < width; ++i) b[at + i] = static_cast<unsigned char>(v >> 8 * i);
}

void pad4(Bytes& b) { b.resize((b.size() + 3) & ~size_t(3), 0); }

Bytes utf16(const std::string& text) {
    Bytes b;
    for (char c : text + '\0') b.insert(b.end(), {static_cast<unsigned char>(c), 0});
    return b;
}

// Header, key, value and children, each aligned to 4 bytes; text values
// (type 1) count their length in characters.
Bytes versionNode(const std::string& key, const Bytes& value, uint16_t type, const std::vector<Bytes>& children) {
    Bytes node(6, 0), name = utf16(key);
    node.insert(node.end(), name.begin(), name.end());
    pad4(node);
    node.insert(node.end(), value.begin(), value.end());
    for (const Bytes& child : children) {
        pad4(node);
        node.insert(node.end(), child.begin(), child.end());
    }
    put(node, 0, static_cast<uint32_t>(node.size()), 2);
    put(node, 2, static_cast<uint32_t>(type == 1 ? value.size() / 2 : value.size()), 2);
    put(node, 4, type, 2);
    return node;
}

Bytes fixedInfo(const uint32_t (&words)[13]) {
    Bytes b(52, 0);
    for (int i = 0; i < 13; ++i) put(b, static_cast<size_t>(i) * 4, words[i]);
    return b;
}

// A VS_VERSIONINFO with a string table and, when asked, a translation.
Bytes versionResource(const Bytes& fixed, bool withTranslation, uint16_t language = 0, uint16_t codePage = 0) {
    Bytes table = versionNode("040904E4", {}, 1, {versionNode("FileVersion", utf16("1.0.0.1"), 1, {})});
    std::vector<Bytes> children{versionNode("StringFileInfo", {}, 1, {table})};
    if (withTranslation) {
        Bytes pair(4, 0);
        put(pair, 0, language | uint32_t(codePage) << 16);
        children.push_back(versionNode("VarFileInfo", {}, 1, {versionNode("Translation", pair, 0, {})}));
    }
    return versionNode("VS_VERSION_INFO", fixed, 0, children);
}

// A 32-bit image whose one section holds one resource of the type (16 is RT_VERSION).
Bytes tinyPe(const Bytes& resource, uint32_t type = 16) {
    const uint32_t rawAt = 0x200, rva = 0x1000, dataAt = 0x58;  // data after three directories
    Bytes section(dataAt, 0);
    section.insert(section.end(), resource.begin(), resource.end());
    section.resize((section.size() + 0x1FF) & ~size_t(0x1FF), 0);
    const uint32_t size = static_cast<uint32_t>(section.size());
    // Type, name and language directories with one numbered entry each, then
    // the data entry. Fields are written in ascending order, so that a wide
    // write of a narrow field is overwritten by the next.
    const uint32_t tree[][2] = {{0x0E, 1}, {0x10, type}, {0x14, 0x80000018u}, {0x26, 1},
                                {0x28, 1}, {0x2C, 0x80000030u}, {0x3E, 1}, {0x40, 0x409},
                                {0x44, 0x48}, {0x48, rva + dataAt},
                                {0x4C, static_cast<uint32_t>(resource.size())}};
    for (const auto& f : tree) put(section, f[0], f[1]);
    // MZ stub, PE header (i386, one section), optional header, ".rsrc" section header.
    const uint32_t headers[][2] = {
        {0x00, 'M' | 'Z' << 8}, {0x3C, 0x40}, {0x40, 0x4550}, {0x44, 0x14C}, {0x46, 1},
        {0x54, 0xE0}, {0x56, 0x0102}, {0x58, 0x10B}, {0x78, 0x1000}, {0x7C, 0x200},
        {0xB4, 16}, {0xC8, rva}, {0xCC, size}, {0x138, 'r' << 24 | 's' << 16 | 'r' << 8 | '.'},
        {0x13C, 'c'}, {0x140, size}, {0x144, rva}, {0x148, size}, {0x14C, rawAt}};
    Bytes image(rawAt, 0);
    for (const auto& f : headers) put(image, f[0], f[1]);
    image.insert(image.end(), section.begin(), section.end());
    return image;
}

const uint32_t sample[13] = {0xFEEF04BDu, 0x00010000, 0x00010000, 0x00000001, 0x00020003,
                             0x00040005,  0x3F,       0x0,        0x00040004, 0x1,
                             0x0,         0x01D2C3B4, 0x5A6B7C8D};
const uint32_t zero[13] = {};

class VersionInfo : public SandboxTest {
protected:
    void put(const char* path, const Bytes& bytes) { sandbox.writeHostFile(sandbox.path(path), {bytes.begin(), bytes.end()}); }
    void expectWords(const uint32_t (&words)[13]) {
        for (int i = 0; i < FileVersionInfo::fixedWordCount; ++i)
            EXPECT_EQ(info.fixedWord(i), words[i]) << "word " << i;
    }
    std::string fails(const char* windowsPath) {
        ErrorHandle result = info.readVersionInfo(windowsPath);
        EXPECT_EQ(result.severity(), SeverityError);
        EXPECT_EQ(result.code(), 0);
        return result.message().text();
    }
    FileVersionInfo info;
};

TEST_F(VersionInfo, EachReadReplacesTheLastAndEachFailureNamesTheFile) {
    put("C:\\tools\\tool.exe", tinyPe(versionResource(fixedInfo(sample), true, 0x0407, 0x04B0)));
    ASSERT_TRUE(info.readVersionInfo("C:\\tools\\tool.exe").isNull());
    expectWords(sample);
    EXPECT_EQ(info.language(), 0x0407);
    EXPECT_EQ(info.codePage(), 0x04B0);

    uint32_t other[13] = {0xFEEF04BDu, 0x00010000, 0x00020000, 0x00000007};
    put("C:\\plain.exe", tinyPe(versionResource(fixedInfo(other), false)));
    ASSERT_TRUE(info.readVersionInfo("C:\\plain.exe").isNull());
    expectWords(other);
    EXPECT_EQ(info.language(), 0);
    EXPECT_EQ(info.codePage(), 1252);

    // A failed read leaves nothing of the earlier file behind.
    EXPECT_TRUE(isFailure(info.readVersionInfo("C:\\gone.exe")));
    expectWords(zero);

    // Each failure names the file.
    put("C:\\icon.exe", tinyPe(versionResource(fixedInfo(sample), true), 3));
    put("C:\\notes.txt", Bytes{'h', 'i'});
    for (std::string file : {"C:\\nowhere\\missing.exe", "C:\\icon.exe", "C:\\notes.txt"})
        EXPECT_EQ(fails(file.c_str()), "File " + file + " does not have version info (or does not exist)");

    Bytes shortFixed = fixedInfo(sample);
    shortFixed.resize(40);
    put("C:\\short.exe", tinyPe(versionResource(shortFixed, true)));
    EXPECT_EQ(fails("C:\\short.exe"), "Error reading fixed file info in version info of file C:\\short.exe");

    put("C:\\tool.exe", tinyPe(versionResource(fixedInfo(sample), true)));
    platform::host::failCall(platform::host::Call::fileVersionInfo, 1);
    EXPECT_EQ(fails("C:\\tool.exe"), "Error reading version info of file C:\\tool.exe");

    // A wrong signature is reported after the words are kept.
    uint32_t words[13] = {0x12345678, 0x00010000, 0x00030000, 0x00000002};
    put("C:\\odd.exe", tinyPe(versionResource(fixedInfo(words), true, 0x0409, 0x04E4)));
    EXPECT_EQ(fails("C:\\odd.exe"), "Invalid signature in version info of file C:\\odd.exe");
    expectWords(words);
    EXPECT_EQ(info.language(), 0x0409);
}

// Every cut of a good image fails. A damaged byte of its headers, resource
// tree or version resource gives a report naming the file, or a read of the
// words that are there: the sample's, but for the one damaged byte when it
// lies among them. Never a read outside the file (the sanitizer build
// watches the buffers).
TEST_F(VersionInfo, TruncatedAndDamagedImagesFailCleanly) {
    Bytes good = tinyPe(versionResource(fixedInfo(sample), true, 0x0409, 0x04E4));
    size_t resourceEnd = 0x200 + 0x58 + versionResource(fixedInfo(sample), true).size();
    for (size_t cut = 0; cut < resourceEnd; cut += 7) {
        put("C:\\cut.exe", Bytes(good.begin(), good.begin() + static_cast<long>(cut)));
        EXPECT_TRUE(isFailure(info.readVersionInfo("C:\\cut.exe"))) << "cut at " << cut;
    }
    const size_t fixedAt = 0x200 + 0x58 + 40;  // after the root node's header and key
    for (size_t at = 0; at < resourceEnd; at += 3) {
        if (at >= 0x40 + 24 + 0xE0 + 40 && at < 0x200) continue;  // padding
        Bytes damaged = good;
        damaged[at] ^= 0xFF;
        put("C:\\damaged.exe", damaged);
        ErrorHandle result = info.readVersionInfo("C:\\damaged.exe");
        if (isFailure(result)) {
            EXPECT_NE(std::string(result.message().text()).find("C:\\damaged.exe"), std::string::npos) << at;
            // The MS-DOS header between its magic and the PE offset means nothing to Windows.
            EXPECT_FALSE(at >= 2 && at < 0x3C) << "damaged at " << at << ": " << result.message().text();
            continue;
        }
        for (size_t i = 0; i < 13; ++i) {
            uint32_t expected = sample[i];
            if (at >= fixedAt && (at - fixedAt) / 4 == i) expected ^= 0xFFu << 8 * ((at - fixedAt) % 4);
            EXPECT_EQ(info.fixedWord(static_cast<int>(i)), expected) << "damaged at " << at << ", word " << i;
        }
    }
}

}  // namespace
