// The three tables VantorelSetup.exe carries, as the setup and the uninstall
// entry depend on them: every file in the Default group, the program's
// shortcut on the desktop, the help page the setup offers to open.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "PayloadFiles.h"

namespace {

std::string resourceName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "VANTOREL%03d", i);
    return name;
}

// The folder part of a destination: "%APP%\doc\images" for "%APP%\doc\images\logo.gif".
std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }

}  // namespace

TEST(ShippedTables, FilesetListsTheTwentyFiveFilesInOrderInTheDefaultGroup) {
    std::vector<std::string> rows = tableRows("FILESET");
    ASSERT_EQ(rows.size(), 25u);
    for (int i = 0; i < 25; ++i) {
        std::vector<std::string> f = fields(rows[i]);
        ASSERT_GE(f.size(), 3u) << rows[i];
        EXPECT_EQ(f[0], resourceName(i));
        EXPECT_EQ(f[1], "Default") << rows[i];
        EXPECT_FALSE(f[2].empty()) << rows[i];
    }
}

TEST(ShippedTables, DestinationsAreOneUnderWindowsAndTheRestInFiveApplicationFolders) {
    std::set<std::string> appFolders;
    std::set<std::string> destinations;
    int underWindows = 0;
    for (const std::string& row : tableRows("FILESET")) {
        std::string path = fields(row)[2];
        EXPECT_TRUE(destinations.insert(path).second) << "two files go to " << path;
        if (path.rfind("%WIN%\\", 0) == 0) {
            ++underWindows;
            EXPECT_EQ(path, "%WIN%\\Vantorel.scr");
        } else {
            ASSERT_EQ(path.rfind("%APP%\\", 0), 0u) << path;
            appFolders.insert(folderOf(path));
        }
    }
    EXPECT_EQ(underWindows, 1);
    appFolders.erase("%APP%");
    EXPECT_EQ(appFolders.size(), 5u);
    EXPECT_EQ(destinations.count("%APP%\\doc\\Vantorel.html"), 1u);
}

TEST(ShippedTables, FourShortcutsAndOnlyTheProgramOnTheDesktop) {
    std::vector<std::string> rows = tableRows("FILESET");
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[1], "VANTOREL001|Default|%APP%\\Vantorel.exe|Vantorel|Y");
    int titled = 0, onDesktop = 0, helpPages = 0;
    for (const std::string& row : rows) {
        std::vector<std::string> f = fields(row);
        if (f.size() > 3 && !f[3].empty()) {
            ++titled;
            if (f[2].rfind("%APP%\\doc\\", 0) == 0 && f[2].size() > 5 &&
                f[2].compare(f[2].size() - 5, 5, ".html") == 0)
                ++helpPages;
        }
        if (f.size() > 4 && (f[4] == "Y" || f[4] == "y")) ++onDesktop;
    }
    EXPECT_EQ(titled, 4);
    EXPECT_EQ(helpPages, 3);
    EXPECT_EQ(onDesktop, 1);
}

TEST(ShippedTables, FilesizeGivesEachFileItsRealSizeInTheSameOrder) {
    std::vector<std::string> fileset = tableRows("FILESET");
    std::vector<std::string> filesize = tableRows("FILESIZE");
    ASSERT_EQ(filesize.size(), fileset.size());
    for (size_t i = 0; i < filesize.size(); ++i) {
        std::vector<std::string> f = fields(filesize[i]);
        ASSERT_EQ(f.size(), 2u) << filesize[i];
        EXPECT_EQ(f[0], fields(fileset[i])[0]);
        ASSERT_FALSE(f[1].empty());
        EXPECT_EQ(f[1].find_first_not_of("0123456789"), std::string::npos) << filesize[i];
    }
}

TEST(ShippedTables, FilegroupHoldsOnlyDefault) {
    EXPECT_EQ(tableRows("FILEGROUP"), std::vector<std::string>{"Default"});
}
