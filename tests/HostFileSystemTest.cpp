// The sandboxed Windows file system: how paths map, what the current
// directory means, and the errors Windows would give.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/host/HostControl.h"
#include "platform/platform.h"
#include "tests/support/TempSandbox.h"

namespace fs = std::filesystem;
using platform::host::Fault;

namespace {

class HostFileSystem : public SandboxTest {
protected:
    std::string read(const char* path, const char* mode) {
        platform::File* f = platform::openFile(path, mode);
        if (f == nullptr) return "<cannot open>";
        std::string text;
        for (int c; (c = platform::readChar(f)) >= 0;) text += static_cast<char>(c);
        platform::closeFile(f);
        return text;
    }
    bool write(const char* path, const char* mode, const std::string& bytes) {
        platform::File* f = platform::openFile(path, mode);
        if (f == nullptr) return false;
        bool whole = platform::writeFile(f, bytes.data(), bytes.size()) == bytes.size();
        return platform::closeFile(f) == 0 && whole;
    }
    // Expects the call's result to be -1 with errno and the last error set.
    void expectFailure(int result, int expectedErrno, uint32_t expectedCode) {
        int seenErrno = errno;
        EXPECT_EQ(result, -1);
        EXPECT_EQ(seenErrno, expectedErrno);
        EXPECT_EQ(platform::lastErrorCode(), expectedCode);
    }
    std::string host(const char* windowsPath) { return sandbox.path(windowsPath); }
    void makeReadOnly(const char* windowsPath) {
        ASSERT_EQ(::chmod(host(windowsPath).c_str(), 0444), 0);
    }
};

}  // namespace

TEST_F(HostFileSystem, DrivesAndFoldersOfAFreshMachine) {
    EXPECT_EQ(host("C:\\WINDOWS"), sandbox.root() + "/drive_c/WINDOWS");
    EXPECT_TRUE(fs::is_directory(host("C:\\Users\\user\\Desktop")));
    EXPECT_TRUE(fs::is_directory(
        host("C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu")));
    char windows[32];
    ASSERT_TRUE(platform::windowsDirectory(windows, sizeof windows));
    EXPECT_STREQ(windows, "C:\\WINDOWS");
    EXPECT_FALSE(platform::windowsDirectory(windows, 4));
}

TEST_F(HostFileSystem, NamesResolveWithoutRegardToCase) {
    ASSERT_EQ(platform::makeDirectory("C:\\Games"), 0);
    ASSERT_TRUE(write("C:\\games\\Vantorel.gus", "wb", "log"));
    EXPECT_EQ(read("c:\\GAMES\\Vantorel.GUS", "rb"), "log");
    EXPECT_EQ(host("c:\\GAMES\\VANTOREL.GUS"), sandbox.root() + "/drive_c/Games/Vantorel.gus");
    // A new name keeps the spelling it was created with; /, . and .. work as on Windows.
    EXPECT_EQ(host("C:/games/./New/../NewFile.TXT"), sandbox.root() + "/drive_c/Games/NewFile.TXT");
    ASSERT_TRUE(write("C:\\GAMES\\vantorel.GUS", "wb", "again"));
    EXPECT_EQ(fs::directory_iterator(host("C:\\Games"))->path().filename().string(), "Vantorel.gus");
    EXPECT_EQ(sandbox.readHostFile(host("C:\\Games\\Vantorel.gus")), "again");
}

TEST_F(HostFileSystem, CurrentDirectoryFormsAsOnWindows) {
    ASSERT_EQ(platform::changeDirectory("C:\\WINDOWS\\system32"), 0);
    ASSERT_TRUE(write("here.txt", "wb", "1"));
    EXPECT_TRUE(fs::exists(host("C:\\WINDOWS\\system32\\here.txt")));
    ASSERT_EQ(platform::changeDirectory(".."), 0);
    EXPECT_EQ(host("."), sandbox.root() + "/drive_c/WINDOWS");
    ASSERT_EQ(platform::changeDirectory("system32\\..\\..\\Users"), 0);
    EXPECT_EQ(host("user"), sandbox.root() + "/drive_c/Users/user");
    ASSERT_EQ(platform::changeDirectory("\\WINDOWS"), 0);
    EXPECT_EQ(host("."), sandbox.root() + "/drive_c/WINDOWS");
    EXPECT_EQ(host("\\..\\.."), sandbox.root() + "/drive_c");
    EXPECT_EQ(platform::changeDirectory("C:"), 0);
    EXPECT_EQ(host("."), sandbox.root() + "/drive_c/WINDOWS");
}

