#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <list>
#include <random>
#include <stdexcept>
#include <string>

#include "engine/PathNames.h"
#include "installset/InstallSet.h"
#include "installset/PackedResource.h"
#include "tests/support/ScopedResource.h"
#include "tests/support/TempSandbox.h"
#include "tools/pack/InstallSetOutput.h"
#include "tools/pack/LzwEncoder.h"
#include "tools/pack/Manifest.h"
#include "tools/pack/OutputFolder.h"
#include "tools/pack/PackedFile.h"

namespace {

typedef std::vector<unsigned char> Bytes;

const char* const manifest =
    "# product files\n"
    "FILEGROUP|Default\n"
    "\n"
    "FILESET|VANTOREL000|Default|%APP%\\readme.txt|Read me|Y\n"
    "FILESET|VANTOREL001|Default|%WIN%\\tool.exe\n"
    "FILESET|VANTOREL000|Default|%APP%\\doc\\readme.txt\n"
    "FILE|VANTOREL000|files/readme.txt\n"
    "FILE|VANTOREL001|@BIN@/tool.exe|stored\n"
    "FILE|TESSALY_UNINSTALLER|@BIN@/tool.exe\n";

class PackTool : public SandboxTest {
protected:
    std::string at(const std::string& name) const { return sandbox.root() + "/" + name; }
    void write(const std::string& name, const std::string& bytes) { sandbox.writeHostFile(at(name), bytes); }
    // What the builder refuses this manifest with, from the manifest's name on.
    std::string refusal(const std::string& text) {
        write("m.txt", text);
        try {
            buildInstallSet(readManifest(at("m.txt"), at("bin")));
        } catch (const ManifestError& e) {
            std::string message = e.what();
            return message.substr(message.find("m.txt"));
        }
        return "";
    }
};

std::string output(const std::vector<OutputFile>& outputs, const std::string& name) {
    for (const OutputFile& o : outputs)
        if (o.name == name) return std::string(o.bytes.begin(), o.bytes.end());
    ADD_FAILURE() << "no output " << name;
    return "";
}

// Runs vantorel-pack: whether it exited with 0, and its standard output in *out.
bool runPackTool(const std::string& arguments, std::string* out) {
    std::string command = std::string(VANTOREL_BINARY_DIR) + "/bin/vantorel-pack " + arguments + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    char chunk[4096];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) out->append(chunk, got);
    return pclose(pipe) == 0;
}

}  // namespace

TEST_F(PackTool, BuildsTablesResourcesAndScriptsThatTheSetupReads) {
    std::string readme;
    for (int i = 0; i < 400; ++i) readme += "Vantorel reads the screen, line " + std::to_string(i % 9) + "\n";
    write("files/readme.txt", readme);
    write("bin/tool.exe", std::string("MZ\x90\0\3\0\0\0", 8) + std::string(3000, '\0'));
    write("m.txt", manifest);
    std::vector<OutputFile> outputs = buildInstallSet(readManifest(at("m.txt"), at("bin")));
    std::vector<OutputFile> again = buildInstallSet(readManifest(at("m.txt"), at("bin")));
    for (size_t i = 0; i < outputs.size(); ++i) EXPECT_TRUE(outputs[i].bytes == again[i].bytes) << "same bytes again";
    EXPECT_EQ(output(outputs, "FILESIZE.bin"),
              "VANTOREL000|" + std::to_string(readme.size()) + '\0' + "VANTOREL001|3008" + std::string(3, '\0'));
    EXPECT_EQ(output(outputs, "installset_host.cpp").find(sandbox.root()), std::string::npos) << "no machine paths";
    EXPECT_EQ(packFile({0x13, 0xF7, 0x02, 0x99}, false)[7], 0) << "noise that does not shrink is stored";

    // The setup's own reading of what was built.
    std::list<ScopedResource> resources;
    for (std::string t : {"FILEGROUP", "FILESET", "FILESIZE"}) resources.emplace_back(t, "VANTOREL", output(outputs, t + ".bin"));
    for (std::string name : {"VANTOREL000", "VANTOREL001", "TESSALY_UNINSTALLER"})
        resources.emplace_back("LZF", name, output(outputs, name + ".lzf"));
    InstallSet set;
    EXPECT_TRUE(set.parseInstallSet("VANTOREL").isNull());
    EXPECT_TRUE(set.checkPackedResources().isNull());
    ASSERT_EQ(set.entries.size(), 2);
    EXPECT_EQ(set.entries[0]->destinations.size(), 2);
    // What each file unpacks to is checked on the shipped install set, which this builder makes.
    EXPECT_EQ(output(outputs, "VANTOREL000.lzf")[7], packFile(Bytes(readme.begin(), readme.end()), false)[7])
        << "text compresses, with its own width";
    std::string out;
    const std::string pack = "pack '" + at("m.txt") + "' '" + at("out") + "' --bin '" + at("bin") + "' --width ";
    for (const char* refused : {"8", "17", "", "x", "012"}) EXPECT_FALSE(runPackTool(pack + "'" + refused + "'", &out)) << refused;
    EXPECT_TRUE(runPackTool(pack + "12", &out));
    EXPECT_EQ(sandbox.readHostFile(at("out/VANTOREL000.lzf"))[7], 12) << "a width forced";
    EXPECT_EQ(output(outputs, "VANTOREL001.lzf")[7], 0) << "stored as asked";
}

