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
enum class Fault {
    makeDirectory,  // errno as given, ENOSPC by default
    openFile,       // opening for writing
    writeFile,      // the write comes up short
    closeFile,      // buffered data fails at close
    saveLink,
    readVersion,
    createKey,
    setValue,
    deleteKey,
    createLink,   // the shell link object cannot be created
    persistLink,  // the link object refuses IPersistFile
    moveFile,     // a file cannot take another's place
    count_
};
// Make the nth call of that kind from now (1 = the next) fail.
void failCall(Fault kind, int nth, int errnoValue = 0);
// Make the nth call of any mutating kind (directory, open for writing, write,
// close of a written file, link save, key creation, value write, key
// deletion, file move) from now fail.
void failMutatingCall(int nth);
int callsMade(Fault kind);
int mutatingCallsMade();
void resetFaults();
// For the implementations: counts the call and tells whether it must fail,
// and with which errno (0 when the kind has no errno of its own).
bool injectFault(Fault kind, int* errnoValue = nullptr);

// What another process could do between two calls: action runs once, right
// after the next unlinkFile has done its work. resetFaults drops it.
void afterNextUnlink(std::function<void()> action);
void runAfterUnlink();  // for unlinkFile
// The same right after the next replaceFile has put a file in place.
void afterNextReplace(std::function<void()> action);
void runAfterReplace();  // for replaceFile

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