TEST_F(HostFileSystem, EachDriveKeepsItsOwnCurrentDirectory) {
    fs::create_directories(sandbox.root() + "/drive_d/Data");
    ASSERT_EQ(platform::changeDirectory("C:\\WINDOWS"), 0);
    ASSERT_EQ(platform::changeDirectory("d:\\data"), 0);  // the drive becomes current too
    EXPECT_EQ(host("x"), sandbox.root() + "/drive_d/Data/x");
    EXPECT_EQ(host("C:x"), sandbox.root() + "/drive_c/WINDOWS/x");
    ASSERT_EQ(platform::changeDrive(3), 0);
    EXPECT_EQ(host("x"), sandbox.root() + "/drive_c/WINDOWS/x");
    ASSERT_EQ(platform::changeDrive(4), 0);
    EXPECT_EQ(host("x"), sandbox.root() + "/drive_d/Data/x");
}

TEST_F(HostFileSystem, MissingDrivesCannotBeEntered) {
    expectFailure(platform::changeDrive(17), ENOENT, 15);
    expectFailure(platform::changeDrive(0), EACCES, 15);
    expectFailure(platform::changeDirectory("Q:\\x"), ENOENT, 3);
    EXPECT_EQ(host("Q:\\x"), "");
    expectFailure(platform::makeDirectory("\\\\server\\share"), ENOENT, 53);
}

TEST_F(HostFileSystem, DirectoryErrorsAsTheRuntimeSetsThem) {
    expectFailure(platform::makeDirectory("C:\\WINDOWS"), EEXIST, 183);
    ASSERT_TRUE(write("C:\\file", "wb", ""));
    expectFailure(platform::makeDirectory("C:\\FILE"), EEXIST, 183);
    expectFailure(platform::makeDirectory("C:\\missing\\x"), ENOENT, 3);
    expectFailure(platform::makeDirectory("C:\\file\\x"), ENOENT, 3);
    expectFailure(platform::makeDirectory("C:\\a|b"), EINVAL, 123);
    expectFailure(platform::changeDirectory("C:\\nothing"), ENOENT, 2);
    expectFailure(platform::changeDirectory("C:\\file"), EINVAL, 267);
    expectFailure(platform::removeDirectory("C:\\WINDOWS"), ENOTEMPTY, 145);
    expectFailure(platform::removeDirectory("C:\\nothing"), ENOENT, 2);
    expectFailure(platform::removeDirectory("C:\\"), EACCES, 5);
    ASSERT_EQ(platform::makeDirectory("C:\\empty"), 0);
    ASSERT_EQ(platform::changeDirectory("C:\\empty"), 0);
    expectFailure(platform::removeDirectory("C:\\empty"), EACCES, 32);
    ASSERT_EQ(platform::changeDirectory(".."), 0);
    EXPECT_EQ(platform::removeDirectory("C:\\EMPTY"), 0);
}

TEST_F(HostFileSystem, ReadOnlyFilesAreKeptEvenFromRoot) {
    ASSERT_TRUE(write("C:\\locked.txt", "wb", "keep"));
    makeReadOnly("C:\\locked.txt");
    EXPECT_EQ(platform::openFile("C:\\locked.txt", "wb"), nullptr);
    EXPECT_EQ(platform::lastErrorCode(), 5u);
    EXPECT_EQ(platform::openFile("C:\\locked.txt", "a"), nullptr);
    EXPECT_EQ(platform::openFile("C:\\locked.txt", "r+"), nullptr);
    expectFailure(platform::unlinkFile("C:\\LOCKED.TXT"), EACCES, 5);
    EXPECT_EQ(read("C:\\locked.txt", "rb"), "keep");
}

TEST_F(HostFileSystem, FileErrorsAsTheRuntimeSetsThem) {
    expectFailure(platform::unlinkFile("C:\\none.txt"), ENOENT, 2);
    expectFailure(platform::unlinkFile("C:\\WINDOWS"), EACCES, 5);
    EXPECT_EQ(platform::openFile("C:\\none.txt", "r"), nullptr);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(platform::lastErrorCode(), 2u);
    EXPECT_EQ(platform::openFile("C:\\nowhere\\x.txt", "w"), nullptr);
    EXPECT_EQ(platform::lastErrorCode(), 3u);
    EXPECT_EQ(platform::openFile("C:\\WINDOWS", "w"), nullptr);
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(platform::openFile("C:\\x.txt", "q"), nullptr);
    EXPECT_EQ(errno, EINVAL);
}

