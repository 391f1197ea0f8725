// The elevated setup over folders a standard user prepared or changes while
// it runs: a link above the installation folder, a hard link at a product
// file's name, the documentation folder swapped while the last question
// waits. Nothing is written, and nothing opened, anywhere but where the
// setup was told.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/Dialogs.h"
#include "setup/SetupProgram.h"
#include "tests/support/TempSandbox.h"

namespace fs = std::filesystem;

namespace {

const char* const programs = "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Vantorel";
const char* const desktop = "C:\\Users\\user\\Desktop";

}  // namespace

TEST(PathTrust, ALinkAboveTheInstallationFolderIsRefused) {
    TempSandbox sandbox;
    fs::create_directory_symlink(sandbox.path("C:\\WINDOWS\\system32"), sandbox.root() + "/drive_c/Games");
    ErrorHandle result = installProduct("C:\\Games\\Vantorel", programs, desktop);
    EXPECT_TRUE(isFailure(result));
    EXPECT_STREQ(result.message().text(),
                 "Could not create file \"C:\\Games\\Vantorel\\Readme.txt\", a junction or link lies on its way");
    EXPECT_FALSE(fs::exists(sandbox.root() + "/drive_c/WINDOWS/system32/Vantorel"));
}

TEST(PathTrust, AHardLinkAtAProductFilesNameIsNeverWrittenThrough) {
    TempSandbox sandbox;
    const std::string hosts = sandbox.root() + "/drive_c/WINDOWS/system32/drivers/etc/hosts";
    sandbox.writeHostFile(hosts, "127.0.0.1 localhost\n");
    fs::create_directories(sandbox.root() + "/drive_c/Games/Vantorel");
    fs::create_hard_link(hosts, sandbox.root() + "/drive_c/Games/Vantorel/Readme.txt");
    ASSERT_FALSE(isFailure(installProduct("C:\\Games\\Vantorel", programs, desktop)));
    EXPECT_EQ(sandbox.readHostFile(hosts), "127.0.0.1 localhost\n");
    EXPECT_EQ(fs::hard_link_count(hosts), 1u);
    EXPECT_NE(sandbox.readHostFile(sandbox.path("C:\\Games\\Vantorel\\Readme.txt")), "127.0.0.1 localhost\n");
}

TEST(PathTrust, TheDocumentationIsNotOpenedThroughAFolderSwappedWhileTheQuestionWaits) {
    TempSandbox sandbox;
    sandbox.writeHostFile(sandbox.path("C:\\Elsewhere\\Vantorel.html"), "<script>");
    platform::host::scriptAnswers({platform::idYes});
    platform::host::onNextBox([&] {
        fs::rename(sandbox.path("C:\\Games\\Vantorel\\doc"), sandbox.root() + "/drive_c/Games/Vantorel/doc.old");
        fs::create_directory_symlink(sandbox.path("C:\\Elsewhere"), sandbox.root() + "/drive_c/Games/Vantorel/doc");
    });
    runSetup("C:\\Games\\Vantorel", programs, desktop);
    const auto& boxes = platform::host::shownBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Error: The documentation \"C:\\Games\\Vantorel\\doc\\Vantorel.html\" was not "
                             "opened: a junction or link lies on its way.");
}
