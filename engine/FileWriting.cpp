#include "engine/FileWriting.h"

#include "engine/Directories.h"
#include "engine/PathNames.h"
#include "platform/platform.h"

ErrorHandle writeFile(const String& path, const void* data, uint32_t length) {
    ErrorHandle result;
    // A bare name goes into the current directory: there is no directory to
    // make, and making one of the file's own name would block the file.
    String folder = directoryOf(path);
    bool hasFolder = path.findChar(0, '\\', true) != String::notFound;
    if (hasFolder && !directoryExists(folder)) {
        result = createDirectoryChain(folder);
        if (isFailure(result)) return result;
    }

    platform::File* file = platform::openFile(path.text(), "wb");
    if (file == nullptr) {
        String message;
        message.format("Could not create file \"%s\", %s", path.text(),
                       reportText(lastSystemError()).text());
        return makeError(message);
    }
    bool written = platform::writeFile(file, data, length) == length;
    // Data still buffered can fail at close on a full disk.
    bool closed = platform::closeFile(file) == 0;
    if (written && closed) return result;

    platform::unlinkFile(path.text());
    String message;
    message.format("Error writing to file \"%s\"", path.text());
    return makeError(message);
}
