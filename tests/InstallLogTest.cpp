// The GUS install log: bytes written, lines read back, and the reader's rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "installlog/InstallLog.h"
#include "installlog/LogDigest.h"
#include "tests/support/TempSandbox.h"

namespace {

class InstallLogTest : public SandboxTest {
protected:
    std::string bytes() { return sandbox.readHostFile(sandbox.path("C:\\log.gus")); }
    ErrorHandle read(const std::string& file) {
        sandbox.writeHostFile(sandbox.path("C:\\log.gus"), file);
        return log.readLogFile("C:\\log.gus");
    }
    InstallLog log;
};

TEST_F(InstallLogTest, WritesCrLfLinesWithoutSystemFoldersAndReadsThemBack) {
    ASSERT_FALSE(isFailure(log.writeLogFile("C:\\log.gus")));
    EXPECT_EQ(bytes(), "GUS|1\r\nAPPLICATION_NAME|\r\nFILE_LOCATIONS|%APP%|\r\nFILE_LOCATIONS|%SHORTCUT%|\r\n"
                       "FILE_LOCATIONS|%DESKTOP%|\r\nFILE_LOCATIONS|%WIN%|C:\\WINDOWS\r\n");

    log.applicationName = "Vantorel v0.94a";
    log.locations.setLocationValue("%APP%", "C:\\Games\\Vantorel");
    log.locations.setLocationValue("%WINSYS%", "C:\\WINDOWS\\SYSTEM");
    log.addInstalledFile("Default", "%APP%", "C:\\Games\\Vantorel\\Vantorel.exe");
    log.addInstalledFile("Default", "", "rel.txt");
    log.addRegistryKey("HKEY_LOCAL_MACHINE", "SOFTWARE\\X");
    ASSERT_FALSE(isFailure(log.writeLogFile("C:\\log.gus")));
    const std::string written = bytes();
    EXPECT_EQ(written.find("SYSTEM"), std::string::npos);
    EXPECT_EQ(written.substr(written.find("INSTALLED_FILE")),
              "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Vantorel.exe\r\n"
              "INSTALLED_FILE|Default||rel.txt\r\nREG_KEY|HKEY_LOCAL_MACHINE|SOFTWARE\\X\r\n");

    // What is read back writes the same bytes again.
    InstallLog back;
    ASSERT_FALSE(isFailure(back.readLogFile("C:\\LOG.GUS")));  // names compare without case
    ASSERT_FALSE(isFailure(back.writeLogFile("C:\\log.gus")));
    EXPECT_EQ(bytes(), written);
}

TEST_F(InstallLogTest, WriterReportsWhatItCannotWrite) {
    EXPECT_STREQ(log.writeLogFile("C:\\nowhere\\log.gus").message().text(),
                 "Could not open file \"C:\\nowhere\\log.gus\" for writing");
    // A full disk part-way, at the close or when the new log takes the old
    // one's place is a failure, and the old log stays whole with nothing
    // left beside it.
    log.applicationName = "old";
    ASSERT_FALSE(isFailure(log.writeLogFile("C:\\log.gus")));
    const std::string old = bytes();
    log.applicationName = "new";
    log.addInstalledFile("Default", "%APP%", "C:\\a");
    platform::host::failCall(platform::host::Call::writeStream, 1);
    EXPECT_STREQ(log.writeLogFile("C:\\log.gus").message().text(), "Could not write file \"C:\\log.gus\"");
    platform::host::failCall(platform::host::Call::closeStream, 1);
    EXPECT_TRUE(isFailure(log.writeLogFile("C:\\log.gus")));
    platform::host::failCall(platform::host::Call::replaceFile, 1);
    EXPECT_TRUE(isFailure(log.writeLogFile("C:\\log.gus")));
    const std::string leftover = sandbox.path("C:\\log.gus.new");
    EXPECT_EQ(bytes(), old);
    EXPECT_FALSE(std::filesystem::exists(leftover));
    // A leftover of a failed attempt does not stand in the way of the next.
    sandbox.writeHostFile(leftover, "stale");
    ASSERT_FALSE(isFailure(log.writeLogFile("C:\\log.gus")));
    EXPECT_NE(bytes().find("APPLICATION_NAME|new\r\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(leftover));
    // One that cannot be removed, a folder or a read-only file, is what the
    // message names, with the system's reason.
    std::filesystem::create_directories(leftover);
    EXPECT_STREQ(log.writeLogFile("C:\\log.gus").message().text(),
                 "Could not open file \"C:\\log.gus.new\" for writing: Access is denied.");
    std::filesystem::remove(leftover);
    sandbox.writeHostFile(leftover, "stale");
    std::filesystem::permissions(leftover, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    EXPECT_STREQ(log.writeLogFile("C:\\log.gus").message().text(),
                 "Could not open file \"C:\\log.gus.new\" for writing: Access is denied.");
    EXPECT_NE(bytes().find("APPLICATION_NAME|new\r\n"), std::string::npos);
}

// The log is read whole before it is trusted, up to 16 MiB: a log of exactly
// that size is read, one byte more is refused, and a failing read says so
// rather than leaving a log cut short to be taken for a changed one.
TEST_F(InstallLogTest, ReadsLogsUpToSixteenMebibytesAndSaysWhyNot) {
    const std::string path = sandbox.path("C:\\big.gus");
    std::string bytes(16u << 20, '\n');
    sandbox.writeHostFile(path, bytes);
    FileBytes file;
    ASSERT_FALSE(isFailure(file.read("C:\\big.gus")));
    EXPECT_EQ(file.size(), bytes.size());
    sandbox.writeHostFile(path, bytes + "\n");
    EXPECT_STREQ(file.read("C:\\big.gus").message().text(),
                 "The file \"C:\\big.gus\" is too large to be an install log");
    sandbox.writeHostFile(path, std::string(40000, '\n'));
    platform::host::failCall(platform::host::Call::readStream, 2);
    EXPECT_STREQ(log.readLogFile("C:\\big.gus").message().text(), "Could not read file \"C:\\big.gus\"");
}

TEST_F(InstallLogTest, ReaderStopsAtTheFirstLineItCannotAccept) {
    const char* cases[][2] = {
        {"gus|1\r\n", "No version header line before line \"gus|1\""},
        {"GUS|1|\r\n", "Incorrect number of values in version header line \"GUS|1|\""},
        {"GUS|01\r\n", "Incorrect version number in version header line \"GUS|01\""},
        {"GUS|1\r\nGUS|1\r\n", "Multiple version header line \"GUS|1\""},
        {"GUS|1\r\nAPPLICATION_NAME|a|b\r\n", "Incorrect number of values in line \"APPLICATION_NAME|a|b\""},
        {"GUS|1\r\nINSTALLED_FILE|a|b\r\n", "Incorrect number of values in line \"INSTALLED_FILE|a|b\""},
        {"GUS|1\r\nSOMETHING|x\r\n", "Unknown type in line \"SOMETHING|x\""},
    };
    for (auto& c : cases) EXPECT_STREQ(read(c[0]).message().text(), c[1]);

    ErrorHandle fifth = read("GUS|1\r\nAPPLICATION_NAME|V\r\nFILE_LOCATIONS|%APP%|C:\\V\r\n"
                             "INSTALLED_FILE|Default|%APP%|C:\\V\\a\r\nBROKEN\r\nINSTALLED_FILE|Default|%APP%|C:\\V\\b\r\n");
    EXPECT_STREQ(fifth.message().text(), "Unknown type in line \"BROKEN\"");
    EXPECT_STREQ(log.locations.APP.text(), "C:\\V");
    EXPECT_EQ(log.installedFiles.size(), 1);  // a, read before; not b
}

TEST_F(InstallLogTest, ReaderAcceptsWhatTheFormatAllows) {
    // Blank lines anywhere, bare LF, unknown macros, empty values; an
    // unterminated last line is not processed.
    EXPECT_FALSE(isFailure(read("\n\nGUS|1\nAPPLICATION_NAME|\r\n\r\nFILE_LOCATIONS|%OTHER%|C:\\x\n"
                                "INSTALLED_FILE|Default|%APP%|C:\\a\nINSTALLED_FILE|Default|%APP%|C:\\b")));
    EXPECT_STREQ(log.applicationName.text(), "");
    ASSERT_EQ(log.installedFiles.size(), 1);
    EXPECT_STREQ(log.installedFiles[0].path.text(), "C:\\a");

    // The 2048-byte line buffer reads a 3000-character line as 2047 + 953.
    EXPECT_STREQ(read("GUS|1\r\n" + std::string(3000, 'x') + "\r\n").message().text(),
                 ("Unknown type in line \"" + std::string(2047, 'x') + "\"").c_str());
    std::string line = "INSTALLED_FILE|Default|%APP%|C:\\" + std::string(2047 - 32, 'p');
    EXPECT_FALSE(isFailure(read("GUS|1\r\n" + line + "\r\nAPPLICATION_NAME|n\r\n")));
    EXPECT_EQ(log.installedFiles.size(), 1);
    EXPECT_STREQ(log.applicationName.text(), "n");
}

}  // namespace
