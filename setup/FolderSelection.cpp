#include "setup/FolderSelection.h"

#include "platform/Shell.h"
#include "setup/ProductConstants.h"

namespace {
const int pathBuffer = 260;

// The item of a special folder, or null when the shell has none to give.
platform::ItemList specialFolder(platform::ShellFolders* shell, int csidl) {
    platform::ItemList item = nullptr;
    if (shell->specialFolder(csidl, &item) != platform::statusOk) return nullptr;
    return item;
}

// The folder the user chose, or null when the browser was cancelled or could
// not be shown: either way no folder was chosen.
platform::ItemList browse(platform::ShellFolders* shell, platform::ItemList root, char* displayName,
                          const char* title) {
    platform::ItemList chosen = nullptr;
    if (shell->browse(root, displayName, title, &chosen) != platform::statusOk) return nullptr;
    return chosen;
}

// The folder's path, or empty text when it has none in the file system.
void pathOf(platform::ShellFolders* shell, platform::ItemList item, char* path) {
    if (item == nullptr || shell->pathOf(item, path) != platform::statusOk) path[0] = '\0';
}
}  // namespace

FolderChoice chooseFolders() {
    FolderChoice choice{FolderChoice::failed, String(), String(), String(), ErrorHandle()};
    platform::ShellFolders* shell = nullptr;
    if (platform::ShellFolders::open(&shell) != platform::statusOk) {
        choice.failure = makeError("Unable to get IMalloc interface!");
        return choice;
    }
    char path[pathBuffer] = "";
    char displayName[pathBuffer] = "";

    platform::ItemList desktop = specialFolder(shell, platform::csidlDesktop);
    pathOf(shell, desktop, path);
    choice.desktopDirectory = path;
    shell->free(desktop);

    platform::ItemList drives = specialFolder(shell, platform::csidlDrives);
    platform::ItemList first =
        browse(shell, drives, displayName, "Select parent for Vantorel installation directory");
    shell->free(drives);
    if (first == nullptr) {
        shell->release();
        choice.outcome = FolderChoice::cancelled;
        return choice;
    }
    pathOf(shell, first, path);
    String parent(path);
    // A drive root such as C:\ keeps a single backslash before the folder.
    uint32_t length = parent.length();
    if (length > 0 && parent.text()[length - 1] == '\\') parent = parent.left(length - 1);
    choice.installationDirectory = parent + product::installationFolder;

    platform::ItemList startMenu = specialFolder(shell, platform::csidlStartMenu);
    platform::ItemList second =
        browse(shell, startMenu, displayName, "Select location for Vantorel shortcut group");
    shell->free(startMenu);
    if (second == nullptr) {
        shell->free(first);
        shell->release();
        choice.outcome = FolderChoice::cancelled;
        return choice;
    }
    pathOf(shell, second, path);
    choice.shortcutDirectory = String(path) + product::installationFolder;

    shell->free(first);
    shell->free(second);
    shell->release();
    choice.outcome = FolderChoice::chosen;
    return choice;
}
