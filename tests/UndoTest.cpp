// Undoing a recorded installation: what goes, what stays, where it stops.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "engine/Undo.h"
#include "foundation/RegistryKey.h"
#include "tests/support/TempSandbox.h"

namespace {

class UndoTest : public SandboxTest {
protected:
    UndoTest() {
        log.locations.setLocationValue("%APP%", "C:\\P\\Vantorel");
        log.locations.setLocationValue("%DESKTOP%", "C:\\Users\\user\\Desktop");
    }
    void put(const std::string& windowsPath) {
        std::string host = sandbox.root() + "/drive_c/" + windowsPath.substr(3);
        for (char& c : host) if (c == '\\') c = '/';
        sandbox.writeHostFile(host, "x");
    }
    bool exists(const std::string& relative) {
        return std::filesystem::exists(sandbox.root() + "/drive_c/" + relative);
    }
    InstallLog log;
};

TEST_F(UndoTest, RemovesFilesAndTheDirectoriesTheyLeaveEmpty) {
    put("C:\\P\\keep.txt");
    put("C:\\P\\Vantorel\\a.txt");
    put("C:\\P\\Vantorel\\doc\\b.html");
    put("C:\\Users\\user\\Desktop\\Game.lnk");
    log.addInstalledFile("Default", "%APP%", "C:\\P\\Vantorel\\a.txt");
    log.addInstalledFile("Default", "%APP%", "C:\\P\\Vantorel\\doc\\b.html");
    log.addInstalledFile("Default", "%APP%", "C:\\P\\Vantorel\\never-written.gus");
    log.addInstalledFile("Default", "%DESKTOP%", "C:\\Users\\user\\Desktop\\Game.lnk");
    EXPECT_FALSE(isFailure(undoInstallation(log)));
    EXPECT_FALSE(exists("P/Vantorel"));
    EXPECT_TRUE(exists("P/keep.txt"));  // the parent held something before
    EXPECT_FALSE(exists("Users/user/Desktop/Game.lnk"));
    EXPECT_TRUE(exists("Users/user/Desktop"));
}

TEST_F(UndoTest, ADirectoryThatHeldOtherFilesStays) {
    put("C:\\P\\Vantorel\\mine.sav");
    put("C:\\P\\Vantorel\\a.txt");
    log.addInstalledFile("Default", "%APP%", "C:\\P\\Vantorel\\a.txt");
    EXPECT_FALSE(isFailure(undoInstallation(log)));
    EXPECT_TRUE(exists("P/Vantorel/mine.sav"));
    EXPECT_FALSE(exists("P/Vantorel/a.txt"));
}

TEST_F(UndoTest, AReadOnlyFileStopsTheUndo) {
    put("C:\\P\\Vantorel\\a.txt");
    put("C:\\P\\Vantorel\\b.txt");
    put("C:\\P\\Vantorel\\c.txt");
    ::chmod((sandbox.root() + "/drive_c/P/Vantorel/b.txt").c_str(), 0444);
    log.addInstalledFile("Default", "%APP%", "C:\\P\\Vantorel\\a.txt");
    log.addInstalledFile("Default", "%APP%", "C:\\P\\Vantorel\\b.txt");
    log.addInstalledFile("Default", "%APP%", "C:\\P\\Vantorel\\c.txt");
    RegistryKey("Software\\Hollowmere\\Vantorel", 0).close();
    log.addRegistryKey("HKEY_CURRENT_USER", "Software\\Hollowmere\\Vantorel");
    ErrorHandle result = undoInstallation(log);
    EXPECT_STREQ(result.message().text(),
                 "Cannot delete file \"C:\\P\\Vantorel\\b.txt\" because it is read-only");
    EXPECT_FALSE(exists("P/Vantorel/a.txt"));
    EXPECT_TRUE(exists("P/Vantorel/c.txt"));
    std::string user = sandbox.readHostFile(sandbox.root() + "/registry/HKEY_CURRENT_USER.reg");
    EXPECT_NE(user.find("[HKEY_CURRENT_USER\\Software\\Hollowmere\\Vantorel]"), std::string::npos);
}

TEST_F(UndoTest, AnEmptyLocationStopsWithTheBaseMessage) {
    put("C:\\loose.txt");
    log.addInstalledFile("Default", "", "C:\\loose.txt");
    ErrorHandle result = undoInstallation(log);
    EXPECT_STREQ(result.message().text(), "The directory \"\\\" is not the base of \"C:\\\"");
    EXPECT_FALSE(exists("loose.txt"));
}

TEST_F(UndoTest, RegistryKeysGoInLogOrderAndUnknownAreasStop) {
    RegistryKey("Software\\Hollowmere\\Vantorel\\ScreenSaver", 0).close();
    log.addRegistryKey("HKEY_CURRENT_USER", "Software\\Hollowmere\\Vantorel\\ScreenSaver");
    log.addRegistryKey("HKEY_CURRENT_USER", "Software\\Hollowmere\\Vantorel");
    log.addRegistryKey("HKEY_LOCAL_MACHINE", "SOFTWARE\\Gone\\Already");
    log.addRegistryKey("HKEY_CLASSES_ROOT", "x\\y");
    put("C:\\P\\Vantorel\\a.txt");
    log.addInstalledFile("Default", "%APP%", "C:\\P\\Vantorel\\a.txt");
    ErrorHandle result = undoInstallation(log);
    EXPECT_STREQ(result.message().text(), "Unknown registry area \"HKEY_CLASSES_ROOT\"");
    EXPECT_FALSE(exists("P/Vantorel"));  // the files were handled first
    std::string user = sandbox.readHostFile(sandbox.root() + "/registry/HKEY_CURRENT_USER.reg");
    EXPECT_EQ(user.find("Hollowmere\\Vantorel"), std::string::npos);
    EXPECT_NE(user.find("[HKEY_CURRENT_USER\\Software\\Hollowmere]"), std::string::npos);
    // A key already gone is no failure; its parent is created and stays.
    std::string machine = sandbox.readHostFile(sandbox.root() + "/registry/HKEY_LOCAL_MACHINE.reg");
    EXPECT_NE(machine.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]"), std::string::npos);
}

}  // namespace
