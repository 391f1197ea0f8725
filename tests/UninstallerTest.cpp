// The uninstaller removes what its log names, only when the log is the one
// registered and unchanged, only inside the system's own locations, and says
// what it could not remove.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "foundation/RegistryKey.h"
#include "installlog/LogDigest.h"
#include "platform/Dialogs.h"
#include "tests/support/TempSandbox.h"
#include "uninstaller/UninstallProgram.h"

namespace {

const char* const entryKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantorel v0.94a";
const std::string group = "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Vantorel";

class UninstallerTest : public SandboxTest {
protected:
    void put(const std::string& relative) { sandbox.writeHostFile(drive(relative), "x"); }
    std::string drive(const std::string& relative) { return sandbox.root() + "/drive_c/" + relative; }
    bool exists(const std::string& relative) { return std::filesystem::exists(drive(relative)); }
    std::string hive(const char* root) { return sandbox.readHostFile(sandbox.root() + "/registry/" + root + ".reg"); }

    // The log as the setup writes it, registered with its digest as the
    // setup's last step leaves it; a location line given after the recorded
    // ones takes the macro over, as an edit could.
    void writeLog(const std::string& lines, const std::string& location = "") {
        std::string bytes = "GUS|1\r\nAPPLICATION_NAME|Vantorel v0.94a\r\n"
                            "FILE_LOCATIONS|%APP%|C:\\Games\\Vantorel\r\nFILE_LOCATIONS|%SHORTCUT%|" + group + "\r\n"
                            "FILE_LOCATIONS|%DESKTOP%|C:\\Users\\user\\Desktop\r\nFILE_LOCATIONS|%WIN%|C:\\WINDOWS\r\n" +
                            location + lines;
        sandbox.writeHostFile(drive("Games/Vantorel/Vantorel.gus"), bytes);
        RegistryKey entry(entryKey, 1);
        entry.writeText("UninstallString", "\"C:\\Program Files\\Common Files\\System\\TessalyUninstaller.exe\" "
                                           "\"C:\\Games\\Vantorel\\Vantorel.gus\"");
        entry.writeText("InstallLogSHA256", digestText(bytes.data(), bytes.size()).text());
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
             "REG_KEY|HKEY_LOCAL_MACHINE|" + std::string(entryKey) + "\r\n"
             "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\\Vantorel\\ScreenSaver\r\n"
             "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\\Vantorel\r\n");
    EXPECT_EQ(uninstall(), 0);
    auto& boxes = platform::host::shownBoxes();
    ASSERT_EQ(boxes.size(), 2u) << lastBox();
    EXPECT_EQ(boxes[0].text, "Do you wish to remove Vantorel v0.94a and all of its components?");
    EXPECT_EQ(boxes[0].flags, 0x124u);  // Yes/No with a question mark, No the default
    EXPECT_EQ(boxes[1].text, "Info: Vantorel v0.94a was removed.");
    EXPECT_FALSE(exists("Games/Vantorel"));
    EXPECT_FALSE(exists("Users/user/Desktop/Vantorel.lnk"));
    EXPECT_TRUE(exists("Users/user/Desktop"));
    EXPECT_EQ(hive("HKEY_CURRENT_USER").find("Hollowmere\\Vantorel"), std::string::npos);
    EXPECT_EQ(hive("HKEY_LOCAL_MACHINE").find("Vantorel"), std::string::npos);
}

TEST_F(UninstallerTest, FilesOutsideOrBehindALinkStay) {
    sandbox.writeHostFile(drive("WINDOWS/system.ini"), "[boot]");
    put("Games/Vantorel/Vantorel.exe");
    put("Elsewhere/victim.txt");
    put("Elsewhere/deep/victim.txt");
    // A standard user may turn a folder of the installation into a link.
    std::filesystem::create_directory_symlink(drive("Elsewhere"), drive("Games/Vantorel/data"));
    std::filesystem::create_symlink(drive("Elsewhere/victim.txt"), drive("Games/Vantorel/readme.txt"));
    std::string lines;
    for (const char* path : {"C:\\WINDOWS\\system.ini", "C:\\Games\\Vantorel\\..\\..\\WINDOWS\\system.ini",
                             "C:\\Games\\Vantorel\\x/../../../WINDOWS/system.ini",
                             "C:\\Games\\Vantorel\\data\\victim.txt", "C:\\Games\\Vantorel\\data\\deep\\victim.txt",
                             "C:\\Games\\Vantorel\\readme.txt", "C:\\Games\\Vantorel\\Vantorel.exe"})
        lines += "INSTALLED_FILE|Default|%APP%|" + std::string(path) + "\r\n";
    writeLog(lines + "INSTALLED_FILE|Default|%WINSYS%|C:\\WINDOWS\\system.ini\r\n");
    EXPECT_EQ(uninstall(), 1);
    EXPECT_EQ(sandbox.readHostFile(drive("WINDOWS/system.ini")), "[boot]");
    EXPECT_TRUE(exists("Elsewhere/victim.txt"));
    EXPECT_TRUE(exists("Elsewhere/deep/victim.txt"));
    EXPECT_FALSE(exists("Games/Vantorel/Vantorel.exe"));
    const std::string box = lastBox();
    EXPECT_EQ(box.find("Error: Vantorel v0.94a was removed, except for what follows:\n"
                       "C:\\WINDOWS\\system.ini: not removed, it does not lie inside C:\\Games\\Vantorel\\\n"), 0u)
        << box;
    for (const char* said : {"..\\WINDOWS\\system.ini: not removed, it is not a plain path",
                             "not removed, its location is not a plain folder path",
                             "data\\deep\\victim.txt: not removed, a junction or link lies on its way",
                             "readme.txt: not removed, a junction or link lies on its way"})
        EXPECT_NE(box.find(said), std::string::npos) << said;
}

TEST_F(UninstallerTest, OnlyThisProductsKeysGoAndNoneIsMadeToDeleteAnother) {
    RegistryKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 1).close();
    RegistryKey("Software\\Microsoft\\Notepad", 0).close();
    RegistryKey("Software\\Hollowmere\\Vantorel", 0).close();
    writeLog("REG_KEY|HKEY_LOCAL_MACHINE|SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\r\n"
             "REG_KEY|HKEY_CURRENT_USER|Software\\Microsoft\\Notepad\r\n"
             "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\r\n"
             "REG_KEY|HKEY_CURRENT_USER|Environment\r\n"
             "REG_KEY|HKEY_CURRENT_USER|Software\\Missing\\Parent\\Key\r\n"
             "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\\Vantorel\r\n");
    EXPECT_EQ(uninstall(), 1);
    std::string user = hive("HKEY_CURRENT_USER");
    EXPECT_NE(hive("HKEY_LOCAL_MACHINE").find("CurrentVersion\\Run]"), std::string::npos);
    EXPECT_NE(user.find("Microsoft\\Notepad]"), std::string::npos);
    EXPECT_EQ(user.find("Hollowmere\\Vantorel]"), std::string::npos);
    EXPECT_EQ(user.find("Missing"), std::string::npos);  // opened to delete, never made
    for (const char* refused : {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run: ",
                                "HKEY_CURRENT_USER\\Software\\Microsoft\\Notepad: ",
                                "HKEY_CURRENT_USER\\Software\\Hollowmere: ", "HKEY_CURRENT_USER\\Environment: "})
        EXPECT_NE(lastBox().find(std::string(refused) + "not removed, not a key of this product"),
                  std::string::npos) << refused;
}

