// Message boxes.
#include <windows.h>

#include "platform/Dialogs.h"
#include "platform/win32/Failure.h"
#include "platform/win32/Text.h"

namespace platform {

Status messageBox(const char* text, const char* caption, unsigned flags, int* answer) {
    *answer = 0;
    WideText wideText(text), wideCaption(caption);
    if (wideText.status() != statusOk) return wideText.status();
    if (wideCaption.status() != statusOk) return wideCaption.status();
    *answer = MessageBoxW(nullptr, wideText.get(), wideCaption.get(), flags);
    return *answer != 0 ? statusOk : lastFailure();
}

}  // namespace platform
