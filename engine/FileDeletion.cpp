#include "engine/FileDeletion.h"

#include <cerrno>

#include "engine/Directories.h"
#include "engine/PathNames.h"
#include "platform/platform.h"

ErrorHandle deleteFile(const String& path) {
    if (platform::unlinkFile(path.text()) == 0) return noError();
    String message;
    switch (errno) {
        case EACCES:
            message.format("Cannot delete file \"%s\" because it is read-only", path.text());
            return makeError(message);
        case ENOENT:
            return noError();
        default:
            return lastSystemError();
    }
}

ErrorHandle deleteFileAndDirectories(const String& filePath, const String& base, bool removeBase) {
    ErrorHandle result = deleteFile(filePath);
    if (isFailure(result)) return result;
    return removeEmptyDirectories(directoryOf(filePath), base, removeBase);
}
