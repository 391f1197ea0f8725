// Our reader of version resources against Debian's pefile, on real 32-bit
// PE files: Wine's own libraries and the payload's programs when built.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/FileVersionInfo.h"
#include "tests/support/TempSandbox.h"

namespace fs = std::filesystem;

namespace {

const char* const systemPython = "/usr/bin/python3";

bool isPe32(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char head[64] = {};
    if (!in.read(reinterpret_cast<char*>(head), sizeof head) || head[0] != 'M' || head[1] != 'Z')
        return false;
    uint32_t pe = head[0x3C] | head[0x3D] << 8 | head[0x3E] << 16 | static_cast<uint32_t>(head[0x3F]) << 24;
    unsigned char sig[6] = {};
    in.seekg(pe);
    if (!in.read(reinterpret_cast<char*>(sig), sizeof sig)) return false;
    return sig[0] == 'P' && sig[1] == 'E' && sig[2] == 0 && sig[3] == 0 && sig[4] == 0x4C &&
           sig[5] == 0x01;
}

// Wine's libraries, spread over the alphabet, then the payload's programs.
std::vector<fs::path> samples() {
    std::vector<fs::path> found;
    const char* wineDirs[] = {"/usr/lib/i386-linux-gnu/wine/i386-windows",
                              "/usr/lib/wine/i386-windows",
                              "/usr/lib/x86_64-linux-gnu/wine/i386-windows"};
    for (const char* dir : wineDirs) {
        std::error_code ignored;
        if (!fs::is_directory(dir, ignored)) continue;
        std::vector<fs::path> all;
        for (auto& entry : fs::directory_iterator(dir, ignored)) {
            std::string ext = entry.path().extension().string();
            if (ext == ".dll" || ext == ".exe") all.push_back(entry.path());
        }
        std::sort(all.begin(), all.end());
        size_t step = std::max<size_t>(1, all.size() / 60);
        for (size_t i = 0; i < all.size(); i += step)
            if (isPe32(all[i])) found.push_back(all[i]);
        break;
    }
    fs::path built = fs::path(VANTOREL_SOURCE_DIR) / "build/windows/bin";
    std::error_code ignored;
    if (fs::is_directory(built, ignored))
        for (auto& entry : fs::directory_iterator(built, ignored)) {
            std::string ext = entry.path().extension().string();
            if ((ext == ".exe" || ext == ".scr") && isPe32(entry.path())) found.push_back(entry.path());
        }
    return found;
}

// Index -> pefile's line: "none" or 13 words, language, code page.
std::map<int, std::vector<uint32_t>> pefileVersions(const std::vector<fs::path>& files,
                                                    bool* ran) {
    std::string command = std::string(systemPython) + " " + VANTOREL_SOURCE_DIR +
                          "/tests/support/pefile_versions.py";
    for (const fs::path& f : files) command += " '" + f.string() + "'";
    std::map<int, std::vector<uint32_t>> result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    *ran = ::pclose(pipe) == 0;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        int index;
        fields >> index;
        std::vector<uint32_t> values;
        unsigned long v;
        while (fields >> v) values.push_back(static_cast<uint32_t>(v));
        result[index] = values;
    }
    return result;
}

bool havePefile() {
    std::string probe = std::string(systemPython) + " -c 'import pefile' 2>/dev/null";
    return fs::exists(systemPython) && std::system(probe.c_str()) == 0;
}

TEST(VersionPefileCrossCheck, SameFixedInfoAndTranslationAsPefile) {
    if (!havePefile()) GTEST_SKIP() << "pefile is not installed for /usr/bin/python3 (python3-pefile)";
    std::vector<fs::path> files = samples();
    if (files.size() < 20) GTEST_SKIP() << "fewer than twenty 32-bit PE files (no Wine libraries found)";

    bool ran = false;
    std::map<int, std::vector<uint32_t>> expected = pefileVersions(files, &ran);
    ASSERT_TRUE(ran) << "pefile_versions.py failed";
    ASSERT_EQ(expected.size(), files.size());

    TempSandbox sandbox;
    int withVersion = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].string());
        std::string windowsPath = "C:\\samples\\" + files[i].filename().string();
        fs::create_directories(fs::path(sandbox.path(windowsPath)).parent_path());
        fs::copy_file(files[i], sandbox.path(windowsPath), fs::copy_options::overwrite_existing);
        FileVersionInfo info;
        ErrorHandle result = info.readVersionInfo(windowsPath.c_str());
        const std::vector<uint32_t>& want = expected[static_cast<int>(i)];
        if (want.empty()) {
            EXPECT_TRUE(isFailure(result));
            continue;
        }
        ASSERT_EQ(want.size(), 15u);
        if (want[0] == FileVersionInfo::expectedSignature) {
            EXPECT_TRUE(result.isNull()) << result.message().text();
            ++withVersion;
        }
        for (int w = 0; w < FileVersionInfo::fixedWordCount; ++w)
            EXPECT_EQ(info.fixedWord(w), want[static_cast<size_t>(w)]) << "word " << w;
        EXPECT_EQ(info.language(), want[13]);
        EXPECT_EQ(info.codePage(), want[14]);
    }
    std::printf("compared %zu PE files with pefile, %d of them with a version resource\n",
                files.size(), withVersion);
    EXPECT_GE(withVersion, 20) << "too few samples carry a version resource";
}

}  // namespace
