#include "engine/FileWriting.h"

#include "engine/Directories.h"
#include "engine/PathNames.h"
#include "platform/Files.h"

ErrorHandle writeFile(const String& path, const void* data, uint32_t length) {
    ErrorHandle result;
    // A bare name goes into the current directory: there is no directory to
    // make, and making one of the file's own name would block the file.
    String folder = directoryOf(path);
    bool hasFolder = path.findChar(0, '\\', true) != String::notFound;
    GrowableArray<String> made(8, false);
    if (hasFolder && !directoryExists(folder)) {
        made = missingDirectories(folder);
        result = createDirectoryChain(folder);
    }

    String message;
    if (!isFailure(result)) {
        // Made new, never opened: the folder may be a standard user's, who
        // can leave a hard link or a link at the name to a file of the
        // system's, which opening would overwrite with our rights. Removing
        // the name first removes only the name; whatever is put there again
        // in the meantime makes the creation fail.
        platform::Stream* file = nullptr;
        platform::Status removed = platform::unlinkFile(path.text());
        if ((removed != platform::statusOk && !platform::isMissing(removed)) ||
            platform::createNewStream(path.text(), "wb", &file) != platform::statusOk) {
            message.format("Could not create file \"%s\", %s", path.text(),
                           reportText(lastSystemError()).text());
        } else {
            bool written = platform::writeStream(file, data, length) == platform::statusOk;
            // Data still buffered can fail at close on a full disk.
            bool closed = platform::closeStream(file) == platform::statusOk;
            if (written && closed) return result;
            // Never leave a cut file behind: the install log does not list it.
            platform::unlinkFile(path.text());
            message.format("Error writing to file \"%s\"", path.text());
        }
        result = makeError(message);
    }
    // Nor the directories made for it, which nothing recorded would remove:
    // every one this call made, also those made before the chain itself
    // failed at a deeper level.
    removeDirectories(made);
    return result;
}
