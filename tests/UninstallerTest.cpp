// The uninstaller removes what its log names, only inside the recorded
// locations, and says what it could not remove.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "foundation/RegistryKey.h"
#include "platform/platform.h"
#include "tests/support/TempSandbox.h"
#include "uninstaller/Removal.h"
#include "uninstaller/UninstallProgram.h"

namespace {

class UninstallerTest : public SandboxTest {
protected:
    void put(const std::string& relative, const std::string& bytes = "x") {
        sandbox.writeHostFile(sandbox.root() + "/drive_c/" + relative, bytes);
    }
    bool exists(const std::string& relative) {
        return std::filesystem::exists(sandbox.root() + "/drive_c/" + relative);
    }
    void writeLog(const std::string& lines) {
        sandbox.writeHostFile(sandbox.root() + "/drive_c/Games/Vantorel/Vantorel.gus",
                              "GUS|1\r\nAPPLICATION_NAME|Vantorel v0.94a\r\n"
                              "FILE_LOCATIONS|%APP%|C:\\Games\\Vantorel\r\n"
                              "FILE_LOCATIONS|%DESKTOP%|C:\\Users\\user\\Desktop\r\n" + lines);
    }
    const char* logPath = "C:\\Games\\Vantorel\\Vantorel.gus";
};

TEST_F(UninstallerTest, RemovesEverythingTheLogNames) {
    put("Games/Vantorel/Vantorel.exe");
    put("Games/Vantorel/doc/Vantorel.html");
    put("Users/user/Desktop/Vantorel.lnk");
    RegistryKey("Software\\Hollowmere\\Vantorel\\ScreenSaver", 0).close();
    writeLog("INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Vantorel.exe\r\n"
             "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\doc\\Vantorel.html\r\n"
             "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\gone-already.txt\r\n"
             "INSTALLED_FILE|Default|%DESKTOP%|C:\\Users\\user\\Desktop\\Vantorel.lnk\r\n"
             "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Vantorel.gus\r\n"
             "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\\Vantorel\\ScreenSaver\r\n"
             "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\\Vantorel\r\n");
    platform::host::scriptAnswers({platform::idYes});
    EXPECT_EQ(runUninstallProgram(logPath), 0);
    auto& boxes = platform::host::shownBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Do you wish to remove Vantorel v0.94a and all of its components?");
    EXPECT_EQ(boxes[0].flags, 0x124u);
    EXPECT_EQ(boxes[1].text, "Info: Vantorel v0.94a was removed.");
    EXPECT_FALSE(exists("Games/Vantorel"));
    EXPECT_TRUE(exists("Games"));
    EXPECT_TRUE(exists("Users/user/Desktop"));
    std::string user = sandbox.readHostFile(sandbox.root() + "/registry/HKEY_CURRENT_USER.reg");
    EXPECT_EQ(user.find("Hollowmere\\Vantorel"), std::string::npos);
}

TEST_F(UninstallerTest, NeverLeavesTheRecordedLocations) {
    put("WINDOWS/system.ini", "[boot]");
    put("Games/Vantorel/Vantorel.exe");
    writeLog("INSTALLED_FILE|Default|%APP%|C:\\WINDOWS\\system.ini\r\n"
             "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\..\\..\\WINDOWS\\system.ini\r\n"
             "INSTALLED_FILE|Default|%WINSYS%|C:\\WINDOWS\\system.ini\r\n"
             "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Vantorel.exe\r\n");
    platform::host::scriptAnswers({platform::idYes});
    EXPECT_EQ(runUninstallProgram(logPath), 1);
    EXPECT_EQ(sandbox.readHostFile(sandbox.root() + "/drive_c/WINDOWS/system.ini"), "[boot]");
    EXPECT_FALSE(exists("Games/Vantorel/Vantorel.exe"));
    const std::string& text = platform::host::shownBoxes().back().text;
    EXPECT_EQ(text.find("Error: Vantorel v0.94a was removed, except for what follows:\n"
                        "C:\\WINDOWS\\system.ini: not removed, it does not lie inside C:\\Games\\Vantorel\\\n"),
              0u) << text;
    EXPECT_NE(text.find("..\\WINDOWS\\system.ini: not removed"), std::string::npos);
    EXPECT_NE(text.find("not removed, its location is not a directory the setup creates"),
              std::string::npos);
}

TEST_F(UninstallerTest, RemovesNothingWithoutAReadableLog) {
    put("Games/Vantorel/Vantorel.exe");
    writeLog("INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Vantorel.exe\r\nBROKEN|x\r\n");
    EXPECT_EQ(runUninstallProgram(logPath), 1);
    EXPECT_EQ(platform::host::shownBoxes().back().text,
              "Error: Unknown type in line \"BROKEN|x\"\nNothing was removed.");
    EXPECT_TRUE(exists("Games/Vantorel/Vantorel.exe"));

    EXPECT_EQ(runUninstallProgram(nullptr), 1);
    EXPECT_EQ(platform::host::shownBoxes().back().text.find("Error: No install log was given."), 0u);
    EXPECT_EQ(runUninstallProgram("C:\\nowhere.gus"), 1);
    EXPECT_EQ(platform::host::shownBoxes().back().text,
              "Error: Could not open file \"C:\\nowhere.gus\" for reading\nNothing was removed.");

    // Declining removes nothing either.
    writeLog("INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Vantorel.exe\r\n");
    platform::host::scriptAnswers({platform::idNo});
    EXPECT_EQ(runUninstallProgram(logPath), 0);
    EXPECT_TRUE(exists("Games/Vantorel/Vantorel.exe"));
}

}  // namespace
