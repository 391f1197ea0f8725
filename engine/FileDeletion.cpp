#include "engine/FileDeletion.h"

#include "engine/Directories.h"
#include "engine/PathNames.h"
#include "foundation/RunLog.h"
#include "platform/Files.h"

ErrorHandle deleteFile(const String& path) {
    platform::Status status = platform::unlinkFile(path.text());
    if (status == platform::statusOk) runlog::note("File removed: %s", path.text());
    if (status == platform::statusOk || platform::isMissing(status)) return noError();
    if (platform::isAccessDenied(status)) {
        String message;
        message.format("Cannot delete file \"%s\" because it is read-only", path.text());
        return makeError(message);
    }
    return lastSystemError();
}

ErrorHandle deleteFileAndDirectories(const String& filePath, const String& base, bool removeBase) {
    ErrorHandle result = deleteFile(filePath);
    if (isFailure(result)) return result;
    return removeEmptyDirectories(directoryOf(filePath), base, removeBase);
}
