// The host setup program driven through its terminal dialogue, as a user
// would drive it: answers on standard input, a temporary sandbox, and the
// results checked on disk and in the registry files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/System.h"
#include "tests/support/TempSandbox.h"

namespace {

namespace fs = std::filesystem;
const char* const caption = "[Setup Vantorel v0.94a]";
const size_t npos = std::string::npos;
using Paths = std::vector<std::string>;

struct Session {
    std::string output;
    int status;
};

class SetupProgramTest : public SandboxTest {
protected:
    SetupProgramTest() {
        // A stand-in for the desktop's opener that notes what it was asked to
        // open and fails, so that the one test which opens sees the failure.
        fs::create_directories(binDir);
        sandbox.writeHostFile(binDir + "/xdg-open",
                              "#!/bin/sh\necho \"$1\" >> '" + sandbox.root() + "/opened'\nexit 1\n");
        ::chmod((binDir + "/xdg-open").c_str(), 0755);
    }

    // arguments go to the shell as they are: quote what holds backslashes or blanks.
    Session run(const std::string& answers, const char* program = "vantorel-setup",
                const std::string& arguments = "") {
        std::string input = sandbox.root() + "/answers";
        sandbox.writeHostFile(input, answers);
        std::string command = "env VANTOREL_SANDBOX='" + sandbox.root() + "' VANTOREL_USER='" +
                              platform::host::userName() + "' PATH='" + binDir +
                              ":/usr/bin:/bin' '" + VANTOREL_BINARY_DIR + "/bin/" + program +
                              "' " + arguments + " < '" + input + "' 2>&1";
        FILE* pipe = ::popen(command.c_str(), "r");
        Session result{"", -1};
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, n);
        int status = ::pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    // A silent run shows no box, so it prints nothing; returns its exit code.
    int silent(const char* program, const std::string& arguments) {
        Session session = run("", program, arguments);
        EXPECT_EQ(session.output, "") << program << " " << arguments;
        return session.status;
    }

    std::string hive(const char* name) {
        return sandbox.readHostFile(sandbox.root() + "/registry/" + name + ".reg");
    }
    bool exists(const std::string& windowsPath) { return fs::exists(sandbox.path(windowsPath)); }

    static int count(const std::string& text, const std::string& what) {
        int n = 0;
        for (size_t p = text.find(what); p != npos; p = text.find(what, p + 1)) ++n;
        return n;
    }

