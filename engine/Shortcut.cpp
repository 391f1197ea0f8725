#include "engine/Shortcut.h"

#include "engine/Directories.h"
#include "engine/PathNames.h"
#include "platform/platform.h"

namespace {

const int linkPathChars = 260;  // MAX_PATH, terminator included

ErrorHandle saveFailure(const char* linkPath) {
    String message;
    message.format("Could not save shortcut file \"%s\"", linkPath);
    return makeError(message);
}

}  // namespace

ErrorHandle createShortcut(const char* linkPath, const char* targetPath, const char* description,
                           const char* arguments, const char* workingDirectory) {
    if (linkPath == nullptr || targetPath == nullptr) return invalidParameters();
    String linkDirectory = directoryOf(linkPath);
    String targetDirectory = directoryOf(targetPath);

    platform::ShellLink* link = platform::ShellLink::create();
    if (link == nullptr) return makeError("Could not create IShellLink object");
    link->setPath(targetPath);
    if (description != nullptr) link->setDescription(description);
    if (arguments != nullptr) link->setArguments(arguments);
    link->setWorkingDirectory(workingDirectory != nullptr ? workingDirectory
                                                          : targetDirectory.text());

    // Without IPersistFile the link cannot be written at all; a path that does
    // not fit the conversion would be saved under a cut-off name. Both are
    // failures to save, so the caller never counts a link that is not there.
    wchar_t widePath[linkPathChars];
    if (!link->queryPersistFile() || !platform::ansiToWide(linkPath, widePath, linkPathChars)) {
        link->release();
        return saveFailure(linkPath);
    }

    ErrorHandle result;
    if (!directoryExists(linkDirectory)) {
        // The undo starts from the link's own folder; levels above it that a
        // chain failing part-way made would be left for good.
        GrowableArray<String> made = missingDirectories(linkDirectory);
        result = createDirectoryChain(linkDirectory);
        if (isFailure(result)) {
            removeDirectories(made);
            link->release();
            return result;
        }
    }
    if (!link->save(widePath)) result = saveFailure(linkPath);
    link->release();
    return result;
}
