#include "foundation/MessageBoxes.h"

#include "platform/platform.h"

void showReport(void*, const char* title, const ErrorHandle& handle) {
    if (handle.severity() == SeverityNone) return;
    unsigned icon = handle.severity() == SeverityInfo ? platform::mbIconInformation
                                                      : platform::mbIconHand;
    platform::messageBox(reportText(handle).text(), title, platform::mbOk | icon);
}

bool askYesNo(void*, const char* title, const char* question, bool defaultYes) {
    unsigned flags = platform::mbYesNo | platform::mbIconQuestion;
    if (!defaultYes) flags |= platform::mbDefButton2;
    return platform::messageBox(question, title, flags) == platform::idYes;
}
