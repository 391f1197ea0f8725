// How every call of the platform seam says whether it worked, on Windows and
// in the host model alike: the one convention of the seam.
//
// A call that can fail returns a Status. 0 (statusOk) means it did its work;
// anything else means it did not, and is the system's own code for why: a
// Windows error code (ERROR_ACCESS_DENIED, ERROR_DISK_FULL, ...), or for the
// component-object calls the HRESULT they failed with. The code is also left
// as the last system error, so the system's text for it can be shown. What a
// call hands back comes through its out parameters, which are valid only on
// success unless the call says otherwise. Calls that only let go of what an
// earlier call gave (closing a key, releasing an object) and the accessors of
// the last system error cannot fail and return nothing.
#pragma once

#include <cstdint>

namespace platform {

typedef uint32_t Status;

enum : Status {
    statusOk = 0,
    errFileNotFound = 2,
    errPathNotFound = 3,
    errAccessDenied = 5,
    errNotEnoughMemory = 8,
    errWriteFault = 29,
    errReadFault = 30,
    errSharingViolation = 32,
    errFileExists = 80,
    errInvalidParameter = 87,
    errDiskFull = 112,
    errInsufficientBuffer = 122,
    errAlreadyExists = 183,
    errDirectoryName = 267,
    errNoUnicodeTranslation = 1113,
    errNoAssociation = 1155,
    errCancelled = 1223,
    errResourceDataNotFound = 1812,
    errResourceTypeNotFound = 1813,
    errResourceNameNotFound = 1814,
    // A junction or symbolic link on the way to a path the programs write or
    // delete: they act only where no standard user can redirect them.
    errLinkOnTheWay = 4395,
};

// The families of codes that callers tell apart, grouped as the C runtime
// groups them into EEXIST, ENOSPC, EACCES and ENOENT.
bool isAlreadyThere(Status status);
bool isOutOfSpace(Status status);
bool isAccessDenied(Status status);
bool isMissing(Status status);

}  // namespace platform
