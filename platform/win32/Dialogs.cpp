// Message boxes.
#include <windows.h>

#include "platform/Dialogs.h"
#include "platform/win32/Failure.h"

namespace platform {

Status messageBox(const char* text, const char* caption, unsigned flags, int* answer) {
    *answer = MessageBoxA(nullptr, text, caption, flags);
    return *answer != 0 ? statusOk : lastFailure();
}

}  // namespace platform
