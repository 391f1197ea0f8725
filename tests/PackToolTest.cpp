#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "installset/InstallSet.h"
#include "installset/PackedResource.h"
#include "tests/support/ScopedResource.h"
#include "tests/support/TempSandbox.h"
#include "tools/pack/InstallSetOutput.h"
#include "tools/pack/Manifest.h"

namespace fs = std::filesystem;

namespace {

class PackTool : public ::testing::Test {
protected:
    void write(const std::string& name, const std::string& bytes) {
        sandbox.writeHostFile((fs::path(sandbox.root()) / name).string(), bytes);
    }
    std::string at(const std::string& name) const { return (fs::path(sandbox.root()) / name).string(); }
    std::string manifestError(const std::string& text) {
        write("m.txt", text);
        try {
            readManifest(at("m.txt"), at("bin"));
        } catch (const ManifestError& e) {
            std::string message = e.what();
            return message.substr(message.find("m.txt"));
        }
        return "";
    }
    const OutputFile& output(const std::vector<OutputFile>& outputs, const std::string& name) {
        for (const OutputFile& o : outputs)
            if (o.name == name) return o;
        throw std::runtime_error("no output " + name);
    }
    TempSandbox sandbox;
};

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

}  // namespace

TEST_F(PackTool, ManifestFaultsNameTheirLine) {
    EXPECT_EQ(manifestError("FILEGROUP|Default\nFILESET|A1|Default\n"),
              "m.txt:2: FILESET row needs resource|group|destination[|title[|desktop flag]]");
    EXPECT_EQ(manifestError("\n#c\nFILE|A1|x|zip\n"), "m.txt:3: FILE row needs resource|source path[|stored]");
    EXPECT_EQ(manifestError("FILE|A1|x\nFILE|A1|y\n"), "m.txt:2: second FILE row for A1");
    EXPECT_EQ(manifestError("FILESET|A1|Default|%APP%\\x\n"), "m.txt:1: no FILE row for A1");
    EXPECT_EQ(manifestError("FILESET|A 1|Default|%APP%\\x\n"), "m.txt:1: bad resource name 'A 1'");
    EXPECT_EQ(manifestError("FILESET|A1||%APP%\\x\nFILE|A1|x\n"),
              "m.txt:1: FILESET row has an empty group or destination");
    EXPECT_EQ(manifestError("FILEZ|A1\n"), "m.txt:1: unknown row type 'FILEZ'");
    EXPECT_EQ(manifestError("FILE|A1|missing.txt\n"), "");
    Manifest m = readManifest(at("m.txt"), "");
    try {
        buildInstallSet(m);
        ADD_FAILURE() << "a missing product file must be refused";
    } catch (const ManifestError& e) {
        EXPECT_NE(std::string(e.what()).find("m.txt:1: cannot read"), std::string::npos) << e.what();
    }
}

TEST_F(PackTool, BuildsTablesResourcesAndScriptsThatTheSetupReads) {
    std::string readme;
    for (int i = 0; i < 400; ++i) readme += "Vantorel reads the screen, line " + std::to_string(i % 9) + "\n";
    write("files/readme.txt", readme);
    write("bin/tool.exe", std::string("MZ\x90\0\3\0\0\0", 8) + std::string(3000, '\0'));
    write("m.txt", manifest);
    std::vector<OutputFile> outputs = buildInstallSet(readManifest(at("m.txt"), at("bin")));

    const OutputFile& fileSize = output(outputs, "FILESIZE.bin");
    EXPECT_EQ(std::string(fileSize.bytes.begin(), fileSize.bytes.end()),
              std::string("VANTOREL000|") + std::to_string(readme.size()) + '\0' + "VANTOREL001|3008" +
                  std::string(3, '\0'));
    const OutputFile& rc = output(outputs, "installset.rc");
    std::string script(rc.bytes.begin(), rc.bytes.end());
    EXPECT_NE(script.find("VANTOREL FILESET \"FILESET.bin\"\n"), std::string::npos);
    EXPECT_NE(script.find("TESSALY_UNINSTALLER LZF \"TESSALY_UNINSTALLER.lzf\"\n"), std::string::npos);
    const OutputFile& host = output(outputs, "installset_host.cpp");
    std::string source(host.bytes.begin(), host.bytes.end());
    EXPECT_NE(source.find("vantorelInstallSetCount = 6u;"), std::string::npos);
    EXPECT_EQ(source.find(sandbox.root()), std::string::npos) << "no machine paths in outputs";

    // The setup's own reading of what was built.
    std::vector<std::unique_ptr<ScopedResource>> resources;
    for (const char* t : {"FILEGROUP", "FILESET", "FILESIZE"})
        resources.emplace_back(new ScopedResource(t, "VANTOREL", output(outputs, std::string(t) + ".bin").bytes));
    for (const char* name : {"VANTOREL000", "VANTOREL001", "TESSALY_UNINSTALLER"})
        resources.emplace_back(new ScopedResource("LZF", name, output(outputs, std::string(name) + ".lzf").bytes));
    InstallSet set;
    EXPECT_TRUE(set.parseInstallSet("VANTOREL").isNull());
    EXPECT_TRUE(set.checkPackedResources().isNull());
    ASSERT_EQ(set.entries.size(), 2);
    EXPECT_EQ(set.entries[0]->destinations.size(), 2);
    EXPECT_EQ(set.entries[0]->destinations[0]->desktop, 1);
    const unsigned char* data = nullptr;
    uint32_t length = 0;
    bool mustFree = false;
    EXPECT_TRUE(unpackResource("VANTOREL000", &data, &length, &mustFree).isNull());
    EXPECT_TRUE(mustFree) << "text compresses";
    EXPECT_EQ(std::string(data, data + length), readme);
    std::free(const_cast<unsigned char*>(data));
    EXPECT_TRUE(unpackResource("VANTOREL001", &data, &length, &mustFree).isNull());
    EXPECT_FALSE(mustFree) << "stored as asked";
    EXPECT_EQ(length, 3008u);
}

