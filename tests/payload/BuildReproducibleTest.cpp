// The payload's generated files are a function of the committed generator, so
// two builds of VantorelSetup.exe carry the same install set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/TempSandbox.h"

namespace fs = std::filesystem;

TEST(PayloadBuild, GeneratorWritesTheCommittedFiles) {
    TempSandbox sandbox;
    const std::string out = sandbox.root() + "/generated", payload = std::string(VANTOREL_SOURCE_DIR) + "/payload/";
    ASSERT_EQ(std::system(("/usr/bin/python3 '" + payload + "generate-data' '" + out + "' >/dev/null 2>&1").c_str()), 0);
    int compared = 0;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(out)) {
        if (!e.is_regular_file()) continue;
        std::string committed = payload + "files/" + fs::relative(e.path(), out).string();
        EXPECT_TRUE(fs::exists(committed) && sandbox.readHostFile(e.path()) == sandbox.readHostFile(committed))
            << e.path();
        ++compared;
    }
    EXPECT_GT(compared, 0);
}
