// The boxes as the host records them for a script; the terminal dialogue is
// driven through the setup program itself (SetupProgramTest).
#include <gtest/gtest.h>

#include "foundation/ErrorReport.h"
#include "foundation/MessageBoxes.h"
#include "platform/Dialogs.h"
#include "tests/support/TempSandbox.h"

namespace {
const char* const caption = "Setup Vantorel v0.94a";
}  // namespace

TEST(MessageBoxes, ScriptedReportIconsAndQuestionFlags) {
    TempSandbox sandbox;  // starts with an empty script
    platform::host::scriptAnswers({platform::idYes, platform::idNo});
    EXPECT_TRUE(askYesNo(nullptr, caption, "First?", true));
    EXPECT_FALSE(askYesNo(nullptr, caption, "Second?", false));
    EXPECT_FALSE(askYesNo(nullptr, caption, "Unscripted?", true));  // an exhausted script says No
    showReport(nullptr, caption, makeReport(1, "Have a nice day.", 0));
    showReport(nullptr, caption, noError());  // severity zero shows nothing
    const auto& boxes = platform::host::shownBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].flags, 0x24u);  // No as the default button is UninstallerTest's
    EXPECT_EQ(boxes[3].caption, caption);
    EXPECT_EQ(boxes[3].text, "Info: Have a nice day.");
    EXPECT_EQ(boxes[3].flags, 0x40u);
}