TEST_F(PackTool, RefusesWhatTheSetupWouldRefuseOrCouldNotRemove) {
    write("files/a.txt", "a");
    const std::string tail = "FILE|A1|files/a.txt\n";
    auto row = [&](const std::string& fileSet) { return refusal("FILEGROUP|Default\n" + fileSet + "\n" + tail); };
    EXPECT_EQ(row(std::string("FILESET|A1|Default|%APP%\\a\0b.txt", 32)), "m.txt:2: a field holds a NUL byte");
    // A field too few or too many.
    for (const char* fileSet : {"FILESET|A1|Default", "FILESET|A1|Default|%APP%\\a.txt|T|Y|more"})
        EXPECT_EQ(row(fileSet), "m.txt:2: FILESET row needs resource|group|destination[|title[|desktop flag]]");
    EXPECT_EQ(row("FILESET|A 1|Default|%APP%\\x"), "m.txt:2: bad resource name 'A 1'");
    EXPECT_EQ(row("FILESET|A1|Default|%APP%\\..\\a.txt"), "m.txt:2: destination has a '..' component");
    EXPECT_EQ(row("FILESET|A1|Default|%APP%\\doc\\.\\a.txt"), "m.txt:2: destination has a '.' component");
    EXPECT_EQ(row("FILESET|A1|Default|%APPDIR%\\a.txt"), "m.txt:2: unknown location macro '%APPDIR%' in destination");
    EXPECT_EQ(row("FILESET|A1|Default|%APP%a.txt"), "m.txt:2: destination needs a backslash and a file name after %APP%");
    EXPECT_EQ(row("FILESET|A1|Default|%APP%\\doc\\\\a.txt"), "m.txt:2: destination has an empty folder or file name");
    EXPECT_EQ(row("FILESET|A1|Default|%APP%\\a.txt|Help\\Index"),
              "m.txt:2: shortcut title 'Help\\Index' is not a file name: a path separator or a character Windows refuses");
    EXPECT_EQ(row("FILESET|A1|Default|%APP%\\a.txt|Help|N"), "m.txt:2: desktop flag must be Y or empty, not 'N'");
    EXPECT_EQ(row("FILESET|A1|Default|%APP%\\a.txt|Help|Y"), "");
    // Names are UTF-8: any script goes, bytes of a code page do not.
    EXPECT_EQ(row("FILESET|A1|Default|%APP%\\Доки\\表示.txt|Справка|Y"), "");
    EXPECT_EQ(row("FILESET|A1|Default|%APP%\\\x95\x5C.txt"), "m.txt:2: the line is not UTF-8 text");

    EXPECT_EQ(refusal("FILE|A1|missing.txt\n").substr(0, 20), "m.txt:1: cannot read");
    std::filesystem::create_directories(at("files/folder"));
    EXPECT_EQ(refusal("FILE|A1|files/folder\n"), "m.txt:1: source " + at("files/folder") + " is a folder, not a file");
    // Sparse: refused from its size, never read.
    write("files/huge.bin", "");
    std::filesystem::resize_file(at("files/huge.bin"), 2147483648u);
    EXPECT_EQ(refusal("FILE|A1|files/huge.bin\n"),
              "m.txt:1: source " + at("files/huge.bin") + " has 2147483648 bytes; the setup takes files of up to 2147483647 bytes");
}

