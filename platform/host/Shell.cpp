// The shell on the host: the folder browser as a terminal prompt over the
// sandbox's folders, and documents handed to the desktop's opener.
#include <dirent.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/host/HostControl.h"
#include "platform/host/WindowsPaths.h"
#include "platform/Shell.h"

extern char** environ;

namespace platform {
namespace host {
namespace {

bool allocatorAvailable = true;
const char* const drivesRoot = "";  // "My Computer": the drives themselves

bool isFolder(const std::string& windowsPath) {
    std::string mapped = hostPath(windowsPath);
    struct stat st;
    return !mapped.empty() && ::stat(mapped.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> foldersIn(const std::string& windowsFolder) {
    std::vector<std::string> names;
    if (windowsFolder.empty()) {
        for (char d = 'A'; d <= 'Z'; ++d) {
            std::string drive = std::string(1, d) + ":\\";
            if (isFolder(drive)) names.push_back(drive);
        }
        return names;
    }
    std::string mapped = hostPath(windowsFolder);
    DIR* dir = ::opendir(mapped.c_str());
    if (dir == nullptr) return names;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat st;
        if (::stat((mapped + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// What SHGetPathFromIDListA gives for an existing folder, whatever was typed
// to reach it: the drive letter in upper case, every name spelled as the file
// system spells it, backslashes only, and a trailing backslash only for a
// drive root ("C:\\", "C:\\Games").
std::string shellPath(const std::string& folder) {
    MappedPath mapped;
    if (mapPath(folder.c_str(), &mapped) != 0) return folder;
    std::string path = std::string(1, static_cast<char>(std::toupper(mapped.drive))) + ":\\";
    // The host path ends with the names as they exist, one per level.
    std::vector<std::string> spelled;
    std::string host = mapped.host;
    for (size_t i = 0; i < mapped.names.size(); ++i) {
        size_t slash = host.find_last_of('/');
        spelled.insert(spelled.begin(), host.substr(slash + 1));
        host.erase(slash);
    }
    for (size_t i = 0; i < spelled.size(); ++i) path += (i > 0 ? "\\" : "") + spelled[i];
    return path;
}

bool isAbsolute(const std::string& path) {
    return path.size() >= 2 && path[1] == ':';
}

// Inside the browser's root, as the real browser only offers what lies below it.
bool inside(const std::string& path, const std::string& root) {
    if (root.empty()) return true;
    std::string base = root;
    if (base.back() != '\\') base += '\\';
    std::string candidate = path;
    if (candidate.back() != '\\') candidate += '\\';
    return candidate.size() >= base.size() &&
           compareNames(candidate.c_str(), base.c_str(), static_cast<uint32_t>(base.size())) == 0;
}

class HostShellFolders : public ShellFolders {
public:
    Status specialFolder(int csidl, ItemList* item) override {
        *item = nullptr;
        uint32_t injected = 0;
        if (injectFault(Call::specialFolder, &injected)) return failWith(injected);
        switch (csidl) {
            case csidlDesktop: *item = new std::string(userProfile() + "\\Desktop"); break;
            case csidlDrives: *item = new std::string(drivesRoot); break;
            case csidlStartMenu:
                *item = new std::string(userProfile() +
                                        "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu");
                break;
            default: return failWith(errInvalidParameter);
        }
        return statusOk;
    }

    Status browse(ItemList rootItem, char* displayName, const char* title, ItemList* chosen) override {
        *chosen = nullptr;
        uint32_t injected = 0;
        if (injectFault(Call::browseForFolder, &injected)) return failWith(injected);
        *chosen = ask(rootItem, displayName, title);
        return statusOk;
    }

    Status pathOf(ItemList item, char* path) override {
        uint32_t injected = 0;
        if (injectFault(Call::pathOfItem, &injected)) return failWith(injected);
        if (item == nullptr) return failWith(errInvalidParameter);
        const std::string& text = *static_cast<std::string*>(item);
        // Not a file-system folder (the drives themselves), or too long a path.
        if (text.empty() || utf16Units(text.c_str()) >= 260) return failWith(0x80004005u);
        std::memcpy(path, text.c_str(), text.size() + 1);
        return statusOk;
    }

    void free(ItemList item) override { delete static_cast<std::string*>(item); }

    void release() override { delete this; }

private:
    // The prompt: null when the user cancelled.
    static ItemList ask(ItemList rootItem, char* displayName, const char* title) {
        std::string root = rootItem != nullptr ? *static_cast<std::string*>(rootItem) : "";
        std::printf("\n[Browse for Folder] %s\n", title);
        std::printf("Folders in %s:", root.empty() ? "My Computer" : root.c_str());
        for (const std::string& name : foldersIn(root)) std::printf("  %s", name.c_str());
        std::printf("\n");
        for (;;) {
            std::printf("Folder (a path, or a name from the list; empty to cancel): ");
            std::fflush(stdout);
            char line[1024];
            if (std::fgets(line, sizeof line, stdin) == nullptr) {
                std::printf("\n");
                return nullptr;
            }
            std::string answer = line;
            while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r'))
                answer.pop_back();
            if (answer.empty()) return nullptr;
            std::string path = isAbsolute(answer) || root.empty()
                                   ? answer
                                   : root + (root.back() == '\\' ? "" : "\\") + answer;
            if (path.size() == 2 && path[1] == ':') path += '\\';
            if (isFolder(path)) path = shellPath(path);
            if (!inside(path, root)) {
                std::printf("Choose a folder inside %s.\n", root.c_str());
                continue;
            }
            if (!isFolder(path)) {
                std::printf("There is no folder %s.\n", path.c_str());
                continue;
            }
            std::string last = path.substr(path.find_last_of('\\', path.size() - 2) + 1);
            std::snprintf(displayName, shellPathBytes, "%s", last.c_str());
            return new std::string(path);
        }
    }

};

}  // namespace

void setShellAllocatorAvailable(bool available) { allocatorAvailable = available; }

}  // namespace host

Status initializeComponents() {
    uint32_t injected = 0;
    if (host::injectFault(host::Call::initializeComponents, &injected)) return host::failWith(injected);
    return statusOk;
}

Status ShellFolders::open(ShellFolders** folders) {
    *folders = nullptr;
    uint32_t injected = 0;
    if (host::injectFault(host::Call::openShellFolders, &injected)) return host::failWith(injected);
    if (!host::allocatorAvailable) return host::failWith(0x80004005u);
    *folders = new host::HostShellFolders();
    return statusOk;
}

// The sandbox's machine has one user (host::userName) and the folders a fresh
// Windows keeps for it and for all users.
Status specialFolderPath(int csidl, char* path) {
    uint32_t injected = 0;
    if (host::injectFault(host::Call::specialFolderPath, &injected)) return host::failWith(injected);
    const std::string startMenu = host::userProfile() + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
    std::string folder;
    switch (csidl) {
        case csidlStartMenu: folder = startMenu; break;
        case csidlPrograms: folder = startMenu + "\\Programs"; break;
        case csidlDesktop:
        case csidlDesktopDirectory: folder = host::userProfile() + "\\Desktop"; break;
        case csidlCommonStartMenu: folder = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu"; break;
        case csidlCommonPrograms:
            folder = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
            break;
        case csidlCommonDesktopDirectory: folder = "C:\\Users\\Public\\Desktop"; break;
        case csidlWindows: folder = "C:\\WINDOWS"; break;
        case csidlProgramFiles: folder = "C:\\Program Files"; break;
        default: return host::failWith(0x80070002u);  // no such folder on this machine
    }
    if (folder.size() >= shellPathBytes) return host::failWith(errInsufficientBuffer);
    std::memcpy(path, folder.c_str(), folder.size() + 1);
    return statusOk;
}

// Hands the document to the desktop's opener (xdg-open, found on PATH).
Status shellExecute(const char*, const char* file) {
    uint32_t injected = 0;
    if (host::injectFault(host::Call::shellExecute, &injected)) return host::failWith(injected);
    std::string mapped = host::hostPath(file);
    struct stat st;
    if (mapped.empty() || ::stat(mapped.c_str(), &st) != 0) return host::failWith(errFileNotFound);
    char opener[] = "xdg-open";
    char* argv[] = {opener, const_cast<char*>(mapped.c_str()), nullptr};
    pid_t pid;
    if (::posix_spawnp(&pid, opener, nullptr, nullptr, argv, environ) != 0)
        return host::failWith(errNoAssociation);
    int status = 0;
    if (::waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return host::failWith(errNoAssociation);
    return statusOk;
}

}  // namespace platform
