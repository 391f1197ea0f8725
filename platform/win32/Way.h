// The folders on the way to a path, held while the programs act there.
//
// The setup and the uninstaller run as administrator in folders a standard
// user may have made, and such a user can rename a folder they made and put
// a junction of that name in its place, at any moment. So before a file or
// folder is written or deleted, every folder from the drive root down to its
// parent is opened, in order, without sharing the right to delete or rename
// it, and checked to be a folder and no reparse point; they stay open until
// the act is done. While they are held nobody can swap any of them, so the
// act by name goes exactly where the check looked. The last name itself is
// never followed: files are made with CREATE_NEW and FILE_FLAG_OPEN_REPARSE_POINT,
// and deleting or removing a link removes the link.
#pragma once

#include <windows.h>

#include "platform/Status.h"

namespace platform {

class HeldWay {
public:
    HeldWay() : count_(0) {}
    ~HeldWay();
    HeldWay(const HeldWay&) = delete;
    HeldWay& operator=(const HeldWay&) = delete;

    // Holds the folders above path (UTF-16, relative or full). Folders that do
    // not exist yet end the walk: there is nothing there to redirect, and the
    // act itself then fails or makes them. errLinkOnTheWay when one is a
    // junction or link.
    Status hold(const wchar_t* path);

private:
    static const int most = 64;
    HANDLE handles_[most];
    int count_;
};

}  // namespace platform
