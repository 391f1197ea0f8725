// Our reader of version resources against Debian's pefile, on real 32-bit
// PE files: Wine's own libraries and the payload's programs when built.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "engine/FileVersionInfo.h"
#include "tests/support/TempSandbox.h"

namespace fs = std::filesystem;

namespace {

// Up to about `wanted` programs of the folder, spread over the alphabet.
void addPrograms(const fs::path& dir, std::vector<fs::path>& found, size_t wanted) {
    std::vector<fs::path> all;
    std::error_code ignored;
    for (auto& entry : fs::directory_iterator(dir, ignored))
        if (std::string ext = entry.path().extension().string(); ext == ".dll" || ext == ".exe" || ext == ".scr")
            all.push_back(entry.path());
    std::sort(all.begin(), all.end());
    for (size_t i = 0; i < all.size(); i += std::max<size_t>(1, all.size() / wanted))
        found.push_back(all[i]);
}

TEST(VersionPefileCrossCheck, SameFixedInfoAndTranslationAsPefile) {
    if (std::system("/usr/bin/python3 -c 'import pefile' 2>/dev/null") != 0)
        GTEST_SKIP() << "pefile is not installed for /usr/bin/python3 (python3-pefile)";
    std::vector<fs::path> files;
    for (const char* dir : {"/usr/lib/i386-linux-gnu/wine/i386-windows", "/usr/lib/wine/i386-windows",
                            "/usr/lib/x86_64-linux-gnu/wine/i386-windows"})
        if (fs::is_directory(dir)) {
            addPrograms(dir, files, 60);
            break;
        }
    if (files.size() < 20) GTEST_SKIP() << "fewer than twenty 32-bit PE files (no Wine libraries found)";
    addPrograms(fs::path(VANTOREL_SOURCE_DIR) / "build/windows/bin", files, 1000);

    TempSandbox sandbox;
    std::string command = std::string("/usr/bin/python3 ") + VANTOREL_SOURCE_DIR + "/tests/support/pefile_versions.py";
    for (const fs::path& f : files) command += " '" + f.string() + "'";
    ASSERT_EQ(std::system((command + " >'" + sandbox.root() + "/pefile.txt'").c_str()), 0);
    std::istringstream expected(sandbox.readHostFile(sandbox.root() + "/pefile.txt"));

    // Our reader's line in pefile's form: "none" when it found nothing.
    int withVersion = 0;
    for (const fs::path& file : files) {
        std::string windowsPath = "C:\\samples\\" + file.filename().string(), want, ours;
        fs::create_directories(fs::path(sandbox.path(windowsPath)).parent_path());
        fs::copy_file(file, sandbox.path(windowsPath), fs::copy_options::overwrite_existing);
        FileVersionInfo info;
        ErrorHandle result = info.readVersionInfo(windowsPath.c_str());
        withVersion += result.isNull();
        if (isFailure(result) && info.signature() == 0) {
            ours = "none";
        } else {
            for (int w = 0; w < FileVersionInfo::fixedWordCount; ++w)
                ours += std::to_string(info.fixedWord(w)) + " ";
            ours += std::to_string(info.language()) + " " + std::to_string(info.codePage());
        }
        std::getline(expected, want);
        EXPECT_EQ(ours, want) << file.string();
        bool signed_ = want.rfind(std::to_string(FileVersionInfo::expectedSignature) + " ", 0) == 0;
        EXPECT_TRUE(!signed_ || result.isNull()) << file.string() << ": " << result.message().text();
    }
    EXPECT_GE(withVersion, 20) << "too few of " << files.size() << " samples carry a version resource";
}

}  // namespace
