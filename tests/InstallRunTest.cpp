// The install run over small install sets in a fresh sandbox: what is
// written, linked, registered and recorded, and where a failure stops it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "engine/InstallRun.h"
#include "tests/support/InstallSetResources.h"
#include "tests/support/TempSandbox.h"

namespace {

const char* const programs =
    "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Vantorel";

class InstallRunTest : public SandboxTest {
protected:
    ErrorHandle install(const std::vector<std::string>& rows,
                        const std::function<void()>& beforeRun = [] {}) {
        putInstallSet(rows);
        beforeRun();
        set.reset(new InstallSet());
        ErrorHandle parsed = set->parseInstallSet("VANTOREL");
        EXPECT_FALSE(isFailure(parsed)) << parsed.message().text();
        FileLocations locations;
        locations.setLocationValue("%APP%", "C:\\Games\\Vantorel");
        locations.setLocationValue("%SHORTCUT%", programs);
        locations.setLocationValue("%DESKTOP%", "C:\\Users\\user\\Desktop");
        set->setLocations(locations);
        set->log.applicationName = "Vantorel v0.94a";
        GroupList groups(8, false);
        groups.append("Default");
        return runInstall(*set, groups, "Vantorel");
    }
    bool exists(const std::string& windowsPath) {
        std::string host = sandbox.path(windowsPath);
        return !host.empty() && std::filesystem::exists(host);
    }
    std::string content(const std::string& windowsPath) {
        return sandbox.readHostFile(sandbox.path(windowsPath));
    }
    std::vector<std::string> recorded() {
        std::vector<std::string> lines;
        for (int32_t i = 0; i < set->log.installedFiles.size(); ++i) {
            const InstalledFileRecord& r = set->log.installedFiles[i];
            lines.push_back(std::string(r.group.text()) + "|" + r.location.text() + "|" + r.path.text());
        }
        return lines;
    }
    std::unique_ptr<InstallSet> set;
};

TEST_F(InstallRunTest, OnlySelectedGroupsAreUnpackedWrittenAndLinked) {
    // The unselected entries' resources are missing: unpacking them would fail.
    ErrorHandle result = install({"A|Default|%APP%\\a.txt|A title",
                                  "B|Other|%APP%\\b.txt|B title|Y",
                                  "C|default|%APP%\\c.txt",
                                  "A|Other|%APP%\\a2.txt|Hidden"},
                                 [] {
                                     platform::host::removeResource("LZF", "B");
                                     platform::host::removeResource("LZF", "C");
                                 });
    EXPECT_FALSE(isFailure(result)) << result.message().text();
    EXPECT_EQ(content("C:\\Games\\Vantorel\\a.txt"), "A bytes");
    EXPECT_FALSE(exists("C:\\Games\\Vantorel\\b.txt"));
    EXPECT_FALSE(exists("C:\\Games\\Vantorel\\c.txt"));
    EXPECT_FALSE(exists("C:\\Games\\Vantorel\\a2.txt"));
    EXPECT_TRUE(exists(std::string(programs) + "\\A title.lnk"));
    EXPECT_FALSE(exists(std::string(programs) + "\\B title.lnk"));
    EXPECT_FALSE(exists(std::string(programs) + "\\Hidden.lnk"));
    EXPECT_FALSE(exists("C:\\Users\\user\\Desktop\\B title.lnk"));
}

TEST_F(InstallRunTest, RecordsFollowTheFixedOrder) {
    ErrorHandle result = install({"A|Default|%APP%\\a.txt|Game|Y",
                                  "A|Default|%APP%\\doc\\a-copy.txt",
                                  "B|Default|C:\\plain\\b.txt||Y",
                                  "D|Default|%WIN%\\d.scr|Saver"});
    ASSERT_FALSE(isFailure(result)) << result.message().text();
    std::vector<std::string> expected = {
        "Default|%APP%|C:\\Games\\Vantorel\\a.txt",
        "Default|%APP%|C:\\Games\\Vantorel\\doc\\a-copy.txt",
        "Default||C:\\plain\\b.txt",
        "Default|%WIN%|C:\\WINDOWS\\d.scr",
        std::string("Default|%SHORTCUT%|") + programs + "\\Game.lnk",
        "Default|%DESKTOP%|C:\\Users\\user\\Desktop\\Game.lnk",
        std::string("Default|%SHORTCUT%|") + programs + "\\Saver.lnk",
        "Default|%APP%|C:\\Games\\Vantorel\\Vantorel.gus",
        std::string("Default|%SHORTCUT%|") + programs + "\\Uninstall Vantorel v0.94a.lnk",
    };
    EXPECT_EQ(recorded(), expected);
    EXPECT_EQ(content("C:\\Games\\Vantorel\\doc\\a-copy.txt"), "A bytes");
    // An empty title makes no link, whatever the desktop flag says.
    EXPECT_FALSE(exists("C:\\Users\\user\\Desktop\\.lnk"));
    ASSERT_EQ(set->log.registryKeys.size(), 1);
    EXPECT_STREQ(set->log.registryKeys[0].key.text(),
                 "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantorel v0.94a");
    std::string gus = content("C:\\Games\\Vantorel\\Vantorel.gus");
    EXPECT_NE(gus.find("INSTALLED_FILE|Default||C:\\plain\\b.txt\r\n"), std::string::npos);
    EXPECT_EQ(content("C:\\Program Files\\Common Files\\System\\TessalyUninstaller.exe"),
              "uninstaller stand-in without a version");
}

TEST_F(InstallRunTest, EmptyInstallSetStillRegistersLinksAndLogs) {
    ErrorHandle result = install({});
    ASSERT_FALSE(isFailure(result)) << result.message().text();
    EXPECT_EQ(recorded().size(), 2u);
    EXPECT_TRUE(exists("C:\\Games\\Vantorel\\Vantorel.gus"));
    EXPECT_TRUE(exists(std::string(programs) + "\\Uninstall Vantorel v0.94a.lnk"));
    std::string machine = sandbox.readHostFile(sandbox.root() + "/registry/HKEY_LOCAL_MACHINE.reg");
    EXPECT_NE(machine.find("\"DisplayName\"=\"Vantorel v0.94a\""), std::string::npos);
}

TEST_F(InstallRunTest, AFailedWriteStopsBeforeLinksRegistrationAndLog) {
    sandbox.writeHostFile(sandbox.root() + "/drive_c/Games/Vantorel/b.txt", "old");
    ::chmod((sandbox.root() + "/drive_c/Games/Vantorel/b.txt").c_str(), 0444);
    ErrorHandle result = install({"A|Default|%APP%\\a.txt|A", "B|Default|%APP%\\b.txt",
                                  "C|Default|%APP%\\c.txt"});
    EXPECT_STREQ(result.message().text(),
                 "Could not create file \"C:\\Games\\Vantorel\\b.txt\", Error: Access is denied.\r\n");
    EXPECT_EQ(recorded(), std::vector<std::string>{"Default|%APP%|C:\\Games\\Vantorel\\a.txt"});
    EXPECT_EQ(content("C:\\Games\\Vantorel\\b.txt"), "old");
    EXPECT_FALSE(exists("C:\\Games\\Vantorel\\c.txt"));
    EXPECT_FALSE(exists(std::string(programs) + "\\A.lnk"));
    EXPECT_FALSE(exists("C:\\Games\\Vantorel\\Vantorel.gus"));
    std::string machine = sandbox.readHostFile(sandbox.root() + "/registry/HKEY_LOCAL_MACHINE.reg");
    EXPECT_EQ(machine.find("Vantorel v0.94a"), std::string::npos);
}

TEST_F(InstallRunTest, AFailedRegistrationIsStillRecorded) {
    platform::host::failCall(platform::host::Fault::setValue, 1);
    ErrorHandle result = install({"A|Default|%APP%\\a.txt"});
    EXPECT_STREQ(result.message().text(), "Unable to write the 'DisplayName' registry value");
    std::vector<std::string> files = recorded();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[1], "Default|%APP%|C:\\Games\\Vantorel\\Vantorel.gus");
    EXPECT_EQ(set->log.registryKeys.size(), 1);
    EXPECT_FALSE(exists("C:\\Games\\Vantorel\\Vantorel.gus"));
    EXPECT_FALSE(exists(std::string(programs) + "\\Uninstall Vantorel v0.94a.lnk"));
}

