// The sandboxed Windows file system: how paths map, what the current
// directory means, and the errors Windows would give.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/host/HostControl.h"
#include "platform/platform.h"
#include "tests/support/TempSandbox.h"

namespace fs = std::filesystem;
using platform::host::Fault;

namespace {

class HostFileSystem : public SandboxTest {
protected:
    // The whole stream as readChar gives it.
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

TEST_F(HostFileSystem, ErrorsAsTheWindowsRuntimeSetsThem) {
    ASSERT_TRUE(write("C:\\file", "wb", ""));
    ASSERT_TRUE(write("C:\\locked.txt", "wb", "keep"));
    makeReadOnly("C:\\locked.txt");
    ASSERT_EQ(platform::makeDirectory("C:\\empty"), 0);
    struct Case {
        const char* what;
        std::function<int()> call;
        int errnoValue;
        uint32_t code;
    };
    auto open = [](const char* path, const char* mode) {
        return [=] { return platform::openFile(path, mode) == nullptr ? -1 : 0; };
    };
    const Case cases[] = {
        {"missing drive", [] { return platform::changeDrive(17); }, ENOENT, 3},
        {"no such drive number", [] { return platform::changeDrive(0); }, EACCES, 3},
        {"chdir to missing drive", [] { return platform::changeDirectory("Q:\\x"); }, ENOENT, 3},
        {"network path", [] { return platform::makeDirectory("\\\\server\\share"); }, ENOENT, 53},
        {"mkdir existing", [] { return platform::makeDirectory("C:\\WINDOWS"); }, EEXIST, 183},
        {"mkdir over file", [] { return platform::makeDirectory("C:\\FILE"); }, EEXIST, 183},
        {"mkdir no parent", [] { return platform::makeDirectory("C:\\missing\\x"); }, ENOENT, 3},
        {"mkdir under file", [] { return platform::makeDirectory("C:\\file\\x"); }, ENOENT, 3},
        {"invalid name", [] { return platform::makeDirectory("C:\\a|b"); }, EINVAL, 123},
        {"chdir missing", [] { return platform::changeDirectory("C:\\nothing"); }, ENOENT, 2},
        {"chdir to file", [] { return platform::changeDirectory("C:\\file"); }, EINVAL, 267},
        {"rmdir not empty", [] { return platform::removeDirectory("C:\\WINDOWS"); }, ENOTEMPTY, 145},
        {"rmdir missing", [] { return platform::removeDirectory("C:\\nothing"); }, ENOENT, 2},
        {"rmdir root", [] { return platform::removeDirectory("C:\\"); }, EACCES, 5},
        {"unlink missing", [] { return platform::unlinkFile("C:\\none.txt"); }, ENOENT, 2},
        {"unlink directory", [] { return platform::unlinkFile("C:\\WINDOWS"); }, EACCES, 5},
        {"unlink read-only", [] { return platform::unlinkFile("C:\\LOCKED.TXT"); }, EACCES, 5},
        {"write read-only", open("C:\\locked.txt", "wb"), EACCES, 5},
        {"append read-only", open("C:\\locked.txt", "a"), EACCES, 5},
        {"update read-only", open("C:\\locked.txt", "r+"), EACCES, 5},
        {"read missing", open("C:\\none.txt", "r"), ENOENT, 2},
        {"write without folder", open("C:\\nowhere\\x.txt", "w"), ENOENT, 3},
        {"write a directory", open("C:\\WINDOWS", "w"), EACCES, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::setLastErrorCode(0);
        expectFailure(c.call(), c.errnoValue, c.code);
    }
    EXPECT_EQ(host("Q:\\x"), "");
    EXPECT_EQ(read("C:\\locked.txt", "rb"), "keep");
    // The process holds its current directory open.
    ASSERT_EQ(platform::changeDirectory("C:\\empty"), 0);
    expectFailure(platform::removeDirectory("C:\\empty"), EACCES, 32);
    ASSERT_EQ(platform::changeDirectory(".."), 0);
    EXPECT_EQ(platform::removeDirectory("C:\\EMPTY"), 0);
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

TEST_F(HostFileSystem, InjectedStreamFailures) {
    platform::host::failCall(Fault::openFile, 1);
    EXPECT_EQ(read("C:\\WINDOWS\\..\\none", "r"), "<cannot open>");  // reading is not counted
    EXPECT_EQ(platform::openFile("C:\\b.txt", "wb"), nullptr);
    EXPECT_EQ(errno, EACCES);
    EXPECT_FALSE(fs::exists(host("C:\\b.txt")));

    platform::host::failCall(Fault::writeFile, 2);
    platform::File* f = platform::openFile("C:\\w.bin", "wb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(platform::writeFile(f, "1234", 4), 4u);
    EXPECT_EQ(platform::writeFile(f, "abcdef", 6), 3u);
    EXPECT_EQ(platform::lastErrorCode(), 112u);
    EXPECT_EQ(platform::closeFile(f), 0);
    EXPECT_EQ(sandbox.readHostFile(host("C:\\w.bin")), "1234abc");

    // Data buffered after the last flush is lost when the close fails.
    platform::host::failCall(Fault::closeFile, 1);
    EXPECT_EQ(read("C:\\w.bin", "r"), "1234abc");  // closing a reader is not counted
    f = platform::openFile("C:\\c.bin", "wb");
    ASSERT_NE(f, nullptr);
    platform::writeFile(f, "flushed", 7);
    ASSERT_EQ(platform::flushFile(f), 0);
    platform::writeFile(f, "buffered", 8);
    EXPECT_EQ(platform::closeFile(f), -1);
    EXPECT_EQ(platform::lastErrorCode(), 112u);
    EXPECT_EQ(sandbox.readHostFile(host("C:\\c.bin")), "flushed");
}