TEST_F(HostFileSystem, TextModeTranslatesLineEnds) {
    ASSERT_TRUE(write("C:\\t.txt", "w", "one\ntwo\r\n\n"));
    EXPECT_EQ(sandbox.readHostFile(host("C:\\t.txt")), "one\r\ntwo\r\r\n\r\n");
    EXPECT_EQ(read("C:\\t.txt", "r"), "one\ntwo\r\n\n");
    EXPECT_EQ(read("C:\\t.txt", "rb"), "one\r\ntwo\r\r\n\r\n");

    sandbox.writeHostFile(host("C:\\z.txt"), std::string("a\rb\r\nc\x1A" "after", 10));
    EXPECT_EQ(read("C:\\z.txt", "r"), "a\rb\nc");
    platform::File* f = platform::openFile("C:\\z.txt", "rt");
    char buf[16];
    EXPECT_EQ(platform::readFile(f, buf, sizeof buf), 5u);
    platform::closeFile(f);

    ASSERT_TRUE(write("C:\\b.bin", "wb", "x\ny"));
    EXPECT_EQ(sandbox.readHostFile(host("C:\\b.bin")), "x\ny");
}

TEST_F(HostFileSystem, InjectedDirectoryFailureTakesTheGivenErrno) {
    platform::host::failCall(Fault::makeDirectory, 2);
    // Every call counts, also one that fails on its own.
    EXPECT_EQ(platform::makeDirectory("C:\\WINDOWS"), -1);
    expectFailure(platform::makeDirectory("C:\\new"), ENOSPC, 112);
    EXPECT_FALSE(fs::exists(host("C:\\new")));
    EXPECT_EQ(platform::makeDirectory("C:\\new"), 0);
    platform::host::failCall(Fault::makeDirectory, 1, EACCES);
    expectFailure(platform::makeDirectory("C:\\other"), EACCES, 5);
    EXPECT_EQ(platform::host::callsMade(Fault::makeDirectory), 4);
}

TEST_F(HostFileSystem, InjectedOpenFailureCountsOnlyOpensForWriting) {
    ASSERT_TRUE(write("C:\\a.txt", "wb", "a"));
    platform::host::failCall(Fault::openFile, 1);
    EXPECT_EQ(read("C:\\a.txt", "rb"), "a");
    EXPECT_EQ(platform::openFile("C:\\b.txt", "wb"), nullptr);
    EXPECT_EQ(errno, EACCES);
    EXPECT_FALSE(fs::exists(host("C:\\b.txt")));
    EXPECT_TRUE(write("C:\\b.txt", "wb", "b"));
}

TEST_F(HostFileSystem, InjectedShortWriteStopsHalfWay) {
    platform::host::failCall(Fault::writeFile, 2);
    platform::File* f = platform::openFile("C:\\w.bin", "wb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(platform::writeFile(f, "1234", 4), 4u);
    EXPECT_EQ(platform::writeFile(f, "abcdef", 6), 3u);
    EXPECT_EQ(platform::lastErrorCode(), 112u);
    EXPECT_EQ(platform::closeFile(f), 0);
    EXPECT_EQ(sandbox.readHostFile(host("C:\\w.bin")), "1234abc");
}

TEST_F(HostFileSystem, InjectedCloseFailureLosesBufferedData) {
    platform::File* reader = platform::openFile("C:\\WINDOWS\\..\\Users\\..\\r.txt", "w");
    ASSERT_NE(reader, nullptr);
    platform::closeFile(reader);
    platform::host::failCall(Fault::closeFile, 1);
    EXPECT_EQ(read("C:\\r.txt", "r"), "");  // closing a stream opened for reading is not counted
    platform::File* f = platform::openFile("C:\\c.bin", "wb");
    ASSERT_NE(f, nullptr);
    platform::writeFile(f, "flushed", 7);
    ASSERT_EQ(platform::flushFile(f), 0);
    platform::writeFile(f, "buffered", 8);
    EXPECT_EQ(platform::closeFile(f), -1);
    EXPECT_EQ(platform::lastErrorCode(), 112u);
    EXPECT_EQ(sandbox.readHostFile(host("C:\\c.bin")), "flushed");
}
