#include "setup/FolderSelection.h"

#include "platform/Shell.h"
#include "setup/ProductConstants.h"

namespace {
const size_t pathBuffer = platform::shellPathBytes;

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
// False for a folder whose name is no valid text (a lone surrogate), which
// no later step could use as the name it is.
bool pathOf(platform::ShellFolders* shell, platform::ItemList item, char* path) {
    platform::Status status = item != nullptr ? shell->pathOf(item, path) : platform::statusOk;
    if (item == nullptr || status != platform::statusOk) path[0] = '\0';
    return status != platform::errNoUnicodeTranslation;
}

ErrorHandle unreadableName() {
    return makeError("The name of the chosen folder cannot be read as text.");
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
    if (!pathOf(shell, first, path)) {
        shell->free(first);
        shell->release();
        choice.failure = unreadableName();
        return choice;
    }
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
    if (!pathOf(shell, second, path)) {
        shell->free(first);
        shell->free(second);
        shell->release();
        choice.failure = unreadableName();
        return choice;
    }
    choice.shortcutDirectory = String(path) + product::installationFolder;

    shell->free(first);
    shell->free(second);
    shell->release();
    choice.outcome = FolderChoice::chosen;
    return choice;
}
