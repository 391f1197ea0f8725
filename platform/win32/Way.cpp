#include "platform/win32/Way.h"

#include "platform/win32/Failure.h"

namespace platform {

HeldWay::~HeldWay() {
    while (count_ > 0) CloseHandle(handles_[--count_]);
}

Status HeldWay::hold(const wchar_t* path) {
    wchar_t full[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(path, MAX_PATH * 2, full, nullptr);
    if (n == 0) return lastFailure();
    if (n >= MAX_PATH * 2) return failed(ERROR_FILENAME_EXCED_RANGE);
    // Past the root: "C:\", or "\\server\share\" of a network path.
    DWORD at = 3;
    if (full[0] == L'\\' && full[1] == L'\\') {
        int separators = 0;
        for (at = 2; at < n && separators < 2; ++at)
            if (full[at] == L'\\') ++separators;
    }
    for (; at < n; ++at) {
        if (full[at] != L'\\') continue;
        full[at] = 0;
        HANDLE folder = CreateFileW(full, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        full[at] = L'\\';
        if (folder == INVALID_HANDLE_VALUE) {
            Status status = lastFailure();
            return isMissing(status) ? statusOk : status;
        }
        BY_HANDLE_FILE_INFORMATION info;
        bool known = GetFileInformationByHandle(folder, &info) != 0;
        if (count_ < most) {
            handles_[count_++] = folder;
        } else {
            CloseHandle(folder);
            return failed(ERROR_FILENAME_EXCED_RANGE);
        }
        if (!known) return lastFailure();
        if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return failed(errLinkOnTheWay);
        if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return statusOk;  // the act will fail
    }
    return statusOk;
}

}  // namespace platform
