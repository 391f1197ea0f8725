// The uninstaller removes what its log names, only inside the recorded
// locations, and says what it could not remove.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "foundation/RegistryKey.h"
#include "platform/platform.h"
#include "tests/support/TempSandbox.h"
#include "uninstaller/UninstallProgram.h"

namespace {

class UninstallerTest : public SandboxTest {
protected:
    void put(const std::string& relative) { sandbox.writeHostFile(sandbox.root() + "/drive_c/" + relative, "x"); }
    bool exists(const std::string& relative) {
        return std::filesystem::exists(sandbox.root() + "/drive_c/" + relative);
    }
    void writeLog(const std::string& lines) {
        sandbox.writeHostFile(sandbox.root() + "/drive_c/Games/Vantorel/Vantorel.gus",
                              "GUS|1\r\nAPPLICATION_NAME|Vantorel v0.94a\r\nFILE_LOCATIONS|%APP%|C:\\Games\\Vantorel\r\n"
                              "FILE_LOCATIONS|%DESKTOP%|C:\\Users\\user\\Desktop\r\n" + lines);
    }
    int uninstall(std::vector<int> answers = {platform::idYes}) {
        platform::host::scriptAnswers(answers);
        return runUninstallProgram("C:\\Games\\Vantorel\\Vantorel.gus");
    }
    std::string lastBox() { return platform::host::shownBoxes().back().text; }
};

TEST_F(UninstallerTest, RemovesEverythingTheLogNames) {
    put("Games/Vantorel/doc/Vantorel.html");
    put("Users/user/Desktop/Vantorel.lnk");
    RegistryKey("Software\\Hollowmere\\Vantorel\\ScreenSaver", 0).close();
    writeLog("INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\doc\\Vantorel.html\r\n"
             "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\gone-already.txt\r\n"
             "INSTALLED_FILE|Default|%DESKTOP%|C:\\Users\\user\\Desktop\\Vantorel.lnk\r\n"
             "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Vantorel.gus\r\n"
             "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\\Vantorel\\ScreenSaver\r\n"
             "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\\Vantorel\r\n");
    EXPECT_EQ(uninstall(), 0);
    auto& boxes = platform::host::shownBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Do you wish to remove Vantorel v0.94a and all of its components?");
    EXPECT_EQ(boxes[0].flags, 0x124u);
    EXPECT_EQ(boxes[1].text, "Info: Vantorel v0.94a was removed.");
    EXPECT_FALSE(exists("Games/Vantorel"));
    EXPECT_TRUE(exists("Users/user/Desktop"));
    EXPECT_EQ(sandbox.readHostFile(sandbox.root() + "/registry/HKEY_CURRENT_USER.reg").find("Hollowmere\\Vantorel"),
              std::string::npos);
}

TEST_F(UninstallerTest, NeverLeavesTheRecordedLocations) {
    sandbox.writeHostFile(sandbox.root() + "/drive_c/WINDOWS/system.ini", "[boot]");
    put("Games/Vantorel/Vantorel.exe");
    writeLog("INSTALLED_FILE|Default|%APP%|C:\\WINDOWS\\system.ini\r\n"
             "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\..\\..\\WINDOWS\\system.ini\r\n"
             "INSTALLED_FILE|Default|%WINSYS%|C:\\WINDOWS\\system.ini\r\n"
             "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Vantorel.exe\r\n");
    EXPECT_EQ(uninstall(), 1);
    EXPECT_EQ(sandbox.readHostFile(sandbox.root() + "/drive_c/WINDOWS/system.ini"), "[boot]");
    EXPECT_FALSE(exists("Games/Vantorel/Vantorel.exe"));
    EXPECT_EQ(lastBox().find("Error: Vantorel v0.94a was removed, except for what follows:\n"
                             "C:\\WINDOWS\\system.ini: not removed, it does not lie inside C:\\Games\\Vantorel\\\n"),
              0u) << lastBox();
    EXPECT_NE(lastBox().find("..\\WINDOWS\\system.ini: not removed"), std::string::npos);
    EXPECT_NE(lastBox().find("not removed, its location is not a directory the setup creates"), std::string::npos);
}

TEST_F(UninstallerTest, RemovesNothingWithoutAReadableLogOrAYes) {
    put("Games/Vantorel/Vantorel.exe");
    writeLog("INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Vantorel.exe\r\nBROKEN|x\r\n");
    EXPECT_EQ(uninstall(), 1);
    EXPECT_EQ(lastBox(), "Error: Unknown type in line \"BROKEN|x\"\nNothing was removed.");
    EXPECT_EQ(runUninstallProgram(nullptr), 1);
    EXPECT_EQ(lastBox().find("Error: No install log was given."), 0u);

    writeLog("INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Vantorel.exe\r\n");
    EXPECT_EQ(uninstall({platform::idNo}), 0);
    EXPECT_TRUE(exists("Games/Vantorel/Vantorel.exe"));
}

}  // namespace