    const std::string binDir = sandbox.root() + "/fakebin";
    const std::string startMenu = "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
};

// A complete install refuses a second run; the uninstaller then removes
// everything the setup recorded, but nothing at all once the log was edited
// after the installation (its seal no longer matches).
TEST_F(SetupProgramTest, CompleteInstallRefusalAndRemovalBySealedLog) {
    fs::create_directories(sandbox.root() + "/drive_c/Games");
    sandbox.writeHostFile(sandbox.path("C:\\WINDOWS") + "/win.ini", "[fonts]");
    Session first = run("y\nC:\\Games\n" + startMenu + "\\Programs\ny\nn\n");
    ASSERT_EQ(first.status, 0) << first.output;
    EXPECT_NE(first.output.find("Installation is complete.\nDo you wish to view the HTML documentation now?\n"
                                "Yes or No? [Y/n]"), npos);
    EXPECT_EQ(first.output.find("Error:"), npos) << first.output;
    const std::string gusPath = sandbox.path("C:\\Games\\Vantorel\\Vantorel.gus");
    const std::string gus = sandbox.readHostFile(gusPath);
    EXPECT_EQ(count(gus, "INSTALLED_FILE|"), 25 + 5 + 2);  // files, product links, log, uninstall link
    for (const std::string& made : Paths{"C:\\Games\\Vantorel\\Vantorel.exe", "C:\\Users\\user\\Desktop\\Vantorel.lnk",
                                    startMenu + "\\Programs\\Vantorel\\Uninstall Vantorel v0.94a.lnk",
                                    "C:\\Program Files\\Common Files\\System\\TessalyUninstaller.exe"})
        EXPECT_TRUE(exists(made)) << made;

    Session second = run("y\n");
    EXPECT_EQ(count(second.output, caption), 1) << second.output;
    EXPECT_NE(second.output.find("Error: Vantorel version v0.94a is already installed.\n"
                                 "It must be uninstalled before you can install version v0.94a.\n"), npos)
        << second.output;

    const std::string log = "'C:\\Games\\Vantorel\\Vantorel.gus'";
    sandbox.writeHostFile(gusPath, gus + "INSTALLED_FILE|Default|%WIN%|C:\\WINDOWS\\win.ini\r\n");
    Session edited = run("y\n", "vantorel-uninstall", log);
    EXPECT_EQ(edited.status, 1);
    EXPECT_NE(edited.output.find("has been changed since the installation. Nothing was removed."), npos)
        << edited.output;
    EXPECT_EQ(sandbox.readHostFile(sandbox.path("C:\\WINDOWS\\win.ini")), "[fonts]");
    EXPECT_TRUE(exists("C:\\Games\\Vantorel\\Vantorel.exe"));

    sandbox.writeHostFile(gusPath, gus);
    Session removal = run("y\n", "vantorel-uninstall", log);
    EXPECT_EQ(removal.status, 0) << removal.output;
    EXPECT_NE(removal.output.find("Info: Vantorel v0.94a was removed."), npos) << removal.output;
    for (const std::string& gone :
         Paths{"C:\\Games\\Vantorel", startMenu + "\\Programs\\Vantorel", "C:\\Users\\user\\Desktop\\Vantorel.lnk"})
        EXPECT_FALSE(exists(gone)) << gone;
    EXPECT_EQ(hive("HKEY_LOCAL_MACHINE").find("Vantorel"), npos);
    EXPECT_EQ(hive("HKEY_CURRENT_USER").find("Hollowmere\\Vantorel"), npos);
}

// Only a recorded version with a path that is not empty counts as installed.
TEST_F(SetupProgramTest, RecordedVersionDecidesTheFirstBox) {
    struct Case {
        const char* values;
        bool installed;
    } cases[] = {{"\"Version\"=\"v0.93\"\n\"InstallationPath\"=\"C:\\\\Old\"\n", true},
                 {"\"Version\"=\"v0.93\"\n", false},
                 {"\"Version\"=\"v0.93\"\n\"InstallationPath\"=\"\"\n", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values);
        sandbox.writeHostFile(sandbox.root() + "/registry/HKEY_CURRENT_USER.reg",
                              std::string("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Hollowmere\\Vantorel]\n") + c.values);
        const std::string out = run("").output;
        EXPECT_EQ(out.find("Vantorel version v0.93 is already installed.") != npos, c.installed) << out;
        EXPECT_EQ(out.find("Do you wish to install Vantorel v0.94a?") != npos, !c.installed) << out;
        EXPECT_EQ(out.find("Info: Have a nice day.") != npos, !c.installed);  // the end of input says No
    }
}

// Enter takes Yes at the documentation question (No at the others, below); an
// opener that fails is reported, and the installation still stands.
TEST_F(SetupProgramTest, EnterTakesTheDefaultButton) {
    Session install = run("y\nC:\\\n" + startMenu + "\ny\n\n");
    EXPECT_EQ(count(install.output, "Error:"), 1) << install.output;
    EXPECT_NE(install.output.find("Error: Unable to launch browser."), npos) << install.output;
    std::string opened = sandbox.readHostFile(sandbox.root() + "/opened");
    EXPECT_NE(opened.find("/drive_c/Vantorel/doc/Vantorel.html"), npos) << opened;
    EXPECT_NE(hive("HKEY_CURRENT_USER").find("\"Version\"=\"v0.94a\""), npos);
}

// A run that stops before the installation writes nothing anywhere: declined
// (an answer that is neither Yes nor No asks again, Enter takes No) at the first
// question or the confirmation, a cancelled second browser (only the first
// question was asked), no shell allocator (the browser never opens) and a
// corrupt file table (found after the confirmation).
TEST_F(SetupProgramTest, RunsThatStopBeforeTheInstallationWriteNothing) {
    const std::string declined = "\n[Setup Vantorel v0.94a] (information)\nInfo: Have a nice day.";
    struct Case {
        const char* program;
        std::string answers;
        int boxes;
        std::string says;
        const char* never;
    } cases[] = {
        {"vantorel-setup", "maybe\n\r\n", 2,
         "[Setup Vantorel v0.94a] (question)\nDo you wish to install Vantorel v0.94a?\n"
         "Yes or No? [y/N] Yes or No? [y/N] " + declined, "Browse for Folder"},
        {"vantorel-setup", "y\nC:\\\n" + startMenu + "\n\n", 3,
         "Install Vantorel to 'C:\\Vantorel'?\nYes or No? [y/N] " + declined, "Installation is complete"},
        {"vantorel-setup", "y\nC:\\\n\n", 1, "Do you wish to install", "Install Vantorel to"},
        {"vantorel-setup-no-allocator", "y\n", 2, "(stop)\nError: Unable to get IMalloc interface!",
         "Browse for Folder"},
        {"vantorel-setup-corrupt-table", "y\nC:\\\n" + startMenu + "\ny\n", 3,
         "Error: Invalid FILESET resource, incorrect number of values in row", "Installation is complete"},
    };
    const std::string machineBefore = hive("HKEY_LOCAL_MACHINE");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.program) + " answering " + c.answers);
        Session session = run(c.answers, c.program);
        EXPECT_EQ(count(session.output, caption), c.boxes) << session.output;
        EXPECT_NE(session.output.find(c.says), npos) << session.output;
        EXPECT_EQ(session.output.find(c.never), npos) << session.output;
        EXPECT_EQ(hive("HKEY_LOCAL_MACHINE"), machineBefore);
        EXPECT_EQ(hive("HKEY_CURRENT_USER").find("\"Version\""), npos);
        EXPECT_FALSE(exists("C:\\Program Files\\Common Files\\System"));
        EXPECT_FALSE(exists("C:\\Vantorel"));
    }
}

