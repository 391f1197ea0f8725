// How the Windows side turns what a call reports into the seam's Status.
#pragma once

#include <windows.h>

#include <errno.h>

#include "platform/Status.h"

namespace platform {

// A call that failed and left its reason as the last error. The runtime's
// calls leave the system's code there too; should one fail without a code
// (its own checks), its errno stands in.
inline Status lastFailure() {
    DWORD code = GetLastError();
    if (code == ERROR_SUCCESS) {
        switch (errno) {
            case ENOSPC: code = ERROR_DISK_FULL; break;
            case EACCES: code = ERROR_ACCESS_DENIED; break;
            case ENOENT: code = ERROR_FILE_NOT_FOUND; break;
            case EEXIST: code = ERROR_ALREADY_EXISTS; break;
            case EINVAL: code = ERROR_INVALID_PARAMETER; break;
            default: code = ERROR_GEN_FAILURE; break;
        }
        SetLastError(code);
    }
    return code;
}

// A code returned rather than left behind (the registry's), left behind too.
inline Status failed(DWORD code) {
    SetLastError(code);
    return code;
}

// A component-object result.
inline Status fromResult(HRESULT result) {
    return SUCCEEDED(result) ? statusOk : failed(static_cast<DWORD>(result));
}

}  // namespace platform
