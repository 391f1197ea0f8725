// The seam between the setup and the operating system. Everything above
// platform/ calls the system only through these functions, so the same code
// runs on Windows (platform/win32) and over the sandboxed model of a Windows
// machine on Linux (platform/host).
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

namespace platform {

// ------------------------------------------------------------ the program
// First thing a program does: on Windows every later library load searches the
// system folder only; the host model makes its sandbox ready.
void startProgram();
// The command line after the program's name, as WinMain is handed it.
const char* commandLineTail();

// ---------------------------------------------------------------- resources
// A resource of the program's own module, looked up by type and name. The
// bytes stay valid for the life of the program; size bounds every reader.
enum class ResourceStatus { found, notFound, notLoaded };
ResourceStatus loadResource(const char* type, const char* name, const unsigned char** data,
                            uint32_t* size);

// ---------------------------------------------------------- message boxes
// Flags and answers are those of MessageBoxA.
enum : unsigned {
    mbOk = 0x00,
    mbYesNo = 0x04,
    mbIconHand = 0x10,
    mbIconQuestion = 0x20,
    mbIconInformation = 0x40,
    mbDefButton2 = 0x100,
};
enum : int { idOk = 1, idYes = 6, idNo = 7 };
int messageBox(const char* text, const char* caption, unsigned flags);

// ------------------------------------------------------- system errors
// GetLastError, and FormatMessageA of a code into buf (false when the system
// has no text for it). Texts end with CR LF, as system messages do.
uint32_t lastErrorCode();
void setLastErrorCode(uint32_t code);
bool systemErrorText(uint32_t code, char* buf, size_t size);

// ------------------------------------------------------- formatted text
// vsnprintf's contract: at most size bytes written, the last of them the
// terminating zero; returns the length the whole text needs, negative when
// the format cannot be used. The texts we format use %s, %c, %d and %lu only.
int formatText(char* buf, size_t size, const char* format, va_list args);

// ------------------------------------------------------------- registry
// Results are Windows error codes: 0 success, 2 not found, 3 path not found.
enum : uint32_t { regSz = 1, regDword = 4 };
enum : int { rootCurrentUser = 0, rootLocalMachine = 1 };
typedef void* RegHandle;
long regCreateKey(int root, const char* path, RegHandle* key);
// With data null only the size is returned, as RegQueryValueExA does.
long regQueryValue(RegHandle key, const char* name, uint32_t* type, unsigned char* data,
                   uint32_t* size);
long regSetValue(RegHandle key, const char* name, uint32_t type, const unsigned char* data,
                 uint32_t size);
long regDeleteKey(RegHandle key, const char* subKey);
// RegOpenKeyExA: an existing key only, never created (2 when it is missing).
// Removing something must not leave behind a key it had to make first.
long regOpenKey(int root, const char* path, RegHandle* key);
void regCloseKey(RegHandle key);

// -------------------------------------------------- runtime file calls
// The C runtime's calls on Windows paths. Failures return -1 (or null) and
// set errno to the value the Windows runtime sets (EEXIST, ENOSPC, EACCES,
// ENOENT), and the last system error to the matching Windows code.
int changeDirectory(const char* path);  // _chdir
// _getcwd: the full path of the current directory; false when it does not fit.
bool currentDirectory(char* buf, size_t size);
int changeDrive(int drive);             // _chdrive, 1 = A
int makeDirectory(const char* path);    // _mkdir
int removeDirectory(const char* path);  // _rmdir
int unlinkFile(const char* path);       // _unlink

// A stream as fopen gives it. Mode "wb"/"rb" is binary; "w"/"r" is text mode,
// where a line feed is written as CR LF and CR LF is read as a line feed.
struct File;
File* openFile(const char* path, const char* mode);
size_t writeFile(File* file, const void* data, size_t size);
size_t readFile(File* file, void* data, size_t size);
int readChar(File* file);  // the next byte (after text-mode translation), or -1 at the end
int flushFile(File* file);
int closeFile(File* file);  // 0 on success; the stream is gone either way
// A new file, for writing in text mode as openFile(path, "w") gives it, made
// only when nothing at all is under the name: an existing file, hard link,
// symbolic link (dangling or not) or junction there makes it fail (null, the
// last system error set) instead of being opened, truncated or followed. For
// a fixed name in a folder that a standard user may write, where the name
// can be taken between removing what was there and opening it again.
File* createNewFile(const char* path);

// MoveFileExA with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH: from
// takes the place of to in one step. 0 on success; -1 with the last system
// error set otherwise, both files then as they were.
int replaceFile(const char* from, const char* to);
// Whether the file or directory at path is a reparse point (a junction or a
// symbolic link) rather than itself; false when there is nothing at path.
bool isReparsePoint(const char* path);

// SHA-256 of the bytes, by the system's own hash; false when it is unavailable.
bool sha256(const void* data, size_t size, unsigned char digest[32]);

// ------------------------------------------------------- one at a time
// A named mutex in the machine's global namespace ("Global\" + name), so that
// it is seen from every session. Null when another process holds the name or
// the mutex cannot be made; otherwise held until released or the process ends.
typedef void* InstanceLock;
InstanceLock claimInstanceLock(const char* name);
void releaseInstanceLock(InstanceLock lock);

// GetWindowsDirectoryA: false when the call fails.
bool windowsDirectory(char* buf, size_t size);

// -------------------------------------------------------- version library
// GetFileVersionInfoSizeA, GetFileVersionInfoA and VerQueryValueA.
uint32_t fileVersionInfoSize(const char* path);
bool fileVersionInfo(const char* path, uint32_t size, void* block);
bool versionQueryValue(const void* block, const char* subBlock, const void** value,
                       uint32_t* length);

// --------------------------------------------------------------- shell
void initializeComponents();  // CoInitialize

// The shell link object: created, given its properties, asked for its
// persistence interface, saved under a wide path, released.
class ShellLink {
public:
    static ShellLink* create();  // null: the object cannot be created
    virtual ~ShellLink() = default;
    virtual void setPath(const char* target) = 0;
    virtual void setDescription(const char* text) = 0;
    virtual void setArguments(const char* text) = 0;
    virtual void setWorkingDirectory(const char* dir) = 0;
    virtual bool queryPersistFile() = 0;  // false: IPersistFile refused
    virtual bool save(const wchar_t* linkPath) = 0;
    virtual void release() = 0;  // releases both interfaces and deletes this
};
// MultiByteToWideChar from the ANSI code page; false when it does not fit.
bool ansiToWide(const char* text, wchar_t* out, int outChars);

// The shell's allocator and folder browser (SHGetMalloc and friends).
enum : int { csidlDesktop = 0x00, csidlStartMenu = 0x0B, csidlDrives = 0x11 };
typedef void* ItemList;
class ShellFolders {
public:
    static ShellFolders* open();  // SHGetMalloc; null when the allocator is unavailable
    virtual ~ShellFolders() = default;
    virtual ItemList specialFolder(int csidl) = 0;  // SHGetSpecialFolderLocation
    // SHBrowseForFolderA rooted at root, flags BIF_RETURNONLYFSDIRS only; null when cancelled.
    virtual ItemList browse(ItemList root, char* displayName, const char* title) = 0;
    virtual bool pathOf(ItemList item, char* path) = 0;  // SHGetPathFromIDListA, 260 bytes
    virtual void free(ItemList item) = 0;                 // IMalloc::Free
    virtual void release() = 0;                           // IMalloc::Release; deletes this
};

// Where the system keeps its well-known folders, outside any dialogue: the
// path of a CSIDL folder (SHGetFolderPathA, 260 bytes, no trailing
// backslash); false when the system has no such folder. The uninstaller checks
// the locations a log names against these, and a silent install takes its
// folders from them.
enum : int {
    csidlPrograms = 0x02,
    csidlDesktopDirectory = 0x10,
    csidlCommonStartMenu = 0x16,
    csidlCommonPrograms = 0x17,
    csidlCommonDesktopDirectory = 0x19,
    csidlWindows = 0x24,
    csidlProgramFiles = 0x26,
};
bool specialFolderPath(int csidl, char* path);

// ShellExecuteA (null owner, verb, file, no parameters, no directory, show 1);
// returns its result, success above 32.
intptr_t shellExecute(const char* verb, const char* file);

}  // namespace platform