TEST_F(SetupProgramTest, FoldersComeBackAsTheShellSpellsThem) {
    fs::create_directories(sandbox.root() + "/drive_c/Games");
    // Forward slashes, another case and trailing backslashes, as a user may type
    // them; answers in capitals ending in CR LF (No where Enter would be Yes).
    Session typed = run("y\nc:/GAMES\\\\\n" + startMenu + "\\programs\\\nY\r\nN\r\n");
    EXPECT_NE(typed.output.find("Install Vantorel to 'C:\\Games\\Vantorel'?"), npos) << typed.output;
    EXPECT_EQ(typed.output.find("Error:"), npos) << typed.output;
    EXPECT_TRUE(exists(startMenu + "\\Programs\\Vantorel\\Vantorel.lnk"));
    EXPECT_NE(hive("HKEY_CURRENT_USER").find("\"InstallationPath\"=\"C:\\\\Games\\\\Vantorel\""), npos);
}

// What an administrator's script does: install, find it installed, remove with
// the entry's quiet command, install again; no box at any step.
TEST_F(SetupProgramTest, SilentInstallRemovalAndReinstallShowNoBox) {
    const std::string dir = "C:\\Silent Place\\Vantorel";
    ASSERT_EQ(silent("vantorel-setup", "/S '/D=" + dir + "'"), 0);

    // The size Windows shows is what the product's files take, in kilobytes
    // rounded up: those in its folder and its screen saver in the Windows folder.
    uint64_t bytes = fs::file_size(sandbox.path("C:\\WINDOWS\\Vantorel.scr"));
    for (auto& file : fs::recursive_directory_iterator(sandbox.path(dir)))
        if (file.is_regular_file() && file.path().extension() != ".gus") bytes += file.file_size();
    char size[16];
    std::snprintf(size, sizeof size, "%08llx", static_cast<unsigned long long>((bytes + 1023) / 1024));
    std::string machine = hive("HKEY_LOCAL_MACHINE");
    const std::string program = "\\\"C:\\\\Program Files\\\\Common Files\\\\System\\\\TessalyUninstaller.exe\\\"";
    const std::string log = "\\\"C:\\\\Silent Place\\\\Vantorel\\\\Vantorel.gus\\\"";
    EXPECT_NE(machine.find("\"UninstallString\"=\"" + program + " " + log + "\"\n"
                           "\"QuietUninstallString\"=\"" + program + " /S " + log + "\"\n"
                           "\"DisplayVersion\"=\"0.94a\"\n\"Publisher\"=\"Hollowmere\"\n"
                           "\"DisplayIcon\"=\"C:\\\\Silent Place\\\\Vantorel\\\\Vantorel.exe,0\"\n"
                           "\"InstallLocation\"=\"C:\\\\Silent Place\\\\Vantorel\"\n"
                           "\"EstimatedSize\"=dword:" + size + "\n"
                           "\"NoModify\"=dword:00000001\n\"NoRepair\"=dword:00000001\n"), npos)
        << machine;

    EXPECT_EQ(silent("vantorel-setup", "/S"), 1);
    EXPECT_EQ(hive("HKEY_LOCAL_MACHINE"), machine);

    EXPECT_EQ(silent("vantorel-uninstall", "/S '" + dir + "\\Vantorel.gus'"), 0);
    EXPECT_FALSE(exists(dir));
    EXPECT_EQ(hive("HKEY_LOCAL_MACHINE").find("Uninstall\\\\Vantorel"), npos);

    EXPECT_EQ(silent("vantorel-setup", "/S"), 0);
    EXPECT_TRUE(exists("C:\\Program Files\\Vantorel\\Vantorel.exe"));
}

