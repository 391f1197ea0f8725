// The install run over small install sets in a fresh sandbox: what is
// written, linked, registered and recorded, and where a failure stops it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/InstallRun.h"
#include "engine/Undo.h"
#include "tests/support/InstallSetResources.h"
#include "tests/support/TempSandbox.h"

namespace {

using Lines = std::vector<std::string>;
const std::string programs =
    "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Vantorel";

class InstallRunTest : public SandboxTest {
protected:
    ErrorHandle install(const Lines& rows, const char* missing = nullptr) {
        putInstallSet(rows);
        if (missing != nullptr) platform::host::removeResource("LZF", missing);
        set.reset(new InstallSet());
        EXPECT_FALSE(isFailure(set->parseInstallSet("VANTOREL")));
        FileLocations locations;
        locations.setLocationValue("%APP%", "C:\\Games\\Vantorel");
        locations.setLocationValue("%SHORTCUT%", programs.c_str());
        locations.setLocationValue("%DESKTOP%", "C:\\Users\\user\\Desktop");
        set->setLocations(locations);
        set->log.applicationName = "Vantorel v0.94a";
        GroupList groups(8, false);
        groups.append("Default");
        return runInstall(*set, groups, "Vantorel");
    }
    bool exists(const std::string& windowsPath) { return std::filesystem::exists(sandbox.path(windowsPath)); }
    std::string content(const std::string& windowsPath) { return sandbox.readHostFile(sandbox.path(windowsPath)); }
    Lines recorded() {
        Lines lines;
        for (int32_t i = 0; i < set->log.installedFiles.size(); ++i) {
            const InstalledFileRecord& r = set->log.installedFiles[i];
            lines.push_back(std::string(r.group.text()) + "|" + r.location.text() + "|" + r.path.text());
        }
        return lines;
    }
    std::unique_ptr<InstallSet> set;
};

TEST_F(InstallRunTest, OnlySelectedGroupsAreUnpackedWrittenAndLinked) {
    // B's resource is missing: unpacking it would fail the run.
    ErrorHandle result = install({"A|Default|%APP%\\a.txt|A title", "B|Other|%APP%\\b.txt|B title|Y",
                                  "A|default|%APP%\\a2.txt|Hidden"}, "B");
    EXPECT_FALSE(isFailure(result)) << result.message().text();
    EXPECT_EQ(content("C:\\Games\\Vantorel\\a.txt"), "A bytes");
    EXPECT_TRUE(exists(programs + "\\A title.lnk"));
    // Groups compare with their case.
    for (const std::string& absent : Lines{"C:\\Games\\Vantorel\\b.txt", "C:\\Games\\Vantorel\\a2.txt",
                                           programs + "\\B title.lnk", programs + "\\Hidden.lnk"})
        EXPECT_FALSE(exists(absent)) << absent;
}

// The records end with the log and the uninstall link whatever the set holds;
// an empty set (the loops run no row) is the setup's own part alone.
TEST_F(InstallRunTest, RecordsFollowTheFixedOrder) {
    ASSERT_FALSE(isFailure(install({})));
    EXPECT_EQ(recorded(), (Lines{"Default|%APP%|C:\\Games\\Vantorel\\Vantorel.gus",
                                 "Default|%SHORTCUT%|" + programs + "\\Uninstall Vantorel v0.94a.lnk"}));

    ASSERT_FALSE(isFailure(install({"A|Default|%APP%\\a.txt|Game|Y", "A|Default|%APP%\\doc\\a-copy.txt",
                                    "B|Default|C:\\plain\\b.txt||Y", "D|Default|%WIN%\\d.scr|Saver"})));
    Lines expected = {
        "Default|%APP%|C:\\Games\\Vantorel\\a.txt",
        "Default|%APP%|C:\\Games\\Vantorel\\doc\\a-copy.txt",
        "Default||C:\\plain\\b.txt",
        "Default|%WIN%|C:\\WINDOWS\\d.scr",
        "Default|%SHORTCUT%|" + programs + "\\Game.lnk",
        "Default|%DESKTOP%|C:\\Users\\user\\Desktop\\Game.lnk",
        "Default|%SHORTCUT%|" + programs + "\\Saver.lnk",
        "Default|%APP%|C:\\Games\\Vantorel\\Vantorel.gus",
        "Default|%SHORTCUT%|" + programs + "\\Uninstall Vantorel v0.94a.lnk",
    };
    EXPECT_EQ(recorded(), expected);  // an empty title makes no link, desktop flag or not
    EXPECT_EQ(content("C:\\Games\\Vantorel\\doc\\a-copy.txt"), "A bytes");
    ASSERT_EQ(set->log.registryKeys.size(), 1);
    EXPECT_STREQ(set->log.registryKeys[0].key.text(),
                 "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantorel v0.94a");
}

TEST_F(InstallRunTest, AFailedWriteStopsBeforeLinksRegistrationAndLog) {
    sandbox.writeHostFile(sandbox.root() + "/drive_c/Games/Vantorel/b.txt", "old");
    ::chmod((sandbox.root() + "/drive_c/Games/Vantorel/b.txt").c_str(), 0444);
    ErrorHandle result = install({"A|Default|%APP%\\a.txt|A", "B|Default|%APP%\\b.txt", "C|Default|%APP%\\c.txt"});
    EXPECT_STREQ(result.message().text(),
                 "Could not create file \"C:\\Games\\Vantorel\\b.txt\", Error: Access is denied.\r\n");
    // Each record comes before what it names (below), so these are all it made.
    EXPECT_EQ(recorded(), Lines{"Default|%APP%|C:\\Games\\Vantorel\\a.txt"});
    EXPECT_EQ(set->log.registryKeys.size(), 0);
    EXPECT_EQ(content("C:\\Games\\Vantorel\\b.txt"), "old");
}

// What is undone after a failure is the reliability test's; here, that a record
// is there even when making what it names fails.
TEST_F(InstallRunTest, RecordsComeBeforeTheLinksAndKeysTheyName) {
    // A failed registration: the log file's and the key's records are there.
    platform::host::failCall(platform::host::Call::regSetValue, 1);
    ErrorHandle result = install({"A|Default|%APP%\\a.txt"});
    EXPECT_STREQ(result.message().text(), "Unable to write the 'DisplayName' registry value");
    EXPECT_EQ(recorded(), (Lines{"Default|%APP%|C:\\Games\\Vantorel\\a.txt",
                                 "Default|%APP%|C:\\Games\\Vantorel\\Vantorel.gus"}));
    EXPECT_EQ(set->log.registryKeys.size(), 1);

    // A failed link save: its record is there, and none after it.
    platform::host::failCall(platform::host::Call::saveLink, 1);
    result = install({"A|Default|%APP%\\a.txt|Game|Y", "B|Default|%APP%\\b.txt|Other"});
    EXPECT_STREQ(result.message().text(), ("Could not save shortcut file \"" + programs + "\\Game.lnk\"").c_str());
    ASSERT_EQ(recorded().size(), 3u);
    EXPECT_EQ(recorded()[2], "Default|%SHORTCUT%|" + programs + "\\Game.lnk");
    EXPECT_EQ(set->log.registryKeys.size(), 0);
}

}  // namespace

