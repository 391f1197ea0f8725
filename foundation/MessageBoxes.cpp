#include "foundation/MessageBoxes.h"

#include "foundation/RunLog.h"
#include "platform/Dialogs.h"

void showReport(void*, const char* title, const ErrorHandle& handle) {
    if (handle.severity() == SeverityNone) return;
    unsigned icon = handle.severity() == SeverityInfo ? platform::mbIconInformation
                                                      : platform::mbIconHand;
    int answer = 0;
    String text = reportText(handle);
    runlog::note("Box shown: %s", text.text());
    platform::messageBox(text.text(), title, platform::mbOk | icon, &answer);
}

bool askYesNo(void*, const char* title, const char* question, bool defaultYes) {
    unsigned flags = platform::mbYesNo | platform::mbIconQuestion;
    if (!defaultYes) flags |= platform::mbDefButton2;
    // A box that cannot be shown answers nothing, which is not a yes.
    int answer = 0;
    platform::messageBox(question, title, flags, &answer);
    runlog::note("Question: %s\nAnswer: %s", question, answer == platform::idYes ? "Yes" : "No");
    return answer == platform::idYes;
}
