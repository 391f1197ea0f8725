#include "platform/Status.h"

#include "platform/Resources.h"

namespace platform {

bool isAlreadyThere(Status status) { return status == errFileExists || status == errAlreadyExists; }

bool isOutOfSpace(Status status) {
    return status == errDiskFull || status == 39;  // 39: the handle's disk is full
}

bool isAccessDenied(Status status) {
    switch (status) {
        case errAccessDenied:
        case 16:   // the current directory
        case 65:   // network access denied
        case 82:   // cannot make
        case 83:   // interrupt 24 failure
        case 108:  // drive locked
        case 132:  // seek on device
        case 158:  // not locked
        case 167:  // lock failed
            return true;
        default:
            return status >= 19 && status <= 36;  // write protect to sharing buffer exceeded
    }
}

bool isMissing(Status status) {
    switch (status) {
        case errFileNotFound:
        case errPathNotFound:
        case 15:   // invalid drive
        case 18:   // no more files
        case 53:   // bad network path
        case 67:   // bad network name
        case 161:  // bad path name
        case 206:  // name too long
            return true;
        default:
            return false;
    }
}

bool isResourceMissing(Status status) {
    return status == errResourceTypeNotFound || status == errResourceNameNotFound;
}

}  // namespace platform
