// The sandboxed Windows file system: how paths map, what the current
// directory means, and the errors Windows would give.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/Files.h"
#include "platform/System.h"
#include "platform/host/HostControl.h"
#include "tests/support/TempSandbox.h"

using namespace platform;

namespace {
class HostFileSystem : public SandboxTest {
protected:
    std::string read(const char* path, const char* mode) {
        Stream* f = nullptr;
        std::string text;
        if (openStream(path, mode, &f) != statusOk) return text;
        char buffer[3];  // small, so that a CR LF can fall across two reads
        size_t got = 0;
        while (readStream(f, buffer, sizeof buffer, &got) == statusOk && got > 0) text.append(buffer, got);
        closeStream(f);
        return text;
    }
    void write(const char* path, const char* mode, const std::string& bytes) {
        Stream* f = nullptr;
        ASSERT_EQ(openStream(path, mode, &f), statusOk) << path;
        EXPECT_EQ(writeStream(f, bytes.data(), bytes.size()), statusOk);
        EXPECT_EQ(closeStream(f), statusOk);
    }
    // A failed call as Windows reports it: the code, returned and left as the last error.
    void expectFailure(Status result, uint32_t wantCode) {
        EXPECT_EQ(result, wantCode);
        EXPECT_EQ(lastErrorCode(), wantCode);
        setLastErrorCode(0);
    }
    std::string onHost(const char* path) { return sandbox.readHostFile(sandbox.path(path)); }
    std::string drive(const char* rest) { return sandbox.root() + rest; }
};
}  // namespace

TEST_F(HostFileSystem, NamesResolveWithoutRegardToCaseAndKeepTheirSpelling) {
    ASSERT_EQ(makeDirectory("C:\\Games"), statusOk);
    write("C:\\games\\Vantorel.gus", "wb", "log");
    write("C:\\GAMES\\vantorel.GUS", "wb", "again");
    EXPECT_EQ(sandbox.path("c:\\GAMES\\VANTOREL.GUS"), drive("/drive_c/Games/Vantorel.gus"));
    EXPECT_EQ(onHost("c:\\GAMES\\VANTOREL.GUS"), "again");
    EXPECT_EQ(sandbox.path("C:/games/./New/../NewFile.TXT"), drive("/drive_c/Games/NewFile.TXT"));
}

TEST_F(HostFileSystem, EachDriveKeepsItsOwnCurrentDirectory) {
    std::filesystem::create_directories(drive("/drive_d/Data"));
    ASSERT_EQ(changeDirectory("C:\\Users"), statusOk);
    ASSERT_EQ(changeDirectory("..\\WINDOWS\\system32\\.."), statusOk);
    EXPECT_EQ(sandbox.path("\\..\\.."), drive("/drive_c"));  // never above the drive
    ASSERT_EQ(changeDirectory("d:\\data"), statusOk);  // the drive becomes current too
    EXPECT_EQ(sandbox.path("x"), drive("/drive_d/Data/x"));
    EXPECT_EQ(sandbox.path("C:x"), drive("/drive_c/WINDOWS/x"));
    ASSERT_EQ(changeDrive(3), statusOk);
    EXPECT_EQ(sandbox.path("x"), drive("/drive_c/WINDOWS/x"));
}

TEST_F(HostFileSystem, ErrorsAsTheWindowsRuntimeSetsThem) {
    write("C:\\file", "wb", "");
    write("C:\\locked.txt", "wb", "keep");
    ASSERT_EQ(::chmod(sandbox.path("C:\\locked.txt").c_str(), 0444), 0);
    expectFailure(changeDrive(17), 3);
    expectFailure(makeDirectory("C:\\FILE"), 183);
    expectFailure(makeDirectory("C:\\a|b"), 123);
    expectFailure(changeDirectory("C:\\file"), 267);
    expectFailure(removeDirectory("C:\\WINDOWS"), 145);
    expectFailure(unlinkFile("C:\\LOCKED.TXT"), 5);
    Stream* none = nullptr;
    expectFailure(openStream("C:\\nowhere\\x.txt", "w", &none), 3);
    EXPECT_EQ(read("C:\\locked.txt", "rb"), "keep");
    ASSERT_EQ(makeDirectory("C:\\empty"), statusOk);  // the process holds its current directory open
    ASSERT_EQ(changeDirectory("C:\\empty"), statusOk);
    expectFailure(removeDirectory("C:\\empty"), 32);
}

TEST_F(HostFileSystem, TextModeTranslatesLineEnds) {
    write("C:\\t.txt", "w", "one\ntwo\r\n");
    EXPECT_EQ(onHost("C:\\t.txt"), "one\r\ntwo\r\r\n");
    EXPECT_EQ(read("C:\\t.txt", "r"), "one\ntwo\r\n");
    sandbox.writeHostFile(sandbox.path("C:\\z.txt"), std::string("a\rb\r\nc\x1A" "after", 10));
    EXPECT_EQ(read("C:\\z.txt", "r"), "a\rb\nc");  // Ctrl-Z ends a text stream
}

