// The elevated setup over folders a standard user could have prepared: a
// junction or link planted in the installation or shortcut folder, or beside
// the install log, must not carry a write or a deletion anywhere else.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/InstallRun.h"
#include "engine/Undo.h"
#include "tests/support/InstallSetResources.h"
#include "tests/support/TempSandbox.h"

namespace {

const char* const programs =
    "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Vantorel";

class PlantedLinkTest : public SandboxTest {
protected:
    PlantedLinkTest() { sandbox.writeHostFile(sandbox.path("C:\\Elsewhere\\keep.txt"), "mine"); }
    // Makes the Windows folder `at` a link to C:\Elsewhere.
    void plant(const std::string& at) {
        std::filesystem::create_directories(std::filesystem::path(sandbox.path(at)).parent_path());
        std::filesystem::create_directory_symlink(sandbox.path("C:\\Elsewhere"), sandbox.path(at));
    }
    std::string install(const std::vector<std::string>& rows) {
        putInstallSet(rows);
        InstallSet set;
        EXPECT_FALSE(isFailure(set.parseInstallSet("VANTOREL")));
        FileLocations locations;
        locations.setLocationValue("%APP%", "C:\\Games\\Vantorel");
        locations.setLocationValue("%SHORTCUT%", programs);
        locations.setLocationValue("%DESKTOP%", "C:\\Users\\user\\Desktop");
        set.setLocations(locations);
        set.log.applicationName = "Vantorel v0.94a";
        GroupList groups(8, false);
        groups.append("Default");
        std::string message = runInstall(set, groups, "Vantorel").message().text();
        undoInstallation(set.log);
        return message;
    }
    // C:\Elsewhere holds exactly what it held before.
    void expectUntouched() {
        int entries = 0;
        for (auto& e : std::filesystem::directory_iterator(sandbox.path("C:\\Elsewhere")))
            entries += !e.path().empty();
        EXPECT_EQ(entries, 1);
        EXPECT_EQ(sandbox.readHostFile(sandbox.path("C:\\Elsewhere\\keep.txt")), "mine");
    }
};

TEST_F(PlantedLinkTest, NoFileIsWrittenThroughALinkInTheInstallationFolder) {
    plant("C:\\Games\\Vantorel\\doc");
    EXPECT_EQ(install({"A|Default|%APP%\\a.txt", "B|Default|%APP%\\doc\\keep.txt"}),
              "Could not create file \"C:\\Games\\Vantorel\\doc\\keep.txt\", a junction or link "
              "lies on its way");
    expectUntouched();
    EXPECT_FALSE(std::filesystem::exists(sandbox.path("C:\\Games\\Vantorel\\a.txt")))
        << "the undo still removes what was written";
}

TEST_F(PlantedLinkTest, TheInstallationFolderItselfMayNotBeALink) {
    plant("C:\\Games\\Vantorel");
    EXPECT_EQ(install({"A|Default|%APP%\\keep.txt"}),
              "Could not create file \"C:\\Games\\Vantorel\\keep.txt\", a junction or link lies on "
              "its way");
    expectUntouched();
}

TEST_F(PlantedLinkTest, NoShortcutIsSavedThroughALinkedGroupFolder) {
    plant(programs);
    EXPECT_EQ(install({"A|Default|%APP%\\a.txt|keep"}),
              std::string("Could not save shortcut file \"") + programs +
                  "\\keep.lnk\", a junction or link lies on its way");
    expectUntouched();
}

TEST_F(PlantedLinkTest, ALinkPlantedWhereTheLogIsWrittenIsNeverFollowed) {
    const char* const path = "C:\\Games\\Vantorel\\Vantorel.gus";
    std::filesystem::create_directories(sandbox.path("C:\\Games\\Vantorel"));
    auto plantBeside = [&] {
        std::filesystem::create_symlink(sandbox.path("C:\\Elsewhere\\keep.txt"),
                                        sandbox.path(path) + ".new");
    };
    plantBeside();
    InstallLog log;
    log.applicationName = "Vantorel v0.94a";
    EXPECT_TRUE(log.writeLogFile(path).isNull());
    expectUntouched();
    const std::string old = sandbox.readHostFile(sandbox.path(path));
    EXPECT_NE(old.find("GUS"), std::string::npos);

    // Planted again in the moment between the leftover's removal and the open.
    platform::host::afterNextUnlink(plantBeside);
    log.applicationName = "changed";
    EXPECT_STREQ(log.writeLogFile(path).message().text(),
                 "Could not open file \"C:\\Games\\Vantorel\\Vantorel.gus\" for writing");
    expectUntouched();
    EXPECT_EQ(sandbox.readHostFile(sandbox.path(path)), old);
}

}  // namespace