// What the system registered decides: a log that is not the registered one,
// has no digest, was changed, or names locations of its own is refused
// whole, before the question, and nothing at all is removed.
TEST_F(UninstallerTest, ALogTheSystemDoesNotVouchForRemovesNothing) {
    const std::string file = "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Vantorel.exe\r\n";
    const char* const cases[][3] = {
        {"%APP%", "C:\\Games", "gives %APP% as \"C:\\Games\", which is not the folder that holds the log."},
        {"%APP%", "C:\\Games\\Vantorel\\.", "gives %APP%"},
        {"%WIN%", "C:\\Program Files", "gives %WIN% as \"C:\\Program Files\", which is not the Windows folder."},
        {"%SHORTCUT%", "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu",
         "which is not a folder in a Start menu."},
        {"%SHORTCUT%", "C:\\Users\\user\\Documents", "gives %SHORTCUT%"},
        {"%DESKTOP%", "C:\\Users\\other\\Documents", "which is not a desktop."},
        {"%WINSYS%", "C:\\WINDOWS\\system32",
         "gives %WINSYS% as \"C:\\WINDOWS\\system32\", which is not a location the setup records."},
    };
    put("Games/Vantorel/Vantorel.exe");
    for (const auto& c : cases) {
        SCOPED_TRACE(c[1]);
        writeLog(file, "FILE_LOCATIONS|" + std::string(c[0]) + "|" + c[1] + "\r\n");
        EXPECT_EQ(uninstall(), 1);
        EXPECT_NE(lastBox().find(c[2]), std::string::npos) << lastBox();
        EXPECT_NE(lastBox().find(" Nothing was removed."), std::string::npos);
    }

    // The setup's last step never ran: no digest.
    writeLog(file);
    RegistryKey(entryKey, 1).writeText("InstallLogSHA256", "");
    EXPECT_EQ(uninstall(), 1);
    EXPECT_EQ(lastBox(), "Error: The install log \"C:\\Games\\Vantorel\\Vantorel.gus\" cannot be checked: "
                         "no digest of it was kept at the installation. Nothing was removed.");
    // Changed after the installation: one line for a file of the system's.
    writeLog(file);
    sandbox.writeHostFile(drive("Games/Vantorel/Vantorel.gus"),
                          sandbox.readHostFile(drive("Games/Vantorel/Vantorel.gus")) +
                              "INSTALLED_FILE|Default|%WIN%|C:\\WINDOWS\\win.ini\r\n");
    EXPECT_EQ(uninstall(), 1);
    EXPECT_EQ(lastBox(), "Error: The install log \"C:\\Games\\Vantorel\\Vantorel.gus\" has been changed since "
                         "the installation. Nothing was removed.");
    // A log the entry does not name, and an entry that is not there at all.
    RegistryKey(entryKey, 1).writeText("UninstallString", "\"C:\\u.exe\" \"C:\\Other\\Vantorel.gus\"");
    EXPECT_EQ(uninstall(), 1);
    EXPECT_NE(lastBox().find("is not the one registered for Vantorel v0.94a. Nothing was removed."),
              std::string::npos);
    writeLog(file);
    RegistryKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 1).deleteSubKey("Vantorel v0.94a");
    EXPECT_EQ(uninstall(), 1);
    EXPECT_NE(lastBox().find("is not the one registered"), std::string::npos);
    EXPECT_EQ(hive("HKEY_LOCAL_MACHINE").find("Vantorel v0.94a"), std::string::npos);
    // An entry the system would not let us read may well be the right one:
    // that is no answer, and is said as it is.
    writeLog(file);
    for (platform::host::Call kind : {platform::host::Call::regOpenKey, platform::host::Call::regQueryValue}) {
        platform::host::failCall(kind, 1);
        EXPECT_EQ(uninstall(), 1);
        EXPECT_EQ(lastBox(), "Error: The Uninstall entry of Vantorel v0.94a could not be read: Access is denied. "
                             "Nothing was removed.");
    }

    EXPECT_TRUE(exists("Games/Vantorel/Vantorel.exe"));
    for (const auto& box : platform::host::shownBoxes()) EXPECT_EQ(box.text.find("Do you wish"), std::string::npos);
}

