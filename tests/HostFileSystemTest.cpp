// The sandboxed Windows file system: how paths map, what the current
// directory means, and the errors Windows would give.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <tuple>

#include "platform/platform.h"
#include "tests/support/TempSandbox.h"

using namespace platform;

namespace {
class HostFileSystem : public SandboxTest {
protected:
    std::string read(const char* path, const char* mode) {
        File* f = openFile(path, mode);
        std::string text;
        for (int c; f != nullptr && (c = readChar(f)) >= 0;) text += static_cast<char>(c);
        if (f != nullptr) closeFile(f);
        return text;
    }
    void write(const char* path, const char* mode, const std::string& bytes) {
        File* f = openFile(path, mode);
        ASSERT_NE(f, nullptr) << path;
        EXPECT_EQ(writeFile(f, bytes.data(), bytes.size()), bytes.size());
        EXPECT_EQ(closeFile(f), 0);
    }
    // A failed call as the runtime reports it: -1, errno and the system's code.
    void expectFailure(int result, int wantErrno, uint32_t wantCode) {
        EXPECT_EQ(std::make_tuple(result, errno, lastErrorCode()), std::make_tuple(-1, wantErrno, wantCode));
        setLastErrorCode(0);
    }
    std::string onHost(const char* path) { return sandbox.readHostFile(sandbox.path(path)); }
    std::string drive(const char* rest) { return sandbox.root() + rest; }
};
}  // namespace

TEST_F(HostFileSystem, NamesResolveWithoutRegardToCaseAndKeepTheirSpelling) {
    ASSERT_EQ(makeDirectory("C:\\Games"), 0);
    write("C:\\games\\Vantorel.gus", "wb", "log");
    write("C:\\GAMES\\vantorel.GUS", "wb", "again");
    EXPECT_EQ(sandbox.path("c:\\GAMES\\VANTOREL.GUS"), drive("/drive_c/Games/Vantorel.gus"));
    EXPECT_EQ(onHost("c:\\GAMES\\VANTOREL.GUS"), "again");
    EXPECT_EQ(sandbox.path("C:/games/./New/../NewFile.TXT"), drive("/drive_c/Games/NewFile.TXT"));
}

TEST_F(HostFileSystem, EachDriveKeepsItsOwnCurrentDirectory) {
    std::filesystem::create_directories(drive("/drive_d/Data"));
    ASSERT_EQ(changeDirectory("C:\\Users"), 0);
    ASSERT_EQ(changeDirectory("..\\WINDOWS\\system32\\.."), 0);
    EXPECT_EQ(sandbox.path("\\..\\.."), drive("/drive_c"));  // never above the drive
    ASSERT_EQ(changeDirectory("d:\\data"), 0);  // the drive becomes current too
    EXPECT_EQ(sandbox.path("x"), drive("/drive_d/Data/x"));
    EXPECT_EQ(sandbox.path("C:x"), drive("/drive_c/WINDOWS/x"));
    ASSERT_EQ(changeDrive(3), 0);
    EXPECT_EQ(sandbox.path("x"), drive("/drive_c/WINDOWS/x"));
}

TEST_F(HostFileSystem, ErrorsAsTheWindowsRuntimeSetsThem) {
    write("C:\\file", "wb", "");
    write("C:\\locked.txt", "wb", "keep");
    ASSERT_EQ(::chmod(sandbox.path("C:\\locked.txt").c_str(), 0444), 0);
    expectFailure(changeDrive(17), ENOENT, 3);
    expectFailure(makeDirectory("C:\\FILE"), EEXIST, 183);
    expectFailure(makeDirectory("C:\\a|b"), EINVAL, 123);
    expectFailure(changeDirectory("C:\\file"), EINVAL, 267);
    expectFailure(removeDirectory("C:\\WINDOWS"), ENOTEMPTY, 145);
    expectFailure(unlinkFile("C:\\LOCKED.TXT"), EACCES, 5);
    expectFailure(openFile("C:\\nowhere\\x.txt", "w") ? 0 : -1, ENOENT, 3);
    EXPECT_EQ(read("C:\\locked.txt", "rb"), "keep");
    ASSERT_EQ(makeDirectory("C:\\empty"), 0);  // the process holds its current directory open
    ASSERT_EQ(changeDirectory("C:\\empty"), 0);
    expectFailure(removeDirectory("C:\\empty"), EACCES, 32);
}

TEST_F(HostFileSystem, TextModeTranslatesLineEnds) {
    write("C:\\t.txt", "w", "one\ntwo\r\n");
    EXPECT_EQ(onHost("C:\\t.txt"), "one\r\ntwo\r\r\n");
    EXPECT_EQ(read("C:\\t.txt", "r"), "one\ntwo\r\n");
    sandbox.writeHostFile(sandbox.path("C:\\z.txt"), std::string("a\rb\r\nc\x1A" "after", 10));
    EXPECT_EQ(read("C:\\z.txt", "r"), "a\rb\nc");  // Ctrl-Z ends a text stream
}

TEST_F(HostFileSystem, InjectedFailuresCountEveryCallAndTakeTheGivenErrno) {
    host::failCall(host::Fault::makeDirectory, 2);
    EXPECT_EQ(makeDirectory("C:\\WINDOWS"), -1);  // counted though it fails on its own
    expectFailure(makeDirectory("C:\\new"), ENOSPC, 112);
    EXPECT_FALSE(std::filesystem::exists(sandbox.path("C:\\new")));

    host::failCall(host::Fault::writeFile, 2);
    File* f = openFile("C:\\w.bin", "wb");
    EXPECT_EQ(writeFile(f, "1234", 4), 4u);
    EXPECT_EQ(writeFile(f, "abcdef", 6), 3u);
    EXPECT_EQ(lastErrorCode(), 112u);
    EXPECT_EQ(closeFile(f), 0);
    EXPECT_EQ(onHost("C:\\w.bin"), "1234abc");

    // Data buffered after the last flush is lost when the close fails.
    host::failCall(host::Fault::closeFile, 1);
    EXPECT_EQ(read("C:\\w.bin", "r"), "1234abc");  // closing a reader is not counted
    f = openFile("C:\\c.bin", "wb");
    writeFile(f, "flushed", 7);
    ASSERT_EQ(flushFile(f), 0);
    writeFile(f, "buffered", 8);
    EXPECT_EQ(closeFile(f), -1);
    EXPECT_EQ(onHost("C:\\c.bin"), "flushed");
}
