// Every system call of a full setup run of the shipped payload that touches
// the machine, from the uninstaller's deployment to the product settings, is
// made to fail once, each in a fresh sandbox, through runSetup as the user's
// confirmation starts it. A failure that stops the run is shown in exactly one
// box and undone to the last folder and key, up to the last value of the
// product settings: an installation that is not sealed and recorded has an
// Uninstall entry whose uninstaller refuses its log. The product then does
// not count as installed, so the setup can run again. A failure the run can
// do without (removing a leftover that is not there) leaves it complete and
// silent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host/HostControl.h"
#include "platform/Dialogs.h"
#include "setup/ProductSettings.h"
#include "setup/SetupProgram.h"
#include "tests/support/TempSandbox.h"

namespace fs = std::filesystem;

namespace {

struct Snapshot {
    std::map<std::string, std::string> files;  // path below drive C: -> bytes; "/" for folders
    std::vector<std::string> registry;          // the hives' lines, sorted
};

Snapshot take(const TempSandbox& sandbox) {
    Snapshot s;
    fs::path drive = fs::path(sandbox.root()) / "drive_c";
    for (auto& entry : fs::recursive_directory_iterator(drive))
        s.files[fs::relative(entry.path(), drive).string()] =
            entry.is_directory() ? "/" : sandbox.readHostFile(entry.path());
    for (const char* hive : {"HKEY_LOCAL_MACHINE.reg", "HKEY_CURRENT_USER.reg"}) {
        std::istringstream text(sandbox.readHostFile(sandbox.root() + "/registry/" + hive));
        for (std::string line; std::getline(text, line);)
            if (!line.empty()) s.registry.push_back(line);
    }
    std::sort(s.registry.begin(), s.registry.end());
    return s;
}

bool countsAsInstalled(const Snapshot& s) {
    auto has = [&](const std::string& start) {
        return std::any_of(s.registry.begin(), s.registry.end(), [&](const std::string& line) {
            return line.rfind(start, 0) == 0 && line != start + "\"\"";
        });
    };
    return has("\"Version\"=") && has("\"InstallationPath\"=");
}

// The setup run as the user's confirmation starts it; the documentation is not opened.
void runTheSetup() {
    platform::host::scriptAnswers({platform::idNo});
    runSetup("C:\\Games\\Vantorel",
             "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Vantorel",
             "C:\\Users\\user\\Desktop");
}

// How the box of each failing kind of call begins.
const char* const beginnings[] = {
    "Error: Cannot create directory \"", "Error: Could not create file \"",
    "Error: Could not open file \"",     "Error: Could not read file \"",
    "Error: Error writing to file \"",
    "Error: Could not write file \"",    "Error: Could not save shortcut file \"",
    "Error: Unable to create the registry key", "Error: Unable to write the '"};

// Something of the user's beside where the run writes, alike in every run so
// that every run makes the same calls; and the settings read as the program
// reads them before it asks anything, which makes their empty key. The calls
// are counted from here.
void prepare(const TempSandbox& sandbox) {
    sandbox.writeHostFile(sandbox.root() + "/drive_c/Games/saved.txt", "mine");
    ProductSettings settings;
    settings.readInstalledVersion();
    settings.readInstallationPath();
    platform::host::resetFaults();
}

bool keepsUsersFiles(const Snapshot& before, const Snapshot& after) {
    for (const auto& file : before.files) {
        auto found = after.files.find(file.first);
        if (found == after.files.end() || found->second != file.second) return false;
    }
    return true;
}

}  // namespace

TEST(Reliability, EveryFailingCallIsShownOnceAndUndoneOrLeftComplete) {
    int calls = 0;
    Snapshot complete;
    {
        TempSandbox sandbox;
        prepare(sandbox);
        runTheSetup();
        ASSERT_EQ(platform::host::shownBoxes().size(), 1u);  // only the documentation question
        calls = platform::host::touchingCallsMade();
        complete = take(sandbox);
        ASSERT_TRUE(countsAsInstalled(complete));
    }
    ASSERT_GT(calls, 60);

    const std::string uninstallerFolder = "Program Files/Common Files/System";
    int undone = 0, leftComplete = 0;
    for (int n = 1; n <= calls; ++n) {
        SCOPED_TRACE("failing call " + std::to_string(n));
        TempSandbox sandbox;
        prepare(sandbox);
        Snapshot before = take(sandbox);
        platform::host::failNthCall(n);
        runTheSetup();
        Snapshot after = take(sandbox);

        const std::vector<platform::host::ShownBox>& boxes = platform::host::shownBoxes();
        ASSERT_EQ(boxes.size(), 1u) << "one box, and no question after a failure";
        std::string text = boxes[0].text;
        if (boxes[0].flags == (platform::mbYesNo | platform::mbIconQuestion)) {
            // The run did without what failed: it must then be whole.
            EXPECT_EQ(after.files, complete.files) << "no error shown, yet not complete";
            EXPECT_EQ(after.registry, complete.registry) << "no error shown, yet not complete";
            ++leftComplete;
            continue;
        }
        EXPECT_EQ(boxes[0].flags, platform::mbOk | platform::mbIconHand) << text;
        EXPECT_TRUE(std::any_of(std::begin(beginnings), std::end(beginnings),
                                [&](const char* b) { return text.rfind(b, 0) == 0; }))
            << text;
        EXPECT_FALSE(countsAsInstalled(after)) << "after: " << text;
        EXPECT_TRUE(keepsUsersFiles(before, after)) << "after: " << text;

        // The undo takes everything away again. The deployed uninstaller
        // stays (other products share it), and so does the folder it was put
        // in; nothing else may remain.
        ++undone;
        EXPECT_EQ(after.registry, before.registry) << "after: " << text;
        for (const auto& file : after.files)
            EXPECT_TRUE(before.files.count(file.first) || file.first == uninstallerFolder ||
                        file.first == uninstallerFolder + "/TessalyUninstaller.exe")
                << file.first << " left behind after: " << text;
    }
    std::printf("failure points covered: %d (undone: %d, left complete: %d)\n", calls, undone,
                leftComplete);
    EXPECT_GT(undone, 0);
    EXPECT_GT(leftComplete, 0);
}

