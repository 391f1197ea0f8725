// Arbitrary bytes as the install log of C:\Games\Vantorel, over a throw-away
// sandbox that holds files outside every location the uninstaller may accept
// (some of them reachable through links below those locations). Whatever the
// bytes: a log that is read survives a write and a re-read unchanged; a path
// the removal accepts normalises inside its base; and no file or folder
// outside the locations, and no key of the system's, is ever removed.
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/Undo.h"
#include "foundation/RegistryKey.h"
#include "installlog/InstallLog.h"
#include "platform/host/HostControl.h"
#include "uninstaller/LogTrust.h"
#include "uninstaller/Removal.h"

namespace {

namespace fs = std::filesystem;

std::string root;
SystemFolders folders;

const char* const outside[] = {
    "drive_c/keep.txt",
    "drive_c/Victim/keep.txt",
    "drive_c/Victim/deep/keep.txt",
    "drive_c/Games/keep.txt",
    "drive_c/Users/user/keep.txt",
    "drive_c/Users/Public/keep.txt",
    "drive_c/Users/user/AppData/Roaming/Microsoft/Windows/keep.txt",
    "drive_c/ProgramData/Microsoft/Windows/keep.txt",
};
const char* const folderStays[] = {
    "drive_c/Victim/empty",       "drive_c/Games",
    "drive_c/Users/user/Desktop", "drive_c/Users/user/AppData/Roaming/Microsoft/Windows/Start Menu",
    "drive_c/WINDOWS",            "drive_c/Users/Public/Desktop",
};

void put(const std::string& relative) {
    fs::path path = root + "/" + relative;
    fs::create_directories(path.parent_path());
    if (!fs::exists(path)) {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f != nullptr) std::fclose(f);
    }
}

void link(const std::string& target, const std::string& at, bool directory) {
    std::error_code ignored;
    fs::create_directories(fs::path(root + "/" + at).parent_path());
    if (fs::is_symlink(root + "/" + at)) return;
    if (directory)
        fs::create_directory_symlink(root + "/" + target, root + "/" + at, ignored);
    else
        fs::create_symlink(root + "/" + target, root + "/" + at, ignored);
}

// What a removal may take, put back before each input.
void furnish() {
    for (const char* file : outside) put(file);
    fs::create_directories(root + "/drive_c/Victim/empty");
    put("drive_c/Games/Vantorel/Vantorel.exe");
    put("drive_c/Games/Vantorel/doc/Vantorel.html");
    put("drive_c/Users/user/Desktop/Vantorel.lnk");
    put("drive_c/Users/user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Vantorel/Vantorel.lnk");
    link("drive_c/Victim", "drive_c/Games/Vantorel/data", true);
    link("drive_c/Victim/keep.txt", "drive_c/Games/Vantorel/readme.txt", false);
    link("drive_c/Victim", "drive_c/Users/user/Desktop/Victim", true);
}

// Windows' own reading of a path: either separator, "." and ".." applied,
// trailing dots and blanks dropped, case ignored.
std::string normalised(const std::string& path) {
    std::vector<std::string> names;
    std::string name;
    for (size_t i = 0; i <= path.size(); ++i) {
        char c = i < path.size() ? path[i] : '\\';
        if (c != '\\' && c != '/') {
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            continue;
        }
        while (!name.empty() && (name.back() == '.' || name.back() == ' ') && name != "." && name != "..")
            name.pop_back();
        if (name == "..") {
            if (names.size() > 1) names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        name.clear();
    }
    std::string out;
    for (const std::string& n : names) out += n + "\\";
    return out;
}

bool same(const String& a, const String& b) { return std::strcmp(a.text(), b.text()) == 0; }

void checkRoundTrip(const InstallLog& log) {
    if (isFailure(log.writeLogFile("C:\\roundtrip.gus"))) __builtin_trap();
    InstallLog back;
    if (isFailure(back.readLogFile("C:\\roundtrip.gus"))) __builtin_trap();
    const FileLocations& a = log.locations;
    const FileLocations& b = back.locations;
    if (!same(log.applicationName, back.applicationName) || !same(a.APP, b.APP) ||
        !same(a.SHORTCUT, b.SHORTCUT) || !same(a.DESKTOP, b.DESKTOP) || !same(a.WIN, b.WIN) ||
        log.installedFiles.size() != back.installedFiles.size() ||
        log.registryKeys.size() != back.registryKeys.size())
        __builtin_trap();
    for (int32_t i = 0; i < log.installedFiles.size(); ++i) {
        const InstalledFileRecord& x = log.installedFiles[i];
        const InstalledFileRecord& y = back.installedFiles[i];
        if (!same(x.group, y.group) || !same(x.location, y.location) || !same(x.path, y.path))
            __builtin_trap();
    }
    for (int32_t i = 0; i < log.registryKeys.size(); ++i)
        if (!same(log.registryKeys[i].area, back.registryKeys[i].area) ||
            !same(log.registryKeys[i].key, back.registryKeys[i].key))
            __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Every input creates and removes files: TMPDIR on a memory file system
    // (/dev/shm) makes a campaign several times faster.
    const char* temporary = std::getenv("TMPDIR");
    std::string pattern = std::string(temporary != nullptr && *temporary != '\0' ? temporary : "/tmp") +
                          "/vantorel-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    root = pattern;
    platform::host::setSandbox(root);
    platform::host::ensureSandbox();
    folders = SystemFolders::ofThisMachine();
    for (const char* folder : folderStays) fs::create_directories(root + "/" + folder);
    RegistryKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 1).close();
    RegistryKey("Software\\Microsoft\\Keep", 0).close();
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallLog log;
    if (isFailure(log.readLogText(reinterpret_cast<const char*>(data), size))) return 0;
    checkRoundTrip(log);
    if (isFailure(checkLocations(log, "C:\\Games\\Vantorel\\Vantorel.gus", folders))) return 0;

    for (int32_t i = 0; i < log.installedFiles.size(); ++i) {
        const InstalledFileRecord& record = log.installedFiles[i];
        String base = log.locations.locationValue(record.location.text());
        String why;
        if (insideLocation(record.path, base, why)) {
            std::string inside = normalised(record.path.text());
            std::string folder = normalised(base.text());
            if (inside.size() <= folder.size() || inside.compare(0, folder.size(), folder) != 0)
                __builtin_trap();
        }
    }
    furnish();
    removeInstallation(log);
    for (const char* file : outside)
        if (!fs::exists(root + "/" + file)) __builtin_trap();
    for (const char* folder : folderStays)
        if (!fs::is_directory(root + "/" + folder)) __builtin_trap();
    if (!RegistryKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 1, RegistryKey::existingOnly).isOpen() ||
        !RegistryKey("Software\\Microsoft\\Keep", 0, RegistryKey::existingOnly).isOpen())
        __builtin_trap();
    return 0;
}