TEST_F(UninstallerTest, RemovesNothingWithoutAReadableLogOrAYes) {
    const std::string file = "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Vantorel.exe\r\n";
    put("Games/Vantorel/Vantorel.exe");
    writeLog(file + "BROKEN|x\r\n");
    EXPECT_EQ(uninstall(), 1);
    EXPECT_EQ(lastBox(), "Error: Unknown type in line \"BROKEN|x\"\nNothing was removed.");
    writeLog(file);
    platform::host::failCall(platform::host::Call::readStream, 1);
    EXPECT_EQ(uninstall(), 1);
    EXPECT_EQ(lastBox(), "Error: Could not read file \"C:\\Games\\Vantorel\\Vantorel.gus\"\nNothing was removed.");
    EXPECT_EQ(runUninstallProgram(nullptr), 1);
    EXPECT_EQ(lastBox().find("Error: No install log was given."), 0u);

    writeLog(file);
    EXPECT_EQ(uninstall({platform::idNo}), 0);
    EXPECT_TRUE(exists("Games/Vantorel/Vantorel.exe"));
}

}  // namespace

// A standard user renames C:\Games, which they made, and puts a link to their
// victim's folder in its place, copying the log along: before the run, or
// while the question waits. The removal then would go wherever the link
// leads; it is refused instead, and both folders keep everything.
class SwappedFolderTest : public UninstallerTest {
protected:
    void installAndVictim() {
        for (const char* file : {"Games/Vantorel/Readme.txt", "Games/Vantorel/doc/Vantorel.html",
                                 "Victim/Vantorel/Readme.txt", "Victim/Vantorel/doc/Vantorel.html"})
            put(file);
        writeLog("INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Readme.txt\r\n"
                 "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\doc\\Vantorel.html\r\n"
                 "REG_KEY|HKEY_LOCAL_MACHINE|" + std::string(entryKey) + "\r\n");
    }
    void swap() {
        std::filesystem::rename(drive("Games"), drive("Games.mine"));
        std::filesystem::copy_file(drive("Games.mine/Vantorel/Vantorel.gus"), drive("Victim/Vantorel/Vantorel.gus"));
        std::filesystem::create_directory_symlink(drive("Victim"), drive("Games"));
    }
    void expectRefusedAndKept() {
        EXPECT_EQ(lastBox(), "Error: The folder \"C:\\Games\\Vantorel\" is reached through a junction or link. "
                             "Nothing was removed.");
        for (const char* kept : {"Victim/Vantorel/Readme.txt", "Victim/Vantorel/doc/Vantorel.html",
                                 "Games.mine/Vantorel/Readme.txt", "Games.mine/Vantorel/doc/Vantorel.html"})
            EXPECT_TRUE(exists(kept)) << kept;
        EXPECT_NE(hive("HKEY_LOCAL_MACHINE").find("Uninstall\\Vantorel"), std::string::npos);
    }
};

