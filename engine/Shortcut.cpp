#include "engine/Shortcut.h"

#include "engine/Directories.h"
#include "engine/PathNames.h"
#include "platform/Shell.h"
#include "platform/Text.h"

namespace {

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

    platform::ShellLink* link = nullptr;
    if (platform::ShellLink::create(&link) != platform::statusOk) return makeError("Could not create IShellLink object");
    using platform::statusOk;
    bool described = link->setPath(targetPath) == statusOk &&
                     (description == nullptr || link->setDescription(description) == statusOk) &&
                     (arguments == nullptr || link->setArguments(arguments) == statusOk) &&
                     link->setWorkingDirectory(workingDirectory != nullptr
                                                   ? workingDirectory
                                                   : targetDirectory.text()) == statusOk;

    // Without IPersistFile the link cannot be written at all; a link path
    // longer than MAX_PATH would be saved under a cut-off name, and a link
    // missing a property would lead nowhere. All are failures to save, found
    // before any folder is made for the link, so the caller never counts a
    // link that is not there as it should be.
    if (!described || link->queryPersistFile() != statusOk || platform::utf16Units(linkPath) >= 260) {
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
    if (link->save(linkPath) != statusOk) result = saveFailure(linkPath);
    link->release();
    return result;
}
