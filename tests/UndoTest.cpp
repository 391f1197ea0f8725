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
    // Puts the file and records it under the location.
    void installed(const char* location, const std::string& relative) {
        sandbox.writeHostFile(drive(relative), "x");
        std::string path = "C:\\" + relative;
        for (char& c : path) if (c == '/') c = '\\';
        log.addInstalledFile("Default", location, path.c_str());
    }
    std::string drive(const std::string& relative) { return sandbox.root() + "/drive_c/" + relative; }
    bool exists(const std::string& relative) { return std::filesystem::exists(drive(relative)); }
    std::string hive(const char* root) { return sandbox.readHostFile(sandbox.root() + "/registry/" + root + ".reg"); }
    InstallLog log;
};

TEST_F(UndoTest, RemovesFilesAndTheDirectoriesTheyLeaveEmpty) {
    sandbox.writeHostFile(drive("P/keep.txt"), "mine");
    installed("%APP%", "P/Vantorel/a.txt");
    installed("%APP%", "P/Vantorel/doc/b.html");
    log.addInstalledFile("Default", "%APP%", "C:\\P\\Vantorel\\never-written.gus");
    installed("%DESKTOP%", "Users/user/Desktop/Game.lnk");
    EXPECT_FALSE(isFailure(undoInstallation(log)));
    EXPECT_FALSE(exists("P/Vantorel"));
    EXPECT_TRUE(exists("P/keep.txt"));
    EXPECT_FALSE(exists("Users/user/Desktop/Game.lnk"));
    EXPECT_TRUE(exists("Users/user/Desktop"));
}

TEST_F(UndoTest, StopsAtTheFirstFailure) {
    installed("%APP%", "P/Vantorel/a.txt");
    installed("%APP%", "P/Vantorel/b.txt");
    installed("%APP%", "P/Vantorel/c.txt");
    ::chmod(drive("P/Vantorel/b.txt").c_str(), 0444);
    RegistryKey("Software\\Hollowmere\\Vantorel", 0).close();
    log.addRegistryKey("HKEY_CURRENT_USER", "Software\\Hollowmere\\Vantorel");
    EXPECT_STREQ(undoInstallation(log).message().text(),
                 "Cannot delete file \"C:\\P\\Vantorel\\b.txt\" because it is read-only");
    EXPECT_FALSE(exists("P/Vantorel/a.txt"));
    EXPECT_TRUE(exists("P/Vantorel/c.txt"));
    EXPECT_NE(hive("HKEY_CURRENT_USER").find("[HKEY_CURRENT_USER\\Software\\Hollowmere\\Vantorel]"), std::string::npos);

    // An empty location has no base: its file goes, then the undo stops.
    InstallLog loose;
    sandbox.writeHostFile(drive("loose.txt"), "x");
    loose.addInstalledFile("Default", "", "C:\\loose.txt");
    EXPECT_STREQ(undoInstallation(loose).message().text(), "The directory \"\\\" is not the base of \"C:\\\"");
    EXPECT_FALSE(exists("loose.txt"));
}

TEST_F(UndoTest, RegistryKeysGoInLogOrderAfterTheFiles) {
    RegistryKey("Software\\Hollowmere\\Vantorel\\ScreenSaver", 0).close();
    log.addRegistryKey("HKEY_CURRENT_USER", "Software\\Hollowmere\\Vantorel\\ScreenSaver");
    log.addRegistryKey("HKEY_CURRENT_USER", "Software\\Hollowmere\\Vantorel");
    log.addRegistryKey("HKEY_LOCAL_MACHINE", "SOFTWARE\\Gone\\Already");
    log.addRegistryKey("HKEY_CLASSES_ROOT", "x\\y");
    installed("%APP%", "P/Vantorel/a.txt");
    EXPECT_STREQ(undoInstallation(log).message().text(), "Unknown registry area \"HKEY_CLASSES_ROOT\"");
    EXPECT_FALSE(exists("P/Vantorel"));
    EXPECT_EQ(hive("HKEY_CURRENT_USER").find("Hollowmere\\Vantorel"), std::string::npos);
    // A key already gone is no failure; its parent is created and stays.
    EXPECT_NE(hive("HKEY_LOCAL_MACHINE").find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]"), std::string::npos);
}

}  // namespace