TEST_F(SwappedFolderTest, BeforeTheRun) {
    installAndVictim();
    swap();
    EXPECT_EQ(uninstall(), 1);
    expectRefusedAndKept();
}

TEST_F(SwappedFolderTest, WhileTheQuestionWaits) {
    installAndVictim();
    platform::host::onNextBox([this] { swap(); });
    EXPECT_EQ(uninstall(), 1);
    EXPECT_EQ(platform::host::shownBoxes().size(), 2u);
    expectRefusedAndKept();
}

// The seal is checked before a line is parsed: a log edited to 200,000 lines
// is refused as changed, never read line by line, even when its first line
// after the header would stop the parser.
TEST_F(UninstallerTest, AnEditedLogIsRefusedBeforeItIsParsed) {
    writeLog("");
    std::string edited = "GUS|1\r\nAPPLICATION_NAME|Vantorel v0.94a\r\nNOT_A_LINE\r\n";
    for (int i = 0; i < 200000; ++i) edited += "INSTALLED_FILE|Default|%WIN%|C:\\WINDOWS\\x" + std::to_string(i) + "\r\n";
    sandbox.writeHostFile(drive("Games/Vantorel/Vantorel.gus"), edited);
    EXPECT_EQ(uninstall(), 1);
    EXPECT_EQ(lastBox(), "Error: The install log \"C:\\Games\\Vantorel\\Vantorel.gus\" has been changed since "
                         "the installation. Nothing was removed.");
}