TEST_F(HostFileSystem, InjectedFailuresCountEveryCallAndTakeTheGivenCode) {
    host::failCall(host::Call::makeDirectory, 2);
    EXPECT_EQ(makeDirectory("C:\\WINDOWS"), errAlreadyExists);  // counted though it fails on its own
    expectFailure(makeDirectory("C:\\new"), errDiskFull);
    EXPECT_FALSE(std::filesystem::exists(sandbox.path("C:\\new")));

    host::failCall(host::Call::writeStream, 2);
    Stream* f = nullptr;
    ASSERT_EQ(openStream("C:\\w.bin", "wb", &f), statusOk);
    EXPECT_EQ(writeStream(f, "1234", 4), statusOk);
    expectFailure(writeStream(f, "abcdef", 6), errDiskFull);  // half of it reached the disk
    EXPECT_EQ(closeStream(f), statusOk);
    EXPECT_EQ(onHost("C:\\w.bin"), "1234abc");

    // Data buffered after the last flush is lost when the close fails.
    host::failCall(host::Call::closeStream, 1);
    EXPECT_EQ(read("C:\\w.bin", "r"), "1234abc");  // closing a reader is not counted
    ASSERT_EQ(openStream("C:\\c.bin", "wb", &f), statusOk);
    writeStream(f, "flushed", 7);
    ASSERT_EQ(flushStream(f), statusOk);
    writeStream(f, "buffered", 8);
    expectFailure(closeStream(f), errDiskFull);
    EXPECT_EQ(onHost("C:\\c.bin"), "flushed");

    // Any call can be made to fail, with the code a test chooses.
    host::failCall(host::Call::unlinkFile, 1, errSharingViolation);
    expectFailure(unlinkFile("C:\\c.bin"), errSharingViolation);
    host::failCall(host::Call::readStream, 1);
    ASSERT_EQ(openStream("C:\\c.bin", "rb", &f), statusOk);
    size_t got = 1;
    char byte;
    expectFailure(readStream(f, &byte, 1, &got), errReadFault);
    EXPECT_EQ(got, 0u);
    closeStream(f);
}

// Whatever writes or deletes refuses a link in any folder from the drive root
// down, as the Windows side does by holding those folders; reading through
// one is harmless and allowed. A folder swapped for a link between two calls
// is caught by the second.
TEST_F(HostFileSystem, WritesAndDeletionsRefuseALinkOnTheWay) {
    ASSERT_EQ(makeDirectory("C:\\Victim"), statusOk);
    write("C:\\Victim\\keep.txt", "wb", "mine");
    ASSERT_EQ(makeDirectory("C:\\Games"), statusOk);
    std::filesystem::create_directory_symlink(drive("/drive_c/Victim"), drive("/drive_c/Games/Vantorel"));
    Stream* f = nullptr;
    expectFailure(makeDirectory("C:\\Games\\Vantorel\\doc"), errLinkOnTheWay);
    expectFailure(unlinkFile("C:\\Games\\Vantorel\\keep.txt"), errLinkOnTheWay);
    expectFailure(openStream("C:\\Games\\Vantorel\\keep.txt", "wb", &f), errLinkOnTheWay);
    expectFailure(createNewStream("C:\\Games\\Vantorel\\new.txt", "wb", &f), errLinkOnTheWay);
    expectFailure(replaceFile("C:\\Victim\\keep.txt", "C:\\Games\\Vantorel\\keep.txt"), errLinkOnTheWay);
    EXPECT_EQ(read("C:\\Games\\Vantorel\\keep.txt", "rb"), "mine");

    std::filesystem::remove(drive("/drive_c/Games/Vantorel"));
    ASSERT_EQ(makeDirectory("C:\\Games\\Vantorel"), statusOk);
    write("C:\\Games\\Vantorel\\a.txt", "wb", "ours");
    host::afterNextUnlink([&] {
        std::filesystem::rename(drive("/drive_c/Games/Vantorel"), drive("/drive_c/Games/Mine"));
        std::filesystem::create_directory_symlink(drive("/drive_c/Victim"), drive("/drive_c/Games/Vantorel"));
    });
    ASSERT_EQ(unlinkFile("C:\\Games\\Vantorel\\a.txt"), statusOk);
    expectFailure(createNewStream("C:\\Games\\Vantorel\\keep.txt", "wb", &f), errLinkOnTheWay);
    EXPECT_EQ(onHost("C:\\Victim\\keep.txt"), "mine");
}