// A log that another process holds while the setup completes it fails the
// installation; the read-only attribute stands in for the handle, as it
// stops the log's replacement and its deletion alike. The undo stops at the
// log, and still the Uninstall entry goes: never sealed, it would start an
// uninstaller that refuses the log, with nothing able to take it away.
TEST(Reliability, ALogHeldWhileTheSetupCompletesItLeavesNoEntry) {
    TempSandbox sandbox;
    prepare(sandbox);
    platform::host::afterNextReplace([&] {
        fs::permissions(sandbox.path("C:\\Games\\Vantorel\\Vantorel.gus"), fs::perms::owner_read,
                        fs::perm_options::replace);
    });
    runTheSetup();
    Snapshot after = take(sandbox);
    const std::vector<platform::host::ShownBox>& boxes = platform::host::shownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Error: Could not write file \"C:\\Games\\Vantorel\\Vantorel.GUS\"");
    EXPECT_FALSE(countsAsInstalled(after));
    for (const std::string& line : after.registry)
        EXPECT_EQ(line.find("Uninstall\\Vantorel v0.94a"), std::string::npos) << line;
    EXPECT_EQ(after.files.count("Games/Vantorel/Vantorel.exe"), 0u);
}

// The undo itself can fail anywhere: a file it cannot delete, a folder it
// cannot remove, a key it cannot open or delete. A failing install run then
// leaves some of what it made, but still shows only its own failure, never
// touches what was the user's and never counts as installed.
TEST(Reliability, AFailingUndoLosesNothingOfTheUsersAndNeverCountsAsInstalled) {
    int calls = 0;
    {
        TempSandbox sandbox;
        prepare(sandbox);
        runTheSetup();
        calls = platform::host::touchingCallsMade();
    }
    // The latest failure that the run undoes: the undo then has the most to do.
    int lastUndone = 0, withUndo = 0;
    for (int n = calls; n > 0 && lastUndone == 0; --n) {
        TempSandbox sandbox;
        prepare(sandbox);
        platform::host::failNthCall(n);
        runTheSetup();
        if (take(sandbox).files.count("Games/Vantorel") == 0) {
            lastUndone = n;
            withUndo = platform::host::touchingCallsMade();
        }
    }
    ASSERT_GT(lastUndone, 0);
    ASSERT_GT(withUndo - lastUndone, 20);

    using platform::host::Call;
    int failed[static_cast<int>(Call::count_)] = {};
    for (int k = lastUndone + 1; k <= withUndo; ++k) {
        SCOPED_TRACE("undo's failing call " + std::to_string(k));
        TempSandbox sandbox;
        prepare(sandbox);
        Snapshot before = take(sandbox);
        platform::host::failNthCall(lastUndone);
        platform::host::failNthCall(k);
        runTheSetup();
        Snapshot after = take(sandbox);
        const std::vector<platform::host::ShownBox>& boxes = platform::host::shownBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].flags, platform::mbOk | platform::mbIconHand) << boxes[0].text;
        EXPECT_FALSE(countsAsInstalled(after));
        EXPECT_TRUE(keepsUsersFiles(before, after));
        for (int c = 0; c < static_cast<int>(Call::count_); ++c)
            failed[c] += platform::host::failuresMade(static_cast<Call>(c));
    }
    // Keys are opened to delete below them as the undo has always opened them: created if missing.
    for (Call kind : {Call::unlinkFile, Call::removeDirectory, Call::regCreateKey, Call::regDeleteKey})
        EXPECT_GT(failed[static_cast<int>(kind)], 0) << "kind " << static_cast<int>(kind);
    std::printf("undo failure points covered: %d\n", withUndo - lastUndone);
}
