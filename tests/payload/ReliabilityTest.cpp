// A failure anywhere in a full install of the shipped payload loses nothing
// and leaves nothing: every mutating system call of the run is made to fail
// once, in a fresh sandbox each time, and the undo must bring the machine
// back to where it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/InstallRun.h"
#include "engine/Undo.h"
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
        std::string text = sandbox.readHostFile(sandbox.root() + "/registry/" + hive);
        for (size_t start = 0, end; start < text.size(); start = end + 1) {
            end = std::min(text.find('\n', start), text.size());
            if (end > start) s.registry.push_back(text.substr(start, end - start));
        }
    }
    std::sort(s.registry.begin(), s.registry.end());
    return s;
}

// The run as the setup makes it, undone as the setup undoes it.
ErrorHandle installShippedPayload() {
    InstallSet set;
    ErrorHandle result = set.parseInstallSet("VANTOREL");
    if (!isFailure(result)) result = set.checkPackedResources();
    if (isFailure(result)) return result;
    FileLocations locations;
    locations.setLocationValue("%APP%", "C:\\Games\\Vantorel");
    locations.setLocationValue(
        "%SHORTCUT%", "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Vantorel");
    locations.setLocationValue("%DESKTOP%", "C:\\Users\\user\\Desktop");
    set.setLocations(locations);
    set.log.applicationName = "Vantorel v0.94a";
    GroupList groups(8, false);
    groups.append("Default");
    result = runInstall(set, groups, "Vantorel");
    if (isFailure(result)) undoInstallation(set.log);
    return result;
}

// Something of the user's beside where the run writes, alike in every run so
// that every run makes the same calls.
void putUsersFile(const TempSandbox& sandbox) {
    sandbox.writeHostFile(sandbox.root() + "/drive_c/Games/saved.txt", "mine");
}

// How a report of each failing kind of call begins.
const char* const beginnings[] = {
    "Cannot create directory \"", "Could not create file \"", "Could not open file \"",
    "Error writing to file \"",   "Could not write file \"",  "Could not save shortcut file \"",
    "Unable to create the registry key", "Unable to write the '"};

}  // namespace

TEST(Reliability, EveryFailingCallIsUndoneCompletely) {
    int calls = 0;
    {
        TempSandbox sandbox;
        putUsersFile(sandbox);
        ASSERT_FALSE(isFailure(installShippedPayload()));
        calls = platform::host::mutatingCallsMade();
    }
    ASSERT_GT(calls, 60);

    const std::string uninstallerFolder = "Program Files/Common Files/System";
    int uninstallerStayed = 0;
    for (int n = 1; n <= calls; ++n) {
        SCOPED_TRACE("failing mutating call " + std::to_string(n));
        TempSandbox sandbox;
        putUsersFile(sandbox);
        Snapshot before = take(sandbox);
        platform::host::failMutatingCall(n);
        ErrorHandle result = installShippedPayload();
        ASSERT_TRUE(isFailure(result));
        std::string message = result.message().text();
        EXPECT_TRUE(std::any_of(std::begin(beginnings), std::end(beginnings),
                                [&](const char* b) { return message.rfind(b, 0) == 0; }))
            << message;

        Snapshot after = take(sandbox);
        EXPECT_EQ(after.registry, before.registry);
        for (const auto& file : before.files) {
            auto found = after.files.find(file.first);
            EXPECT_TRUE(found != after.files.end() && found->second == file.second)
                << "lost or changed " << file.first;
        }
        // The deployed uninstaller stays (other products share it), and so
        // does the folder it was put in. Nothing else may remain: a failed
        // write takes away the directories it made, and the undo removes
        // every directory its records leave empty.
        for (const auto& file : after.files) {
            if (before.files.count(file.first)) continue;
            if (file.first == uninstallerFolder) {
                ++uninstallerStayed;
                continue;
            }
            EXPECT_EQ(file.first, uninstallerFolder + "/TessalyUninstaller.exe")
                << "left behind after: " << message;
        }
    }
    std::printf("failure points covered: %d (the deployed uninstaller stayed in %d)\n", calls,
                uninstallerStayed);
}
