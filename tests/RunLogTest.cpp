// The run log that /LOG asks for: one timestamped line per note, written
// through the seam, never followed through a planted link, and never in the
// way of the run it records.
#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>
#include <string>

#include "foundation/RunLog.h"
#include "platform/Files.h"
#include "platform/System.h"
#include "tests/support/TempSandbox.h"

namespace {

using platform::host::Call;
using platform::host::failCall;

class RunLogTest : public SandboxTest {
protected:
    ~RunLogTest() override { runlog::close(); }
    std::string file(const char* windowsPath) { return sandbox.readHostFile(sandbox.path(windowsPath)); }
    const std::string stamp = "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}  ";
    const std::string under = std::string(25, ' ');
};

TEST_F(RunLogTest, NotesAreTimestampedLinesAndTheirTextsContinueIndented) {
    runlog::note("nothing is open: %s", "dropped");
    EXPECT_EQ(platform::host::callsMade(Call::writeStream), 0);

    ASSERT_EQ(runlog::open("C:\\run.log"), platform::statusOk);
    runlog::note("one %d", 1);
    // A box's text and a system message, whose CR LF and empty lines go.
    runlog::note("Error: two\r\nthree\n\nfour\r\n");
    failCall(Call::localTime, 1);
    runlog::note("five");
    runlog::close();
    EXPECT_TRUE(std::regex_match(file("C:\\run.log"),
                                 std::regex(stamp + "one 1\r\n" + stamp + "Error: two\r\n" + under + "three\r\n" +
                                            under + "four\r\n\\(no time\\) {16}five\r\n")))
        << file("C:\\run.log");
}

// A failing log write never shows up in the run: the caller's last error
// stays for its own message, and the log just stops.
TEST_F(RunLogTest, AWriteThatFailsEndsTheLogAndLeavesTheCallersError) {
    ASSERT_EQ(runlog::open("C:\\run.log"), platform::statusOk);
    runlog::note("kept");
    platform::setLastErrorCode(platform::errAccessDenied);
    failCall(Call::flushStream, 1);
    runlog::note("lost");
    EXPECT_EQ(platform::lastErrorCode(), platform::errAccessDenied);
    EXPECT_FALSE(runlog::isOpen());
    runlog::note("after");
    EXPECT_NE(file("C:\\run.log").find("kept"), std::string::npos);
    EXPECT_EQ(file("C:\\run.log").find("after"), std::string::npos);

    ASSERT_EQ(runlog::open("C:\\run.log"), platform::statusOk);
    platform::setLastErrorCode(platform::errDiskFull);
    failCall(Call::writeStream, 1);
    runlog::note("lost");
    EXPECT_EQ(platform::lastErrorCode(), platform::errDiskFull);
    EXPECT_FALSE(runlog::isOpen());
    EXPECT_EQ(file("C:\\run.log").find("lost"), std::string::npos);  // a full disk cuts it short
}

// The administrator names the log; a standard user may have put a link under
// that name, before the run or in the moment the old file goes. The link is
// removed, never written through.
TEST_F(RunLogTest, ReplacesTheFileAndNeverWritesThroughALinkPlantedAtItsName) {
    const std::string victim = sandbox.path("C:\\WINDOWS") + "/win.ini";
    sandbox.writeHostFile(victim, "[fonts]");
    sandbox.writeHostFile(sandbox.path("C:\\") + "/run.log", "an earlier run");
    ASSERT_EQ(runlog::open("C:\\run.log"), platform::statusOk);
    runlog::note("this run");
    runlog::close();
    EXPECT_EQ(file("C:\\run.log").find("earlier"), std::string::npos);

    const std::string planted = sandbox.path("C:\\") + "/run.log";
    ::unlink(planted.c_str());
    ASSERT_EQ(::symlink(victim.c_str(), planted.c_str()), 0);
    ASSERT_EQ(runlog::open("C:\\run.log"), platform::statusOk);
    runlog::note("this run");
    runlog::close();
    EXPECT_EQ(sandbox.readHostFile(victim), "[fonts]");

    platform::host::afterNextUnlink([&] { ::symlink(victim.c_str(), planted.c_str()); });
    EXPECT_TRUE(platform::isAlreadyThere(runlog::open("C:\\run.log")));
    EXPECT_FALSE(runlog::isOpen());
    runlog::note("nowhere");
    EXPECT_EQ(sandbox.readHostFile(victim), "[fonts]");
}

TEST_F(RunLogTest, ADatedLogInTheTemporaryFolderTakesTheNextFreeName) {
    String path;
    failCall(Call::createNewStream, 1, platform::errFileExists);
    ASSERT_EQ(runlog::openInTemporaryFolder("Vantorel Setup", path), platform::statusOk);
    EXPECT_TRUE(std::regex_match(path.text(), std::regex("C:\\\\Users\\\\user\\\\AppData\\\\Local\\\\Temp\\\\Vantorel Setup "
                                                         "\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d \\(2\\)\\.log")))
        << path.text();
    runlog::note("here");
    runlog::close();
    EXPECT_NE(file(path.text()).find("here"), std::string::npos);

    failCall(Call::temporaryDirectory, 1);
    EXPECT_EQ(runlog::openInTemporaryFolder("Vantorel Setup", path), platform::errAccessDenied);
    EXPECT_FALSE(runlog::isOpen());
}

}  // namespace
