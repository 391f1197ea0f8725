#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <list>
#include <string>

#include "installset/InstallSet.h"
#include "installset/PackedResource.h"
#include "tests/support/ScopedResource.h"
#include "tests/support/TempSandbox.h"
#include "tools/pack/InstallSetOutput.h"
#include "tools/pack/Manifest.h"
#include "tools/pack/PackedFile.h"

namespace {

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

class PackTool : public ::testing::Test {
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
    std::vector<OutputFile> build(const std::string& readme, const std::string& tool) {
        write("files/readme.txt", readme);
        write("bin/tool.exe", tool);
        write("m.txt", manifest);
        return buildInstallSet(readManifest(at("m.txt"), at("bin")));
    }
    TempSandbox sandbox;
};

std::string output(const std::vector<OutputFile>& outputs, const std::string& name) {
    for (const OutputFile& o : outputs)
        if (o.name == name) return std::string(o.bytes.begin(), o.bytes.end());
    ADD_FAILURE() << "no output " << name;
    return "";
}

}  // namespace

TEST_F(PackTool, ManifestFaultsNameTheirLine) {
    EXPECT_EQ(refusal("FILEGROUP|Default\nFILESET|A1|Default\n"),
              "m.txt:2: FILESET row needs resource|group|destination[|title[|desktop flag]]");
    EXPECT_EQ(refusal("FILESET|A 1|Default|%APP%\\x\n"), "m.txt:1: bad resource name 'A 1'");
    EXPECT_EQ(refusal("FILE|A1|missing.txt\n").substr(0, 20), "m.txt:1: cannot read");
}

TEST_F(PackTool, BuildsTablesResourcesAndScriptsThatTheSetupReads) {
    std::string readme;
    for (int i = 0; i < 400; ++i) readme += "Vantorel reads the screen, line " + std::to_string(i % 9) + "\n";
    std::vector<OutputFile> outputs = build(readme, std::string("MZ\x90\0\3\0\0\0", 8) + std::string(3000, '\0'));
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
    const unsigned char* data = nullptr;
    uint32_t length = 0;
    bool mustFree = false;
    EXPECT_TRUE(unpackResource("VANTOREL000", &data, &length, &mustFree).isNull());
    EXPECT_TRUE(mustFree) << "text compresses";
    EXPECT_EQ(std::string(data, data + length), readme);
    std::free(const_cast<unsigned char*>(data));
    EXPECT_EQ(output(outputs, "VANTOREL001.lzf")[7], 0) << "stored as asked";
}

namespace {

// Runs vantorel-pack; its standard output, and its exit status in *status.
std::string runPackTool(const std::string& arguments, int* status) {
    std::string command = std::string(VANTOREL_BINARY_DIR) + "/bin/vantorel-pack " + arguments + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char chunk[4096];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) out.append(chunk, got);
    *status = pclose(pipe);
    return out;
}

}  // namespace

TEST_F(PackTool, UnpackWritesToStandardOutputAFileOrADevice) {
    std::string text;
    for (int i = 0; i < 5000; ++i) text += "line " + std::to_string(i % 77) + " of the unpack test\n";
    std::vector<unsigned char> packed = packFile(std::vector<unsigned char>(text.begin(), text.end()), false);
    write("TEXT.lzf", std::string(packed.begin(), packed.end()));
    int status = -1;
    EXPECT_TRUE(runPackTool("unpack '" + at("TEXT.lzf") + "' -", &status) == text);
    EXPECT_EQ(status, 0);

    runPackTool("unpack '" + at("TEXT.lzf") + "' '" + at("out.txt") + "'", &status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(sandbox.readHostFile(at("out.txt")) == text);
    // A device is written into, never replaced by a file renamed over it.
    runPackTool("unpack '" + at("TEXT.lzf") + "' /dev/null", &status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));

    packed[packed.size() - 1] ^= 1;
    write("BAD.lzf", std::string(packed.begin(), packed.end()));
    EXPECT_EQ(runPackTool("unpack '" + at("BAD.lzf") + "' -", &status), "") << "nothing of a bad resource";
    EXPECT_NE(status, 0);
}