// Product files and shortcut titles in any script are written, linked and
// recorded under their exact names, and removed again by the same record.
TEST_F(InstallRunTest, NamesInAnyScriptInstallAndAreRemovedAgain) {
    ASSERT_FALSE(isFailure(install({"A|Default|%APP%\\Доки\\表示.txt|Справка|Y",
                                    "B|Default|%APP%\\Cafe\u0301 \U0001F3B2.txt"})));
    EXPECT_EQ(content("C:\\Games\\Vantorel\\Доки\\表示.txt"), "A bytes");
    EXPECT_TRUE(std::filesystem::exists(sandbox.root() + "/drive_c/Games/Vantorel/Cafe\u0301 \U0001F3B2.txt"));
    EXPECT_TRUE(exists(programs + "\\Справка.lnk"));
    EXPECT_TRUE(exists("C:\\Users\\user\\Desktop\\Справка.lnk"));
    EXPECT_EQ(recorded()[0], "Default|%APP%|C:\\Games\\Vantorel\\Доки\\表示.txt");
    EXPECT_FALSE(isFailure(undoInstallation(set->log)));
    for (const std::string& gone : Lines{"C:\\Games\\Vantorel", programs, "C:\\Users\\user\\Desktop\\Справка.lnk"})
        EXPECT_FALSE(exists(gone)) << gone;
}
