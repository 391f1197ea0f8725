#include <gtest/gtest.h>
#include <unistd.h>

#include "engine/ResourceFile.h"
#include "tests/support/ScopedResource.h"
#include "tests/support/TempSandbox.h"

namespace {

// Method 14, unpacking to "abab".
const std::vector<unsigned char> abab = {0x92, 0x49, 0x24, 0x92, 0x00, 0x00, 0x00, 0x0E, 0x00, 0x00, 0x00, 0x04,
                                         0x09, 0x33, 0x00, 0x00, 0x00, 0x04, 0x78, 0x2F, 0x61, 0x31, 0x00, 0x20};

class ResourceFile : public SandboxTest {};

}  // namespace

TEST_F(ResourceFile, UnpacksIntoANewDirectoryOrReportsWhyNot) {
    ScopedResource resource("LZF", "TEST_ABAB", abab);
    EXPECT_TRUE(installResourceFile("TEST_ABAB", "C:\\Shared\\System\\abab.bin").isNull());
    EXPECT_EQ(sandbox.readHostFile(sandbox.path("C:\\Shared\\System\\abab.bin")), "abab");

    EXPECT_STREQ(installResourceFile("TEST_NONE", "C:\\Other\\none.bin").message().text(),
                 "Install set is corrupt.\nCould not find resource \"TEST_NONE\".");
    EXPECT_EQ(::access(sandbox.path("C:\\Other").c_str(), F_OK), -1) << "nothing made for a missing resource";
}
