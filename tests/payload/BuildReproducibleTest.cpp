// The payload's generated files and its pack are functions of the committed
// sources: regenerating and repacking give the same bytes, so two builds of
// VantorelSetup.exe carry the same install set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "PayloadFiles.h"

namespace fs = std::filesystem;

namespace {

int run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

// Every file under a, compared with the file of the same relative path under b.
void expectSameFiles(const std::string& a, const std::string& b) {
    int compared = 0;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(a)) {
        if (!e.is_regular_file()) continue;
        std::string relative = fs::relative(e.path(), a).string();
        EXPECT_EQ(readFileBytes(e.path().string()), readFileBytes((fs::path(b) / relative).string()))
            << relative;
        ++compared;
    }
    EXPECT_GT(compared, 0) << "nothing under " << a;
}

}  // namespace

TEST(PayloadBuild, GeneratorWritesTheCommittedFiles) {
    std::string out = scratchFolder();
    ASSERT_EQ(run("/usr/bin/python3 '" + sourceDir() + "/payload/generate-data' '" + out + "'"), 0);
    expectSameFiles(out, sourceDir() + "/payload/files");
    removeFolder(out);
}

TEST(PayloadBuild, PackingTwiceGivesTheSameBytes) {
    std::string bin = VANTOREL_WINDOWS_BIN_DIR;
    if (!fs::exists(bin + "/TessalyUninstaller.exe")) GTEST_SKIP() << "no windows build in " << bin;
    std::string first = scratchFolder(), second = scratchFolder();
    std::string pack = std::string("'") + VANTOREL_PACK_PROGRAM + "' pack '" + sourceDir() +
                       "/payload/manifest' ";
    ASSERT_EQ(run(pack + "'" + first + "' --bin '" + bin + "'"), 0);
    ASSERT_EQ(run(pack + "'" + second + "' --bin '" + bin + "'"), 0);
    expectSameFiles(first, second);
    removeFolder(first);
    removeFolder(second);
}
