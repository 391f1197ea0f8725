// Controls of the sandboxed Windows model that only the host build has: where
// the sandbox lives, scripted dialog answers, embedded resources, and fault
// injection. Used by the host entry points and by tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {
namespace host {

// ---------------------------------------------------------------- sandbox
// The sandbox is taken from VANTOREL_SANDBOX, else a folder under the user's
// data directory. setSandbox overrides both (tests use a temporary folder).
void setSandbox(const std::string& directory);
const std::string& sandboxRoot();
// Creates what a fresh Windows machine has where this product reads and
// writes (registry hives, drive C:, the Windows, Common Files, desktop and
// Start menu folders); leaves everything that exists alone.
void ensureSandbox();
std::string registryFile(int root);  // the REGEDIT4 file of a root
// The machine's one user, whose profile is C:\Users\<name>: "user", or what
// VANTOREL_USER names (a user Игорь, say); setUserName overrides both.
void setUserName(const std::string& name);
const std::string& userName();
// C:\Users\<name>, the user's profile.
std::string userProfile();

// ------------------------------------------------------------ dialogs
// Every box shown is recorded. With a script, the questions take their answers
// from it in order (an exhausted script answers No) and OK boxes take none;
// without, the terminal is asked.
struct ShownBox {
    std::string caption;
    std::string text;
    unsigned flags;
};
void scriptAnswers(const std::vector<int>& answers);
void stopScript();
std::vector<ShownBox>& shownBoxes();
bool scriptExhausted();  // a box asked for more answers than the script had
// What another process could do while a box waits for its answer: action runs
// once, when the next box is shown. stopScript drops it.
void onNextBox(std::function<void()> action);

// ----------------------------------------------------------- resources
struct EmbeddedResource {
    const char* type;
    const char* name;
    const unsigned char* data;
    uint32_t size;
};
void installResources(const EmbeddedResource* table, uint32_t count);
// Tests put resources of their own in (replacing one of the same type and
// name) or take them out; a missing data pointer makes the load fail.
void putResource(const std::string& type, const std::string& name,
                 const std::vector<unsigned char>& bytes);
void putUnloadableResource(const std::string& type, const std::string& name);
void removeResource(const std::string& type, const std::string& name);
void clearResources();

// ---------------------------------------------------- fault injection
// Every call of the seam that can fail can be made to fail, one kind at a
// time or the nth of all the calls that touch the machine.
enum class Call {
    // files and directories
    changeDirectory, currentDirectory, changeDrive, makeDirectory, removeDirectory, unlinkFile,
    openStream, createNewStream, writeStream, readStream, flushStream,
    closeStream, replaceFile, isReparsePoint,
    // registry
    regCreateKey, regOpenKey, regQueryValue, regSetValue, regDeleteKey, regDeleteValue,
    // resources, dialogs, system
    commandLineTail, loadResource, messageBox, systemErrorText, formatText, claimInstanceLock,
    windowsDirectory, temporaryDirectory, localTime, sha256,
    // version library
    fileVersionInfoSize, fileVersionInfo, versionQueryValue,
    // shell
    initializeComponents, createShellLink, setLinkPath, setLinkDescription, setLinkArguments,
    setLinkWorkingDirectory, queryPersistFile, saveLink, openShellFolders,
    specialFolder, browseForFolder, pathOfItem, specialFolderPath, shellExecute,
    count_
};
// Make the nth call of that kind from now (1 = the next) fail with code, or
// with the kind's usual code (a full disk for writes, access denied for
// opens, ...) when code is 0.
void failCall(Call kind, int nth, uint32_t code = 0);
// Make the nth call from now of those that touch the machine fail: every kind
// that changes it (directories, files, streams, keys and values, links, the
// move of a file into place) and those that read what may have changed
// underneath (opening a key, reading a stream or a version resource). Each
// call of this adds one more such point.
void failNthCall(int nth);
int callsMade(Call kind);
int touchingCallsMade();  // the calls failNthCall counts
int failuresMade(Call kind);  // how many calls of that kind were made to fail
void resetFaults();
// For the implementations: counts the call and tells whether it must fail,
// and with which code.
bool injectFault(Call kind, uint32_t* code);

// What another process could do between two calls: action runs once, right
// after the next unlinkFile has done its work. resetFaults drops it.
void afterNextUnlink(std::function<void()> action);
void runAfterUnlink();  // for unlinkFile
// The same right after the next replaceFile has put a file in place.
void afterNextReplace(std::function<void()> action);
void runAfterReplace();  // for replaceFile

// ---------------------------------------------------------------- text
// msvcrt.dll's printf does not say how long a text that does not fit would
// be; with this on, formatText says only that it did not fit, as on Windows.
void formatLikeMsvcrt(bool on);

// --------------------------------------------------------------- files
// The host path that a Windows path maps to (resolving names without regard
// to case where they exist); empty when the drive does not exist.
std::string hostPath(const std::string& windowsPath);

// ------------------------------------------------------------------ shell
// Documents are handed to `xdg-open` found on PATH; tests put their own first.
// Without the shell's allocator the folder choice cannot start.
void setShellAllocatorAvailable(bool available);

}  // namespace host
}  // namespace platform