// What the builder packs, the uninstaller removes again: a destination is
// refused exactly when its installed path is one the uninstaller would not
// touch.
TEST_F(PackTool, PacksOnlyNamesTheUninstallerRemoves) {
    write("files/a.txt", "a");
    for (std::string name : {"readme.", "dir \\y.txt", "doc\\x. .", "a:b", "a\tb", "..\\x", "...",
                             "readme.txt", " lead.txt", "a b\\.hidden\\c.txt", "x..y", "dir\\ y.txt",
                             "aux.txt", "doc\\NUL", "COM1\\x.txt", "console.txt"}) {
        std::string refused =
            refusal("FILEGROUP|Default\nFILESET|A1|Default|%APP%\\" + name + "\nFILE|A1|files/a.txt\n");
        EXPECT_EQ(refused.empty(), isPlainPath(("C:\\Games\\Vantorel\\" + name).c_str()))
            << name << ": " << refused;
    }
    EXPECT_EQ(refusal("FILEGROUP|Default\nFILESET|A1|Default|%APP%\\dir \\y.txt\nFILE|A1|files/a.txt\n"),
              "m.txt:2: destination has the name 'dir ', which ends in a dot or blank that Windows drops");
    EXPECT_EQ(refusal("FILEGROUP|Default\nFILESET|A1|Default|%APP%\\aux.txt\nFILE|A1|files/a.txt\n"),
              "m.txt:2: destination has the name 'aux.txt', which Windows keeps for a device");
}

TEST_F(PackTool, WarnsAboutRowsTheUninstallerOrTheGroupsLeaveOut) {
    write("files/a.txt", "a");
    write("m.txt", "FILEGROUP|Default\nFILESET|A1|Default|C:\\a.txt\nFILESET|A1|Extra|%APP%\\a.txt\n"
                   "FILE|A1|files/a.txt\n");
    std::string warnings;
    for (const std::string& w : readManifest(at("m.txt"), "").warnings) warnings += w.substr(w.find("m.txt")) + "\n";
    EXPECT_EQ(warnings, "m.txt:2: warning: destination C:\\a.txt has no location macro: the setup writes it, "
                        "but the uninstaller cannot remove it\n"
                        "m.txt:3: warning: group Extra is not a FILEGROUP row: the setup installs only its own "
                        "groups, and this row perhaps never\n");
}

TEST_F(PackTool, AFailedPackLeavesTheOutputFolderAsItWas) {
    write("out/FILESET.bin", "old table");
    write("out/A1.lzf", "old packed file");
    std::filesystem::create_directories(at("out/B2.lzf"));  // cannot become a file
    std::vector<OutputFile> outputs{{"FILESET.bin", {'n', 'e', 'w'}}, {"A1.lzf", {'n'}}, {"B2.lzf", {'n'}}};
    EXPECT_THROW(writeOutputFolder(at("out"), outputs), std::runtime_error);
    EXPECT_EQ(sandbox.readHostFile(at("out/FILESET.bin")), "old table");
    EXPECT_EQ(sandbox.readHostFile(at("out/A1.lzf")), "old packed file");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(at("out")), {}), 3)
        << "no temporaries left";

    outputs.pop_back();
    writeOutputFolder(at("out"), outputs);
    EXPECT_EQ(sandbox.readHostFile(at("out/FILESET.bin")), "new");
    EXPECT_THROW(writeOutputFolder(at("missing/deeper"), {{"B2.lzf/x", {'n'}}}), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(at("missing/deeper")));
}

TEST_F(PackTool, UnpackWritesToStandardOutputAFileOrADevice) {
    std::string text, out;
    for (int i = 0; i < 5000; ++i) text += "line " + std::to_string(i % 77) + " of the unpack test\n";
    std::vector<unsigned char> packed = packFile(std::vector<unsigned char>(text.begin(), text.end()), false);
    write("TEXT.lzf", std::string(packed.begin(), packed.end()));
    EXPECT_TRUE(runPackTool("unpack '" + at("TEXT.lzf") + "' -", &out));
    EXPECT_TRUE(out == text);
    EXPECT_TRUE(runPackTool("unpack '" + at("TEXT.lzf") + "' '" + at("out.txt") + "'", &out));
    EXPECT_TRUE(sandbox.readHostFile(at("out.txt")) == text);
    // A device is written into, never replaced by a file renamed over it.
    EXPECT_TRUE(runPackTool("unpack '" + at("TEXT.lzf") + "' /dev/null", &out));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));

    std::string tool = std::string(VANTOREL_BINARY_DIR) + "/bin/vantorel-pack";
    EXPECT_NE(std::system(("'" + tool + "' unpack '" + at("TEXT.lzf") + "' - >/dev/full 2>/dev/null").c_str()), 0)
        << "a write that fails";
    Bytes stored = packFile({0x13, 0xF7, 0x02, 0x99}, false);
    write("STORED.lzf", std::string(stored.begin(), stored.end()));
    out.clear();
    EXPECT_TRUE(runPackTool("unpack '" + at("STORED.lzf") + "' -", &out));
    EXPECT_EQ(out, "\x13\xF7\x02\x99");

    packed[13] ^= 1;  // the unpacked checksum: found only once the bytes went out
    write("BAD.lzf", std::string(packed.begin(), packed.end()));
    EXPECT_FALSE(runPackTool("unpack '" + at("BAD.lzf") + "' -", &out));
    packed[packed.size() - 1] ^= 1;
    write("BAD.lzf", std::string(packed.begin(), packed.end()));
    out.clear();
    EXPECT_FALSE(runPackTool("unpack '" + at("BAD.lzf") + "' -", &out));
    EXPECT_EQ(out, "") << "nothing of a resource whose payload is bad";
}