TEST_F(PackTool, SameInputsGiveSameBytesAndUntouchedFiles) {
    write("files/readme.txt", std::string(5000, 'v'));
    write("bin/tool.exe", "MZ");
    write("m.txt", manifest);
    std::vector<OutputFile> first = buildInstallSet(readManifest(at("m.txt"), at("bin")));
    std::vector<OutputFile> second = buildInstallSet(readManifest(at("m.txt"), at("bin")));
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].name;

    std::string target = at("out.bin");
    writeIfChanged(target, first[0].bytes);
    fs::file_time_type stamp = fs::last_write_time(target) - std::chrono::hours(1);
    fs::last_write_time(target, stamp);
    writeIfChanged(target, first[0].bytes);
    EXPECT_EQ(fs::last_write_time(target), stamp) << "an unchanged file is not rewritten";
    writeIfChanged(target, first[1].bytes);
    EXPECT_NE(fs::last_write_time(target), stamp);
    EXPECT_THROW(writeIfChanged(at("no/such/folder/x.bin"), first[0].bytes), std::runtime_error);
}

TEST_F(PackTool, CommandLineVerifiesAndRefusesWithTheSetupsMessages) {
    const std::string tool = std::string(VANTOREL_BINARY_DIR) + "/bin/vantorel-pack";
    if (!fs::exists(tool)) GTEST_SKIP() << "vantorel-pack is not built";
    auto run = [&](const std::string& arguments, std::string& output) {
        std::string command = tool + " " + arguments + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        output.clear();
        char buffer[512];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
        return pclose(pipe);
    };
    write("files/readme.txt", std::string(4000, 'r'));
    write("bin/tool.exe", "MZ");
    write("m.txt", manifest);
    std::string out;
    ASSERT_EQ(run("pack " + at("m.txt") + " " + at("set") + " --bin " + at("bin"), out), 0) << out;
    EXPECT_EQ(run("verify " + at("set"), out), 0) << out;
    EXPECT_EQ(run("unpack " + at("set/VANTOREL000.lzf") + " " + at("readme.out"), out), 0) << out;
    EXPECT_EQ(sandbox.readHostFile(at("readme.out")), std::string(4000, 'r'));

    std::string packed = sandbox.readHostFile(at("set/VANTOREL000.lzf"));
    packed[25] ^= 0x40;
    write("set/VANTOREL000.lzf", packed);
    EXPECT_NE(run("verify " + at("set"), out), 0);
    EXPECT_NE(out.find("VANTOREL000.lzf: Error: Install set is corrupt.\nResource \"VANTOREL000\" failed "
                       "CRC check on compressed data."),
              std::string::npos)
        << out;
    EXPECT_NE(run("unpack " + at("set/VANTOREL000.lzf") + " " + at("x"), out), 0);
    EXPECT_NE(run("pack " + at("nothing.txt") + " " + at("set"), out), 0);
    EXPECT_NE(out.find("cannot read manifest"), std::string::npos) << out;
}
