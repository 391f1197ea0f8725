// Message boxes: the programs' only windows besides the shell's folder browser
// (platform/Shell.h). Results follow platform/Status.h.
#pragma once

#include "platform/Status.h"

namespace platform {

// Flags and answers are those of MessageBoxA.
enum : unsigned {
    mbOk = 0x00,
    mbYesNo = 0x04,
    mbIconHand = 0x10,
    mbIconQuestion = 0x20,
    mbIconInformation = 0x40,
    mbDefButton2 = 0x100,
};
enum : int { idOk = 1, idYes = 6, idNo = 7 };
// *answer is the button pressed; 0 when the box could not be shown.
Status messageBox(const char* text, const char* caption, unsigned flags, int* answer);

}  // namespace platform
