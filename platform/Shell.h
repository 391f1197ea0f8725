// The shell: component objects, link files, the folder browser and the
// system's well-known folders, and opening a document. Results follow
// platform/Status.h.
#pragma once

#include <cstddef>

#include "platform/Status.h"

namespace platform {

// Room for a path the shell hands back: MAX_PATH UTF-16 units, each at most
// three bytes of UTF-8, and the terminator.
const size_t shellPathBytes = 3 * 260 + 1;

Status initializeComponents();  // CoInitialize

// The shell link object: created, given its properties, asked for its
// persistence interface, saved, released.
class ShellLink {
public:
    static Status create(ShellLink** link);
    virtual ~ShellLink() = default;
    virtual Status setPath(const char* target) = 0;
    virtual Status setDescription(const char* text) = 0;
    virtual Status setArguments(const char* text) = 0;
    virtual Status setWorkingDirectory(const char* dir) = 0;
    virtual Status queryPersistFile() = 0;  // IPersistFile
    // A link path longer than the system takes is refused, never cut short.
    virtual Status save(const char* linkPath) = 0;
    virtual void release() = 0;  // releases both interfaces and deletes this
};

// The shell's allocator and folder browser (SHGetMalloc and friends).
enum : int { csidlDesktop = 0x00, csidlStartMenu = 0x0B, csidlDrives = 0x11 };
typedef void* ItemList;
class ShellFolders {
public:
    static Status open(ShellFolders** folders);  // SHGetMalloc
    virtual ~ShellFolders() = default;
    virtual Status specialFolder(int csidl, ItemList* item) = 0;  // SHGetSpecialFolderLocation
    // SHBrowseForFolderW rooted at root, flags BIF_RETURNONLYFSDIRS only;
    // *chosen is null when the user cancelled, which is no failure.
    // displayName holds shellPathBytes.
    virtual Status browse(ItemList root, char* displayName, const char* title,
                          ItemList* chosen) = 0;
    // SHGetPathFromIDListW into shellPathBytes; errNoUnicodeTranslation for a
    // name that is no valid UTF-16 (an unpaired surrogate).
    virtual Status pathOf(ItemList item, char* path) = 0;
    virtual void free(ItemList item) = 0;                  // IMalloc::Free
    virtual void release() = 0;                            // IMalloc::Release; deletes this
};

// Where the system keeps its well-known folders, outside any dialogue: the
// path of a CSIDL folder (SHGetFolderPathW, into shellPathBytes, no trailing
// backslash). The uninstaller checks the locations a log names against these,
// and a silent install takes its folders from them.
enum : int {
    csidlPrograms = 0x02,
    csidlDesktopDirectory = 0x10,
    csidlCommonStartMenu = 0x16,
    csidlCommonPrograms = 0x17,
    csidlCommonDesktopDirectory = 0x19,
    csidlWindows = 0x24,
    csidlProgramFiles = 0x26,
};
Status specialFolderPath(int csidl, char* path);

// ShellExecuteW (null owner, verb, file, no parameters, no directory, show 1).
// Its small-number results become the Windows codes they stand for.
Status shellExecute(const char* verb, const char* file);

}  // namespace platform
