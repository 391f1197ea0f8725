// The GUS install log: bytes written, lines read back, and the reader's rules.
#include <gtest/gtest.h>

#include <string>

#include "installlog/InstallLog.h"
#include "tests/support/TempSandbox.h"

namespace {

class InstallLogTest : public SandboxTest {
protected:
    std::string logBytes(const char* windowsPath) { return sandbox.readHostFile(sandbox.path(windowsPath)); }
    void putLog(const char* windowsPath, const std::string& bytes) {
        sandbox.writeHostFile(sandbox.path(windowsPath), bytes);
    }
    ErrorHandle read(const std::string& bytes) {
        putLog("C:\\log.gus", bytes);
        return log.readLogFile("C:\\log.gus");
    }
    InstallLog log;
};

TEST_F(InstallLogTest, EmptyRecordIsSixLinesWithCrLf) {
    ASSERT_FALSE(isFailure(log.writeLogFile("C:\\log.gus")));
    EXPECT_EQ(logBytes("C:\\log.gus"),
              "GUS|1\r\nAPPLICATION_NAME|\r\nFILE_LOCATIONS|%APP%|\r\n"
              "FILE_LOCATIONS|%SHORTCUT%|\r\nFILE_LOCATIONS|%DESKTOP%|\r\n"
              "FILE_LOCATIONS|%WIN%|C:\\WINDOWS\r\n");
}

TEST_F(InstallLogTest, RecordsAreWrittenInOrderWithoutSystemFolders) {
    log.applicationName = "Vantorel v0.94a";
    log.locations.setLocationValue("%APP%", "C:\\Games\\Vantorel");
    log.locations.setLocationValue("%WINSYS%", "C:\\WINDOWS\\SYSTEM");
    log.locations.setLocationValue("%WINSYS32%", "C:\\WINDOWS\\SYSTEM32");
    log.addInstalledFile("Default", "%APP%", "C:\\Games\\Vantorel\\Vantorel.exe");
    log.addInstalledFile("Default", "", "rel.txt");
    log.addRegistryKey("HKEY_LOCAL_MACHINE", "SOFTWARE\\X");
    ASSERT_FALSE(isFailure(log.writeLogFile("C:\\log.gus")));
    std::string bytes = logBytes("C:\\log.gus");
    EXPECT_EQ(bytes.find("SYSTEM"), std::string::npos);
    EXPECT_NE(bytes.find("FILE_LOCATIONS|%WIN%|C:\\WINDOWS\r\n"
                         "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Vantorel.exe\r\n"
                         "INSTALLED_FILE|Default||rel.txt\r\n"
                         "REG_KEY|HKEY_LOCAL_MACHINE|SOFTWARE\\X\r\n"),
              std::string::npos);
    EXPECT_EQ(bytes.rfind("\r\n"), bytes.size() - 2);

    // Read back: equal but for the system folders, which are never written.
    InstallLog back;
    back.applicationName = "old name";
    ASSERT_FALSE(isFailure(back.readLogFile("C:\\LOG.GUS")));
    EXPECT_STREQ(back.applicationName.text(), "Vantorel v0.94a");
    EXPECT_STREQ(back.locations.locationValue("%APP%").text(), "C:\\Games\\Vantorel");
    EXPECT_STREQ(back.locations.locationValue("%WINSYS%").text(), "");
    ASSERT_EQ(back.installedFiles.size(), 2);
    EXPECT_STREQ(back.installedFiles[1].path.text(), "rel.txt");
    EXPECT_STREQ(back.installedFiles[1].location.text(), "");
    ASSERT_EQ(back.registryKeys.size(), 1);
    EXPECT_STREQ(back.registryKeys[0].key.text(), "SOFTWARE\\X");

    // Writing again replaces the file whole.
    InstallLog empty;
    ASSERT_FALSE(isFailure(empty.writeLogFile("C:\\log.gus")));
    EXPECT_EQ(logBytes("C:\\log.gus").find("INSTALLED_FILE"), std::string::npos);
}

TEST_F(InstallLogTest, WriterReportsWhatItCannotWrite) {
    ErrorHandle missingDir = log.writeLogFile("C:\\nowhere\\log.gus");
    EXPECT_STREQ(missingDir.message().text(), "Could not open file \"C:\\nowhere\\log.gus\" for writing");
    EXPECT_TRUE(sandbox.path("C:\\nowhere").empty() ||
                sandbox.readHostFile(sandbox.path("C:\\nowhere\\log.gus")).empty());

    // A full disk part-way is a failure, not a log silently cut short.
    platform::host::failCall(platform::host::Fault::writeFile, 3);
    ErrorHandle full = log.writeLogFile("C:\\log.gus");
    EXPECT_TRUE(isFailure(full));
    EXPECT_STREQ(full.message().text(), "Could not write file \"C:\\log.gus\"");
    platform::host::failCall(platform::host::Fault::closeFile, 1);
    EXPECT_TRUE(isFailure(log.writeLogFile("C:\\log.gus")));
}

TEST_F(InstallLogTest, ReaderMessagesNameTheLine) {
    struct Case {
        const char* file;
        const char* message;
    } cases[] = {
        {"gus|1\r\n", "No version header line before line \"gus|1\""},
        {"GUS|1|\r\n", "Incorrect number of values in version header line \"GUS|1|\""},
        {"GUS|01\r\n", "Incorrect version number in version header line \"GUS|01\""},
        {"GUS|1\r\nGUS|1\r\n", "Multiple version header line \"GUS|1\""},
        {"GUS|1\r\nAPPLICATION_NAME|a|b\r\n", "Incorrect number of values in line \"APPLICATION_NAME|a|b\""},
        {"GUS|1\r\nREG_KEY|HKEY_CURRENT_USER\r\n", "Incorrect number of values in line \"REG_KEY|HKEY_CURRENT_USER\""},
        {"GUS|1\r\nINSTALLED_FILE|a|b\r\n", "Incorrect number of values in line \"INSTALLED_FILE|a|b\""},
        {"GUS|1\r\nSOMETHING|x\r\n", "Unknown type in line \"SOMETHING|x\""},
    };
    for (const Case& c : cases) {
        ErrorHandle result = read(c.file);
        EXPECT_TRUE(isFailure(result)) << c.file;
        EXPECT_STREQ(result.message().text(), c.message);
    }
    ErrorHandle missing = log.readLogFile("C:\\missing.gus");
    EXPECT_STREQ(missing.message().text(), "Could not open file \"C:\\missing.gus\" for reading");
    EXPECT_TRUE(sandbox.readHostFile(sandbox.path("C:\\missing.gus")).empty());
}

TEST_F(InstallLogTest, ReaderAcceptsWhatTheFormatAllows) {
    // Blank lines anywhere, bare LF, unknown macros, empty values; an
    // unterminated last line is not processed.
    ErrorHandle result = read("\n\nGUS|1\nAPPLICATION_NAME|\r\n\r\nFILE_LOCATIONS|%OTHER%|C:\\x\n"
                              "INSTALLED_FILE|Default|%APP%|C:\\a\nINSTALLED_FILE|Default|%APP%|C:\\b");
    EXPECT_FALSE(isFailure(result));
    EXPECT_STREQ(log.applicationName.text(), "");
    ASSERT_EQ(log.installedFiles.size(), 1);
    EXPECT_STREQ(log.installedFiles[0].path.text(), "C:\\a");

    EXPECT_FALSE(isFailure(read("")));
    EXPECT_EQ(log.installedFiles.size(), 0);
}

TEST_F(InstallLogTest, LongLinesAreReadInPieces) {
    // The 2048-byte line buffer splits a 3000-character line into 2047 + 953.
    std::string longLine(3000, 'x');
    ErrorHandle result = read("GUS|1\r\n" + longLine + "\r\n");
    EXPECT_STREQ(result.message().text(), ("Unknown type in line \"" + std::string(2047, 'x') + "\"").c_str());

    std::string path = "C:\\" + std::string(2047 - 28, 'p');
    std::string line = "INSTALLED_FILE|Default|%APP%|" + path.substr(0, 2047 - 29);
    ASSERT_EQ(line.size(), 2047u);
    EXPECT_FALSE(isFailure(read("GUS|1\r\n" + line + "\r\nAPPLICATION_NAME|n\r\n")));
    EXPECT_EQ(log.installedFiles.size(), 1);
    EXPECT_STREQ(log.applicationName.text(), "n");

    ErrorHandle tail = read("GUS|1\r\nAPPLICATION_NAME|" + std::string(2030, 'n') + "|x|y\r\n");
    EXPECT_TRUE(isFailure(tail));
}

TEST_F(InstallLogTest, FailureKeepsWhatEarlierLinesSet) {
    ErrorHandle result = read("GUS|1\r\nAPPLICATION_NAME|Vantorel v0.94a\r\n"
                              "FILE_LOCATIONS|%APP%|C:\\V\r\nINSTALLED_FILE|Default|%APP%|C:\\V\\a\r\n"
                              "BROKEN\r\nINSTALLED_FILE|Default|%APP%|C:\\V\\b\r\n");
    EXPECT_STREQ(result.message().text(), "Unknown type in line \"BROKEN\"");
    EXPECT_STREQ(log.applicationName.text(), "Vantorel v0.94a");
    EXPECT_STREQ(log.locations.locationValue("%APP%").text(), "C:\\V");
    EXPECT_EQ(log.installedFiles.size(), 1);
}

}  // namespace
