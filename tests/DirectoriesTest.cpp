// Directory creation and removal against the sandboxed machine.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/Directories.h"
#include "platform/host/HostControl.h"
#include "tests/support/TempSandbox.h"

namespace fs = std::filesystem;
using platform::host::Fault;

namespace {

class Directories : public SandboxTest {
protected:
    bool isDirectory(const char* windowsPath) { return fs::is_directory(sandbox.path(windowsPath)); }
    void makeDirectories(const char* windowsPath) {
        fs::create_directories(sandbox.root() + "/drive_c/" + windowsPath);
    }
    void putFile(const char* windowsPath) { sandbox.writeHostFile(sandbox.path(windowsPath), "x"); }
};

}  // namespace

TEST_F(Directories, ChainCreatesOnlyTheMissingLevels) {
    makeDirectories("a");
    putFile("C:\\a\\keep.txt");
    EXPECT_TRUE(createDirectoryChain("C:\\a\\b\\").isNull());
    EXPECT_TRUE(isDirectory("C:\\a\\b"));
    EXPECT_TRUE(fs::exists(sandbox.path("C:\\a\\keep.txt")));
    EXPECT_EQ(platform::host::hostPath("."), sandbox.path("C:\\a\\b"));

    EXPECT_TRUE(createDirectoryChain("C:\\x\\y\\z").isNull());
    EXPECT_TRUE(isDirectory("C:\\x\\y\\z"));
    // An existing chain is only entered.
    int made = platform::host::callsMade(Fault::makeDirectory);
    EXPECT_TRUE(createDirectoryChain("c:\\X\\Y\\Z").isNull());
    EXPECT_EQ(platform::host::callsMade(Fault::makeDirectory), made);
}

TEST_F(Directories, ChainIgnoresBlanksAndOneTrailingBackslash) {
    EXPECT_TRUE(createDirectoryChain("  C:\\Program Files\\Hollow Mere\\Vantorel\\ \t").isNull());
    EXPECT_TRUE(isDirectory("C:\\Program Files\\Hollow Mere\\Vantorel"));
    EXPECT_TRUE(fs::exists(sandbox.root() + "/drive_c/Program Files/Hollow Mere/Vantorel"));
}

TEST_F(Directories, ChainOnAnotherDrive) {
    fs::create_directories(sandbox.root() + "/drive_d");
    ASSERT_TRUE(directoryExists("C:\\WINDOWS"));
    EXPECT_TRUE(createDirectoryChain("d:\\Games\\Vantorel").isNull());
    EXPECT_TRUE(fs::is_directory(sandbox.root() + "/drive_d/Games/Vantorel"));
}

TEST_F(Directories, ChainReportsAFileInTheWay) {
    putFile("C:\\a");
    ErrorHandle report = createDirectoryChain("C:\\a\\b");
    EXPECT_EQ(report.severity(), SeverityError);
    EXPECT_EQ(report.code(), 0);
    EXPECT_STREQ(report.message().text(),
                 "Cannot create directory \"C:\\a\\\" because a file of that name exists in the "
                 "parent directory");
}

TEST_F(Directories, ChainRefusesPathsItCannotWalk) {
    EXPECT_STREQ(createDirectoryChain("\\a\\b").message().text(), "Empty directory name in path");
    EXPECT_STREQ(createDirectoryChain("C:\\a\\\\b").message().text(), "Empty directory name in path");
    EXPECT_TRUE(isDirectory("C:\\a"));  // levels made before the failure stay
    EXPECT_STREQ(createDirectoryChain("Q:\\x").message().text(), "Invalid drive \"Q:\"");
    EXPECT_STREQ(removeEmptyDirectories("q:\\P\\V", "Q:\\P", false).message().text(),
                 "Invalid drive \"Q:\"");
}

TEST_F(Directories, ChainReportsAFullDiskAndOtherFailures) {
    makeDirectories("a");
    platform::host::failCall(Fault::makeDirectory, 2);
    ErrorHandle full = createDirectoryChain("C:\\a\\b\\c\\d");
    EXPECT_STREQ(full.message().text(),
                 "Cannot create directory \"C:\\a\\b\\c\\\" because of no space (read-only drive?)");
    EXPECT_TRUE(isDirectory("C:\\a\\b"));

    platform::host::failCall(Fault::makeDirectory, 1, EACCES);
    ErrorHandle denied = createDirectoryChain("C:\\a\\e");
    EXPECT_EQ(denied.severity(), SeverityError);
    EXPECT_STREQ(denied.message().text(), "Access is denied.\r\n");
}

TEST_F(Directories, RemovalStopsAtTheBase) {
    makeDirectories("P/V/doc");
    EXPECT_TRUE(removeEmptyDirectories("C:\\P\\V\\doc", "C:\\P\\V", false).isNull());
    EXPECT_FALSE(isDirectory("C:\\P\\V\\doc"));
    EXPECT_TRUE(isDirectory("C:\\P\\V"));

    makeDirectories("P/V/doc");
    EXPECT_TRUE(removeEmptyDirectories("C:\\P\\V\\doc\\", "C:\\P\\V\\", true).isNull());
    EXPECT_FALSE(isDirectory("C:\\P\\V"));
    EXPECT_TRUE(isDirectory("C:\\P"));
}

TEST_F(Directories, RemovalStopsQuietlyAtADirectoryInUse) {
    makeDirectories("P/V/doc/img");
    putFile("C:\\P\\V\\readme.txt");
    EXPECT_TRUE(removeEmptyDirectories("C:\\P\\V\\doc\\img", "C:\\P", true).isNull());
    EXPECT_FALSE(isDirectory("C:\\P\\V\\doc"));
    EXPECT_TRUE(isDirectory("C:\\P\\V"));
    // Nothing to remove when the directory is already gone.
    EXPECT_TRUE(removeEmptyDirectories("C:\\P\\V\\doc\\img", "C:\\P", true).isNull());
}

TEST_F(Directories, BaseIsComparedWithoutRegardToCase) {
    makeDirectories("P/V/doc");
    // Spelled differently, the base still stops the climb: V and P stay.
    EXPECT_TRUE(removeEmptyDirectories("C:\\P\\V\\doc", "c:\\p\\v", false).isNull());
    EXPECT_FALSE(isDirectory("C:\\P\\V\\doc"));
    EXPECT_TRUE(isDirectory("C:\\P\\V"));
    EXPECT_TRUE(removeEmptyDirectories("C:\\P\\V", "c:\\p\\", false).isNull());
    EXPECT_FALSE(isDirectory("C:\\P\\V"));
    EXPECT_TRUE(isDirectory("C:\\P"));

    ErrorHandle foreign = removeEmptyDirectories("C:\\P\\V", "C:\\Q", false);
    EXPECT_EQ(foreign.severity(), SeverityError);
    EXPECT_STREQ(foreign.message().text(), "The directory \"C:\\Q\\\" is not the base of \"C:\\P\\V\\\"");
}

TEST_F(Directories, RemovalReportsAParentItCannotEnter) {
    makeDirectories("P/V");
    // Windows folds "..": the directory exists, but the climb meets a
    // parent spelled through a folder that does not.
    EXPECT_STREQ(removeEmptyDirectories("C:\\P\\gone\\..\\V", "C:\\", false).message().text(),
                 "Could not change to directory \"C:\\P\\gone\\\"");
    EXPECT_FALSE(isDirectory("C:\\P\\V"));
}

