#include "engine/Directories.h"

#include <cctype>

#include "engine/PathNames.h"
#include "platform/Files.h"

namespace {

// Held for the length of an operation that walks directories: the current
// drive and directory it found are current again when it returns.
class CurrentDirectoryKept {
public:
    CurrentDirectoryKept()
        : kept_(platform::currentDirectory(path_, sizeof path_) == platform::statusOk) {}
    ~CurrentDirectoryKept() {
        if (kept_) platform::changeDirectory(path_);
    }
    CurrentDirectoryKept(const CurrentDirectoryKept&) = delete;
    CurrentDirectoryKept& operator=(const CurrentDirectoryKept&) = delete;

private:
    char path_[3 * 260 + 1];  // MAX_PATH UTF-16 units as UTF-8
    bool kept_;
};

// A path that starts with a drive letter makes that drive current first, so
// that the walk and the removal happen on the right drive.
ErrorHandle enterDrive(const String& path) {
    const char* p = path.text();
    if (path.length() < 2 || p[0] == '\\' || !std::isalpha(static_cast<unsigned char>(p[0])) ||
        p[1] != ':')
        return noError();
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(p[0])));
    if (platform::changeDrive(letter - 'A' + 1) == platform::statusOk) return noError();
    String message;
    message.format("Invalid drive \"%c:\"", letter);
    return makeError(message);
}

ErrorHandle cannotCreate(const String& built, platform::Status status) {
    String message;
    if (platform::isAlreadyThere(status)) {
        message.format("Cannot create directory \"%s\" because a file of that name exists in "
                       "the parent directory",
                       built.text());
        return makeError(message);
    }
    if (platform::isOutOfSpace(status)) {
        message.format("Cannot create directory \"%s\" because of no space (read-only drive?)",
                       built.text());
        return makeError(message);
    }
    return lastSystemError();
}

String withBackslash(const String& path) {
    uint32_t n = path.length();
    if (n > 0 && path.text()[n - 1] == '\\') return path;
    return path + "\\";
}

}  // namespace

bool directoryExists(const String& path) {
    CurrentDirectoryKept kept;
    return platform::changeDirectory(path.text()) == platform::statusOk;
}

GrowableArray<String> missingDirectories(const String& path) {
    GrowableArray<String> missing(8, false);
    String probe(path);
    while (!directoryExists(probe)) {
        missing.append(probe);
        String parent = directoryOf(probe);
        if (parent.length() == probe.length()) break;  // no folder part left
        probe = parent;
    }
    return missing;
}

void removeDirectories(const GrowableArray<String>& made) {
    for (int32_t i = 0; i < made.size(); ++i) {
        if (!directoryExists(made[i])) continue;  // the chain stopped above it
        if (platform::removeDirectory(made[i].text()) != platform::statusOk) return;
    }
}

ErrorHandle createDirectoryChain(const String& path) {
    CurrentDirectoryKept kept;
    String target(path);
    target.trimLeft();
    target.trimRight();
    uint32_t n = target.length();
    if (n > 0 && target.text()[n - 1] == '\\') target = target.left(n - 1);
    if (directoryExists(target)) return noError();

    ErrorHandle result = enterDrive(target);
    if (isFailure(result)) return result;
    String built;
    String component;
    while (!isFailure(result)) {
        result = nextPathComponent(target, built, component);
        if (isFailure(result)) break;
        built += component.text();
        if (!directoryExists(built)) {
            platform::Status status = platform::makeDirectory(built.text());
            if (status != platform::statusOk) result = cannotCreate(built, status);
        }
        if (component.isEmpty()) break;
    }
    if (!isFailure(result) && platform::changeDirectory(target.text()) != platform::statusOk)
        result = lastSystemError();
    return result;
}

ErrorHandle removeEmptyDirectories(const String& directory, const String& base, bool removeBase) {
    CurrentDirectoryKept kept;
    String current = withBackslash(directory);
    String stop = withBackslash(base);
    if (compareNoCase(current.text(), stop.text(), stop.length()) != 0) {
        String message;
        message.format("The directory \"%s\" is not the base of \"%s\"", stop.text(), current.text());
        return makeError(message);
    }
    if (removeBase) {
        String parent, name;
        splitPath(stop, parent, name);
        if (!name.isEmpty()) stop = parent;
    }
    ErrorHandle drive = enterDrive(current);
    if (isFailure(drive)) return drive;
    if (!directoryExists(current)) return noError();

    // The stop ignores case as the base test does: a base spelled in another
    // case must still stop the climb rather than let it remove its parents.
    while (compareNoCase(current.text(), stop.text()) != 0) {
        String parent, name;
        splitPath(current, parent, name);
        if (name.isEmpty()) return noError();
        if (platform::changeDirectory(parent.text()) != platform::statusOk) {
            String message;
            message.format("Could not change to directory \"%s\"", parent.text());
            return makeError(message);
        }
        if (platform::removeDirectory(name.text()) != platform::statusOk) return noError();
        current = parent;
    }
    return noError();
}
