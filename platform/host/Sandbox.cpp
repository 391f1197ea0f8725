// Where the sandboxed Windows machine lives, and what a fresh one holds.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/host/HostControl.h"
#include "platform/Registry.h"

namespace platform {
namespace host {
namespace {

std::string& root() {
    static std::string dir;
    return dir;
}

std::string defaultSandbox() {
    const char* chosen = std::getenv("VANTOREL_SANDBOX");
    if (chosen != nullptr && chosen[0] != '\0') return chosen;
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] != '\0') return std::string(data) + "/vantorel-sandbox";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.local/share/vantorel-sandbox";
}

void makeDirectories(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') ::mkdir(path.substr(0, i).c_str(), 0755);
    }
}

bool exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// Runs that start together may both find the file missing. Each writes its
// own temporary file and links it into place, which fails where the file has
// appeared meanwhile; renaming would replace a hive that the other run has
// already changed.
void writeIfMissing(const std::string& path, const char* text) {
    if (exists(path)) return;
    std::string temp = path + "." + std::to_string(::getpid()) + ".new";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (f == nullptr) return;
    std::fputs(text, f);
    if (std::fclose(f) == 0 && ::link(temp.c_str(), path.c_str()) != 0 && errno != EEXIST &&
        !exists(path))
        std::rename(temp.c_str(), path.c_str());  // a file system without hard links
    ::unlink(temp.c_str());
}

}  // namespace

void setSandbox(const std::string& directory) { root() = directory; }

const std::string& sandboxRoot() {
    if (root().empty()) root() = defaultSandbox();
    return root();
}

std::string registryFile(int rootKey) {
    return sandboxRoot() + (rootKey == rootLocalMachine ? "/registry/HKEY_LOCAL_MACHINE.reg"
                                                        : "/registry/HKEY_CURRENT_USER.reg");
}

std::string& user() {
    static std::string name;
    return name;
}

void setUserName(const std::string& name) { user() = name; }

const std::string& userName() {
    if (user().empty()) {
        const char* given = std::getenv("VANTOREL_USER");
        user() = given != nullptr && given[0] != '\0' ? given : "user";
    }
    return user();
}

std::string userProfile() { return "C:\\Users\\" + userName(); }

void ensureSandbox() {
    const std::string& top = sandboxRoot();
    makeDirectories(top + "/registry");
    const std::string profile = "/drive_c/Users/" + userName();
    const std::string folders[] = {
        "/drive_c/WINDOWS",
        "/drive_c/WINDOWS/system32",
        "/drive_c/Program Files/Common Files",
        profile + "/Desktop",
        profile + "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs",
    };
    for (const std::string& folder : folders) makeDirectories(top + folder);
    writeIfMissing(registryFile(rootLocalMachine),
                   "REGEDIT4\n"
                   "\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
                   "\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft]\n"
                   "\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows]\n"
                   "\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\n"
                   "\"CommonFilesDir\"=\"C:\\\\Program Files\\\\Common Files\"\n"
                   "\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall]\n"
                   "\n");
    writeIfMissing(registryFile(rootCurrentUser),
                   "REGEDIT4\n"
                   "\n"
                   "[HKEY_CURRENT_USER\\Software]\n"
                   "\n"
                   "[HKEY_CURRENT_USER\\Software\\Microsoft]\n"
                   "\n"
                   "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows]\n"
                   "\n"
                   "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion]\n"
                   "\n"
                   "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall]\n"
                   "\n");
}

}  // namespace host
}  // namespace platform