namespace {

// What the setup reads back: the width from the header, the bytes, both checks.
Bytes unpackedBytes(const Bytes& resource) {
    const unsigned char* data = nullptr;
    uint32_t length = 0;
    bool mustFree = false;
    ErrorHandle result = unpackPackedBytes("TEST", resource.data(), uint32_t(resource.size()), &data, &length, &mustFree);
    EXPECT_FALSE(isFailure(result)) << reportText(result).text();
    Bytes bytes(data, data + length);
    if (mustFree) std::free(const_cast<unsigned char*>(data));
    return bytes;
}

}  // namespace

// Small files try every width: a program's parts want a table that starts
// over early, a long run of alike lines a wide one. A large file is tried at
// the widest and narrower only where its samples leave them a chance; the
// widest must not be kept where a narrower one is clearly smaller.
TEST(PackWidth, EachFileGetsTheWidthThatPacksItSmallest) {
    std::mt19937 rng(22);
    auto words = [&](size_t count, size_t vocabulary, uint32_t seed) {
        std::mt19937 pick(seed);
        std::vector<std::string> list(vocabulary);
        for (std::string& word : list)
            for (uint32_t n = 3 + pick() % 6; n > 0; --n) word += char('a' + pick() % 26);
        std::string text;
        while (text.size() < count) text += list[rng() % vocabulary] + (rng() % 7 ? " " : ".\n");
        return text;
    };
    // Parts of 3 KB with words of their own: what one part's table holds is
    // no use in the next, so narrow tables, starting over often, win.
    std::string lines = words(200000, 3000, 1), parts;
    for (uint32_t part = 0; parts.size() < 600000; ++part) parts += words(3000, 40, part);
    const size_t sampled = 65536;  // above this, the parts are searched as a large file is
    const std::pair<const std::string*, size_t> inputs[] = {
        {&lines, exhaustiveWidthLimit}, {&parts, parts.size()}, {&parts, sampled}};
    for (const auto& [input, limit] : inputs) {
        const unsigned char* data = reinterpret_cast<const unsigned char*>(input->data());
        LzwChoice choice = smallestLzw(data, input->size(), limit);
        EXPECT_TRUE(choice.payload == lzwEncode(data, input->size(), choice.width)) << choice.width;
        // Sampled, the choice may miss the best by a hair, never by a percent.
        size_t slack = input->size() <= limit ? 0 : choice.payload.size() / 100;
        for (uint32_t width = 9; width <= 16; ++width)
            EXPECT_GE(lzwEncode(data, input->size(), width).size() + slack, choice.payload.size() + (width < choice.width))
                << width << " packs smaller than " << choice.width << ", or as small and narrower";
        EXPECT_TRUE(input == &lines ? choice.width == 16 : choice.width < 14)
            << choice.width << ": the lines want a wide table, the parts one that starts over often";
    }
    Bytes text(lines.begin(), lines.end()), resource = packFile(text, false);
    EXPECT_EQ(resource[7], 16);
    EXPECT_TRUE(unpackedBytes(resource) == text) << "the setup reads the width from the header";
    Bytes noise(200000);
    for (unsigned char& byte : noise) byte = static_cast<unsigned char>(rng());
    Bytes stored = packFile(noise, false);
    EXPECT_EQ(stored[7], 0) << "no width packs noise: stored";
    EXPECT_TRUE(unpackedBytes(stored) == noise);
    EXPECT_GE(smallestLzw(noise.data(), noise.size(), sampled).payload.size(), noise.size()) << "nor sampled";
}
