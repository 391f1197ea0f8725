// The elevated setup over folders a standard user could have prepared: a
// junction or link planted in the installation or shortcut folder, or beside
// the install log, must not carry a write or a deletion anywhere else.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "engine/InstallRun.h"
#include "engine/Undo.h"
#include "tests/support/InstallSetResources.h"
#include "tests/support/TempSandbox.h"

namespace fs = std::filesystem;

namespace {

const std::string programs = "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Vantorel";

// What a standard user keeps in C:\Elsewhere, the target of every planted link.
void putElsewhere(const TempSandbox& sandbox) {
    sandbox.writeHostFile(sandbox.path("C:\\Elsewhere\\keep.txt"), "mine");
}
// C:\Elsewhere holds exactly what it held before.
void expectUntouched(const TempSandbox& sandbox) {
    EXPECT_EQ(std::distance(fs::directory_iterator(sandbox.path("C:\\Elsewhere")), fs::directory_iterator()), 1);
    EXPECT_EQ(sandbox.readHostFile(sandbox.path("C:\\Elsewhere\\keep.txt")), "mine");
}

}  // namespace

// Each folder in turn made a link to C:\Elsewhere: the install stops there and
// its undo takes away what was written before, reaching nothing through the link.
TEST(PlantedLinkTest, NothingIsWrittenThroughALinkedInstallationOrGroupFolder) {
    const std::string cases[][3] = {
        {"C:\\Games\\Vantorel\\doc", "B|Default|%APP%\\doc\\keep.txt",
         "Could not create file \"C:\\Games\\Vantorel\\doc\\keep.txt\", a junction or link lies on its way"},
        {"C:\\Games\\Vantorel", "B|Default|%APP%\\keep.txt",
         "Could not create file \"C:\\Games\\Vantorel\\keep.txt\", a junction or link lies on its way"},
        {programs, "B|Default|%APP%\\b.txt|keep",
         "Could not save shortcut file \"" + programs + "\\keep.lnk\", a junction or link lies on its way"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        TempSandbox sandbox;
        putElsewhere(sandbox);
        fs::create_directories(fs::path(sandbox.path(c[0])).parent_path());
        fs::create_directory_symlink(sandbox.path("C:\\Elsewhere"), sandbox.path(c[0]));
        putInstallSet({"A|Default|%DESKTOP%\\a.txt", c[1]});
        InstallSet set;
        ASSERT_FALSE(isFailure(set.parseInstallSet("VANTOREL")));
        FileLocations locations;
        locations.setLocationValue("%APP%", "C:\\Games\\Vantorel");
        locations.setLocationValue("%SHORTCUT%", programs.c_str());
        locations.setLocationValue("%DESKTOP%", "C:\\Users\\user\\Desktop");
        set.setLocations(locations);
        set.log.applicationName = "Vantorel v0.94a";
        GroupList groups(8, false);
        groups.append("Default");
        EXPECT_STREQ(runInstall(set, groups, "Vantorel").message().text(), c[2].c_str());
        EXPECT_TRUE(fs::exists(sandbox.path("C:\\Users\\user\\Desktop\\a.txt")));
        undoInstallation(set.log);
        EXPECT_FALSE(fs::exists(sandbox.path("C:\\Users\\user\\Desktop\\a.txt")));
        expectUntouched(sandbox);
    }
}

TEST(PlantedLinkTest, ALinkPlantedWhereTheLogIsWrittenIsNeverFollowed) {
    TempSandbox sandbox;
    putElsewhere(sandbox);
    const char* const path = "C:\\Games\\Vantorel\\Vantorel.gus";
    fs::create_directories(sandbox.path("C:\\Games\\Vantorel"));
    auto plantBeside = [&] {
        fs::create_symlink(sandbox.path("C:\\Elsewhere\\keep.txt"), sandbox.path(path) + ".new");
    };
    plantBeside();
    InstallLog log;
    log.applicationName = "Vantorel v0.94a";
    EXPECT_TRUE(log.writeLogFile(path).isNull());
    expectUntouched(sandbox);
    const std::string old = sandbox.readHostFile(sandbox.path(path));
    EXPECT_NE(old.find("GUS"), std::string::npos);

    // Planted again in the moment between the leftover's removal and the open.
    platform::host::afterNextUnlink(plantBeside);
    log.applicationName = "changed";
    EXPECT_STREQ(log.writeLogFile(path).message().text(),
                 "Could not open file \"C:\\Games\\Vantorel\\Vantorel.gus.new\" for writing: The file exists.");
    expectUntouched(sandbox);
    EXPECT_EQ(sandbox.readHostFile(sandbox.path(path)), old);
}