// What is undone after a failure is the reliability test's; here only the exit
// codes a script sees, and that a silent run prints nothing.
TEST_F(SetupProgramTest, SilentFailuresEndWithTheirCodeAndLeaveNothing) {
    std::string userBefore = hive("HKEY_CURRENT_USER");
    EXPECT_EQ(silent("vantorel-setup", "/S /quiet"), 2);
    EXPECT_EQ(hive("HKEY_CURRENT_USER"), userBefore);  // not even the settings were read

    // A folder where the product's program goes: the write fails part-way.
    fs::create_directories(sandbox.root() + "/drive_c/Blocked/Vantorel/Vantorel.exe");
    EXPECT_EQ(silent("vantorel-setup", "'/S' '/D=C:\\Blocked\\Vantorel'"), 2);
    EXPECT_EQ(hive("HKEY_LOCAL_MACHINE").find("Vantorel v0.94a"), npos);

    EXPECT_EQ(silent("vantorel-uninstall", "/S 'C:\\Blocked\\Vantorel\\Vantorel.gus'"), 1);
}

// Another setup (another process) holds the machine-wide name.
TEST_F(SetupProgramTest, SecondSetupSaysSoAndReadsNothing) {
    platform::InstanceLock held = nullptr;
    ASSERT_EQ(platform::claimInstanceLock("Hollowmere.Vantorel.Setup", &held), platform::statusOk);
    std::string userBefore = hive("HKEY_CURRENT_USER");
    Session second = run("y\n");
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(count(second.output, caption), 1) << second.output;
    EXPECT_NE(second.output.find("Error: Another setup of Vantorel is running.\n"
                                 "Wait until it has finished, then start this one again."), npos)
        << second.output;
    EXPECT_EQ(silent("vantorel-setup", "/S"), 2);
    EXPECT_EQ(hive("HKEY_CURRENT_USER"), userBefore);
    platform::releaseInstanceLock(held);
    platform::InstanceLock free = nullptr;
    EXPECT_EQ(platform::claimInstanceLock("Hollowmere.Vantorel.Setup", &free), platform::statusOk);
    platform::releaseInstanceLock(free);

    // A name that cannot be made for another reason is not another setup,
    // and is not said to be one; still nothing is read.
    fs::remove_all(sandbox.root() + "/objects");
    sandbox.writeHostFile(sandbox.root() + "/objects", "");
    Session failed = run("y\n");
    EXPECT_EQ(failed.status, 0);
    EXPECT_EQ(count(failed.output, caption), 1) << failed.output;
    EXPECT_NE(failed.output.find("Error: Unable to tell whether another setup of Vantorel is running: "
                                 "The system cannot find the path specified."), npos)
        << failed.output;
    EXPECT_EQ(silent("vantorel-setup", "/S"), 2);
    EXPECT_EQ(hive("HKEY_CURRENT_USER"), userBefore);
}

