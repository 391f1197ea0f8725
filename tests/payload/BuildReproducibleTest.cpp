// The payload's generated files are a function of the committed generator, so
// two builds of VantorelSetup.exe carry the same install set.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

static std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return in.good() ? std::string(std::istreambuf_iterator<char>(in), {}) : "cannot read " + path.string();
}

TEST(PayloadBuild, GeneratorWritesTheCommittedFiles) {
    std::string out = (fs::temp_directory_path() / "vantorel-payload-XXXXXX").string();
    ASSERT_NE(mkdtemp(out.data()), nullptr);
    const std::string payload = std::string(VANTOREL_SOURCE_DIR) + "/payload/";
    ASSERT_EQ(std::system(("/usr/bin/python3 '" + payload + "generate-data' '" + out + "' >/dev/null 2>&1").c_str()), 0);
    int compared = 0;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(out)) {
        if (!e.is_regular_file()) continue;
        EXPECT_TRUE(contents(e.path()) == contents(payload + "files/" + fs::relative(e.path(), out).string()))
            << e.path();
        ++compared;
    }
    EXPECT_GT(compared, 0);
    fs::remove_all(out);
}