TEST_F(InstallRunTest, AFailedLinkSaveKeepsItsRecordAndStops) {
    platform::host::failCall(platform::host::Fault::saveLink, 1);
    ErrorHandle result = install({"A|Default|%APP%\\a.txt|Game|Y", "B|Default|%APP%\\b.txt|Other"});
    EXPECT_STREQ(result.message().text(),
                 (std::string("Could not save shortcut file \"") + programs + "\\Game.lnk\"").c_str());
    std::vector<std::string> files = recorded();
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[2], std::string("Default|%SHORTCUT%|") + programs + "\\Game.lnk");
    EXPECT_FALSE(exists("C:\\Users\\user\\Desktop\\Game.lnk"));
    EXPECT_EQ(set->log.registryKeys.size(), 0);
}

TEST_F(InstallRunTest, ADamagedResourceStopsItsEntry) {
    ErrorHandle result = install({"A|Default|%APP%\\a.txt", "B|Default|%APP%\\b.txt"});
    ASSERT_FALSE(isFailure(result));
    platform::host::putResource("LZF", "B", {0x92, 0x49, 0x24, 0x93});
    InstallSet again;
    ASSERT_FALSE(isFailure(again.parseInstallSet("VANTOREL")));
    again.setLocations(set->locations);
    GroupList groups(8, false);
    groups.append("Default");
    result = runInstall(again, groups, "Vantorel");
    EXPECT_TRUE(isFailure(result));
    EXPECT_EQ(String(result.message()).find(0, "Install set is corrupt.\n", true), 0u);
    EXPECT_EQ(again.log.installedFiles.size(), 1);
}

}  // namespace