// A user whose name no Western code page holds installs into folders in
// several scripts: Cyrillic, a CJK name whose code-page form ends in the byte
// of a backslash (表), a character above the Basic Multilingual Plane and a
// letter with a combining accent. Every name is exact on disk, in the log and
// in the registry; names match in another case as Windows matches them; and
// the removal takes everything away, leaving no stray folder.
class UnicodeSetupTest : public SetupProgramTest {
protected:
    UnicodeSetupTest() {
        platform::host::setUserName("Игорь");
        platform::host::ensureSandbox();
    }
    ~UnicodeSetupTest() override { platform::host::setUserName("user"); }
};

TEST_F(UnicodeSetupTest, InstallAndRemovalInAnyScript) {
    const std::string dir = "C:\\Игры\\表示 \U0001F3B2\\Cafe\u0301\\Vantorel";
    ASSERT_EQ(silent("vantorel-setup", "/S '/D=" + dir + "'"), 0);
    const std::string profile = "C:\\Users\\Игорь";
    const std::string programs = profile + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
    for (const std::string& made : Paths{dir + "\\Vantorel.exe", profile + "\\Desktop\\Vantorel.lnk",
                                         programs + "\\Vantorel\\Uninstall Vantorel v0.94a.lnk"})
        EXPECT_TRUE(exists(made)) << made;
    EXPECT_TRUE(fs::is_directory(sandbox.root() + "/drive_c/Игры/表示 \U0001F3B2/Cafe\u0301/Vantorel"));
    EXPECT_FALSE(exists("C:\\表")) << "a name is split only at its backslashes";
    const std::string gus = sandbox.readHostFile(sandbox.path(dir + "\\Vantorel.gus"));
    EXPECT_NE(gus.find("FILE_LOCATIONS|%APP%|" + dir + "\r\n"), npos) << gus;
    EXPECT_NE(gus.find("FILE_LOCATIONS|%DESKTOP%|" + profile + "\\Desktop\r\n"), npos) << gus;
    std::string machine = hive("HKEY_LOCAL_MACHINE");
    EXPECT_NE(machine.find("\"InstallLocation\"=\"C:\\\\Игры\\\\表示 \U0001F3B2\\\\Cafe\u0301\\\\Vantorel\""),
              npos)
        << machine;

    // The log named in capitals, as a user may type it: the same file to Windows.
    std::string shouted = "C:\\ИГРЫ\\表示 \U0001F3B2\\CAFE\u0301\\VANTOREL\\vantorel.GUS";
    EXPECT_EQ(silent("vantorel-uninstall", "/S '" + shouted + "'"), 0);
    for (const std::string& gone : Paths{dir, profile + "\\Desktop\\Vantorel.lnk", programs + "\\Vantorel"})
        EXPECT_FALSE(exists(gone)) << gone;
    EXPECT_EQ(hive("HKEY_LOCAL_MACHINE").find("Uninstall\\\\Vantorel"), npos);
}

// The folder browser finds an existing folder typed in another case and
// hands it back as the file system spells it.
TEST_F(UnicodeSetupTest, TheBrowserSpellsAFolderAsItExists) {
    fs::create_directories(sandbox.root() + "/drive_c/Игры");
    const std::string startMenu = "C:\\Users\\Игорь\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
    Session typed = run("y\nc:\\ИГРЫ\n" + startMenu + "\\PROGRAMS\ny\nn\n");
    EXPECT_NE(typed.output.find("Install Vantorel to 'C:\\Игры\\Vantorel'?"), npos) << typed.output;
    EXPECT_EQ(typed.output.find("Error:"), npos) << typed.output;
    EXPECT_TRUE(exists(startMenu + "\\Programs\\Vantorel\\Vantorel.lnk"));
    EXPECT_NE(hive("HKEY_CURRENT_USER").find("\"InstallationPath\"=\"C:\\\\Игры\\\\Vantorel\""), npos);
}

}  // namespace
