// Directory creation and removal against the sandboxed machine.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/Directories.h"
#include "platform/Status.h"
#include "platform/host/HostControl.h"
#include "tests/support/TempSandbox.h"

namespace fs = std::filesystem;
using platform::host::Call;

namespace {

class Directories : public SandboxTest {
protected:
    bool isDirectory(const char* windowsPath) { return fs::is_directory(sandbox.path(windowsPath)); }
    void makeDirectories(const char* hostPath) { fs::create_directories(sandbox.root() + "/drive_c/" + hostPath); }
};

}  // namespace

TEST_F(Directories, ChainCreatesOnlyTheMissingLevelsOrReportsWhyNot) {
    makeDirectories("a");
    EXPECT_TRUE(createDirectoryChain("  C:\\a\\b\\ \t").isNull());
    EXPECT_TRUE(isDirectory("C:\\a\\b"));
    EXPECT_EQ(platform::host::hostPath("."), sandbox.path("C:\\")) << "the walk gives the directory back";
    EXPECT_TRUE(createDirectoryChain("C:\\x y\\z").isNull());
    EXPECT_TRUE(isDirectory("C:\\x y\\z"));
    int made = platform::host::callsMade(Call::makeDirectory);
    EXPECT_TRUE(createDirectoryChain("c:\\X Y\\Z").isNull());
    EXPECT_EQ(platform::host::callsMade(Call::makeDirectory), made) << "an existing chain is only entered";
    fs::create_directories(sandbox.root() + "/drive_d");
    EXPECT_TRUE(createDirectoryChain("d:\\Games\\Vantorel").isNull());
    EXPECT_TRUE(fs::is_directory(sandbox.root() + "/drive_d/Games/Vantorel"));

    sandbox.writeHostFile(sandbox.path("C:\\f"), "x");
    ErrorHandle report = createDirectoryChain("C:\\f\\b");
    EXPECT_EQ(report.severity(), SeverityError);
    EXPECT_EQ(report.code(), 0);
    EXPECT_STREQ(report.message().text(),
                 "Cannot create directory \"C:\\f\\\" because a file of that name exists in the "
                 "parent directory");
    EXPECT_STREQ(createDirectoryChain("\\f\\b").message().text(), "Empty directory name in path");
    EXPECT_STREQ(createDirectoryChain("C:\\e\\\\b").message().text(), "Empty directory name in path");
    EXPECT_TRUE(isDirectory("C:\\e")) << "levels made before the failure stay";
    EXPECT_STREQ(createDirectoryChain("Q:\\x").message().text(), "Invalid drive \"Q:\"");
    EXPECT_STREQ(removeEmptyDirectories("q:\\P\\V", "Q:\\P", false).message().text(), "Invalid drive \"Q:\"");

    platform::host::failCall(Call::makeDirectory, 2);
    EXPECT_STREQ(createDirectoryChain("C:\\e\\b\\c\\d").message().text(),
                 "Cannot create directory \"C:\\e\\b\\c\\\" because of no space (read-only drive?)");
    EXPECT_TRUE(isDirectory("C:\\e\\b"));
    platform::host::failCall(Call::makeDirectory, 1, platform::errAccessDenied);
    EXPECT_STREQ(createDirectoryChain("C:\\e\\g").message().text(), "Access is denied.\r\n");
}

TEST_F(Directories, RemovalClimbsToTheBaseWithoutRegardToCaseAndStopsAtOneInUse) {
    makeDirectories("P/V/doc");
    EXPECT_TRUE(removeEmptyDirectories("C:\\P\\V\\doc", "c:\\p\\v", false).isNull());
    EXPECT_FALSE(isDirectory("C:\\P\\V\\doc"));
    EXPECT_TRUE(isDirectory("C:\\P\\V"));
    makeDirectories("P/V/doc");
    EXPECT_TRUE(removeEmptyDirectories("C:\\P\\V\\doc\\", "C:\\P\\V\\", true).isNull());
    EXPECT_FALSE(isDirectory("C:\\P\\V"));
    EXPECT_TRUE(isDirectory("C:\\P"));
    EXPECT_STREQ(removeEmptyDirectories("C:\\P\\V", "C:\\Q", false).message().text(),
                 "The directory \"C:\\Q\\\" is not the base of \"C:\\P\\V\\\"");

    // It stops quietly at a directory in use or gone.
    makeDirectories("P/V/doc/img");
    sandbox.writeHostFile(sandbox.path("C:\\P\\V\\readme.txt"), "x");
    EXPECT_TRUE(removeEmptyDirectories("C:\\P\\V\\doc\\img", "C:\\P", true).isNull());
    EXPECT_FALSE(isDirectory("C:\\P\\V\\doc"));
    EXPECT_TRUE(isDirectory("C:\\P\\V"));
    EXPECT_TRUE(removeEmptyDirectories("C:\\P\\V\\doc\\img", "C:\\P", true).isNull());
    // Windows folds "..": the directory exists, but the climb meets a parent
    // spelled through a folder that does not.
    makeDirectories("R/V");
    EXPECT_STREQ(removeEmptyDirectories("C:\\R\\gone\\..\\V", "C:\\", false).message().text(),
                 "Could not change to directory \"C:\\R\\gone\\\"");
    EXPECT_FALSE(isDirectory("C:\\R\\V"));
}
