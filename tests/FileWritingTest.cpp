// Writing and deleting whole files against the sandboxed machine.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "engine/FileDeletion.h"
#include "engine/FileWriting.h"
#include "platform/host/HostControl.h"
#include "platform/Files.h"
#include "tests/support/TempSandbox.h"

namespace fs = std::filesystem;
using platform::host::Call;

namespace {

class FileWriting : public SandboxTest {
protected:
    std::string contents(const char* windowsPath) { return sandbox.readHostFile(sandbox.path(windowsPath)); }
    bool exists(const char* windowsPath) { return fs::exists(sandbox.path(windowsPath)); }
    void putFile(const char* windowsPath, const std::string& bytes, mode_t mode = 0644) {
        sandbox.writeHostFile(sandbox.path(windowsPath), bytes);
        ASSERT_EQ(::chmod(sandbox.path(windowsPath).c_str(), mode), 0);
    }
};

const std::string binary("MZ\x00\x01\r\n\n\x1A\xFF", 9);

}  // namespace

TEST_F(FileWriting, WritesTheBytesExactlyRelativeToTheCurrentDirectoryToo) {
    EXPECT_TRUE(writeFile("C:\\Games\\Vantorel\\bin\\Vantorel.exe", binary.data(), 9).isNull());
    EXPECT_EQ(contents("C:\\Games\\Vantorel\\bin\\Vantorel.exe"), binary);
    putFile("C:\\Games\\readme.txt", "a much longer old text");
    EXPECT_TRUE(writeFile("C:\\games\\README.TXT", "new", 3).isNull());
    EXPECT_EQ(contents("C:\\Games\\readme.txt"), "new");
    EXPECT_TRUE(writeFile("C:\\Games\\empty.dat", nullptr, 0).isNull());
    EXPECT_TRUE(exists("C:\\Games\\empty.dat") && contents("C:\\Games\\empty.dat").empty());
    // Relative paths, with folders or without, start from the current directory.
    fs::create_directories(sandbox.path("C:\\WINDOWS") + "/system32");
    ASSERT_EQ(platform::changeDirectory("C:\\WINDOWS"), 0);
    // Writing elsewhere walks other folders first; the current directory stays.
    EXPECT_TRUE(writeFile("C:\\Games\\Vantorel\\doc\\a.txt", "a", 1).isNull());
    EXPECT_TRUE(writeFile("bare.txt", "b", 1).isNull());
    EXPECT_EQ(contents("C:\\WINDOWS\\bare.txt"), "b");
    EXPECT_TRUE(writeFile("system32\\file.txt", "s", 1).isNull());
    EXPECT_EQ(contents("C:\\WINDOWS\\system32\\file.txt"), "s");
    EXPECT_TRUE(writeFile("sub\\deeper\\file.txt", "d", 1).isNull());
    EXPECT_EQ(contents("C:\\WINDOWS\\sub\\deeper\\file.txt"), "d");
    platform::host::failCall(Call::makeDirectory, 2);
    EXPECT_TRUE(isFailure(writeFile("new\\deeper\\file.txt", "n", 1)));
    EXPECT_FALSE(exists("C:\\WINDOWS\\new"));
    EXPECT_EQ(platform::host::hostPath("."), sandbox.path("C:\\WINDOWS"));
}

TEST_F(FileWriting, FailuresAreReportedAndLeaveNoPartialFileNorNewDirectories) {
    // A failed close is a write error and takes the new directory along: no record names it.
    platform::host::failCall(Call::closeStream, 1);
    EXPECT_STREQ(writeFile("C:\\Games\\new.exe", binary.data(), 9).message().text(),
                 "Error writing to file \"C:\\Games\\new.exe\"");
    EXPECT_FALSE(exists("C:\\Games"));

    putFile("C:\\Games\\locked.txt", "keep", 0444);
    EXPECT_STREQ(writeFile("C:\\Games\\locked.txt", "x", 1).message().text(),
                 "Could not create file \"C:\\Games\\locked.txt\", Error: Access is denied.\r\n");
    EXPECT_EQ(contents("C:\\Games\\locked.txt"), "keep");

    putFile("C:\\Games\\old.exe", "previous version");
    platform::host::failCall(Call::writeStream, 1);
    EXPECT_STREQ(writeFile("C:\\Games\\old.exe", binary.data(), 9).message().text(),
                 "Error writing to file \"C:\\Games\\old.exe\"");
    EXPECT_FALSE(exists("C:\\Games\\old.exe"));
    // A chain failing deeper takes away the levels it made, and only those.
    platform::host::failCall(Call::makeDirectory, 2);
    EXPECT_STREQ(writeFile("C:\\New\\Deep\\x.txt", "x", 1).message().text(),
                 "Cannot create directory \"C:\\New\\Deep\" because of no space (read-only drive?)");
    EXPECT_FALSE(exists("C:\\New"));
    putFile("C:\\Old\\keep.txt", "mine");
    platform::host::failCall(Call::makeDirectory, 2);
    EXPECT_TRUE(isFailure(writeFile("C:\\Old\\A\\B\\C\\x.txt", "x", 1)));
    EXPECT_FALSE(exists("C:\\Old\\A"));
    EXPECT_EQ(contents("C:\\Old\\keep.txt"), "mine");
}

TEST_F(FileWriting, DeletionTakesEmptyDirectoriesAlong) {
    EXPECT_TRUE(deleteFile("C:\\nowhere\\none.txt").isNull());
    EXPECT_STREQ(deleteFile("C:\\Games\\what?.txt").message().text(),
                 "The filename, directory name, or volume label syntax is incorrect.\r\n");

    putFile("C:\\P\\V\\doc\\img\\a.png", "png");
    putFile("C:\\P\\V\\doc\\index.html", "html");
    EXPECT_TRUE(deleteFileAndDirectories("C:\\P\\V\\doc\\img\\a.png", "C:\\P\\V", true).isNull());
    EXPECT_FALSE(exists("C:\\P\\V\\doc\\img"));
    EXPECT_TRUE(exists("C:\\P\\V\\doc\\index.html"));
    EXPECT_TRUE(deleteFileAndDirectories("C:\\P\\V\\doc\\index.html", "C:\\P\\V", true).isNull());
    EXPECT_FALSE(exists("C:\\P\\V"));
    EXPECT_TRUE(exists("C:\\P"));
}
