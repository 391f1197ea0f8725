#include "setup/FolderSelection.h"

#include "platform/platform.h"
#include "setup/ProductConstants.h"

namespace {
const int pathBuffer = 260;
}

FolderChoice chooseFolders() {
    FolderChoice choice{FolderChoice::failed, String(), String(), String(), ErrorHandle()};
    platform::ShellFolders* shell = platform::ShellFolders::open();
    if (shell == nullptr) {
        choice.failure = makeError("Unable to get IMalloc interface!");
        return choice;
    }
    char path[pathBuffer] = "";
    char displayName[pathBuffer] = "";

    platform::ItemList desktop = shell->specialFolder(platform::csidlDesktop);
    if (desktop == nullptr || !shell->pathOf(desktop, path)) path[0] = '\0';
    choice.desktopDirectory = path;
    shell->free(desktop);

    platform::ItemList drives = shell->specialFolder(platform::csidlDrives);
    platform::ItemList first =
        shell->browse(drives, displayName, "Select parent for Vantorel installation directory");
    shell->free(drives);
    if (first == nullptr) {
        shell->release();
        choice.outcome = FolderChoice::cancelled;
        return choice;
    }
    if (!shell->pathOf(first, path)) path[0] = '\0';
    String parent(path);
    // A drive root such as C:\ keeps a single backslash before the folder.
    uint32_t length = parent.length();
    if (length > 0 && parent.text()[length - 1] == '\\') parent = parent.left(length - 1);
    choice.installationDirectory = parent + product::installationFolder;

    platform::ItemList startMenu = shell->specialFolder(platform::csidlStartMenu);
    platform::ItemList second =
        shell->browse(startMenu, displayName, "Select location for Vantorel shortcut group");
    shell->free(startMenu);
    if (second == nullptr) {
        shell->free(first);
        shell->release();
        choice.outcome = FolderChoice::cancelled;
        return choice;
    }
    if (!shell->pathOf(second, path)) path[0] = '\0';
    choice.shortcutDirectory = String(path) + product::installationFolder;

    shell->free(first);
    shell->free(second);
    shell->release();
    choice.outcome = FolderChoice::chosen;
    return choice;
}
