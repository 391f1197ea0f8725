#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "foundation/ErrorReport.h"
#include "platform/platform.h"
#include "tests/support/TempSandbox.h"

namespace {
const char* const caption = "Setup Vantorel v0.94a";

class MessageBoxes : public SandboxTest {  // each starts with an empty script
protected:
    // askYesNo at a terminal, in a child whose stdin holds `input`; `shown` gets what it printed.
    bool askInTerminal(const std::string& input, bool defaultYes, std::string& shown) {
        std::string in = sandbox.root() + "/in", out = sandbox.root() + "/out";
        sandbox.writeHostFile(in, input);
        std::fflush(nullptr);
        pid_t child = ::fork();
        if (child == 0) {
            if (!std::freopen(in.c_str(), "r", stdin) || !std::freopen(out.c_str(), "w", stdout))
                ::_exit(2);
            platform::host::stopScript();
            bool yes = askYesNo(nullptr, caption, "Proceed?", defaultYes);
            std::fflush(stdout);
            ::_exit(yes ? 10 : 11);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) >= 10);
        shown = sandbox.readHostFile(out);
        return WEXITSTATUS(status) == 10;
    }
};
}  // namespace

TEST_F(MessageBoxes, ScriptedReportIconsAndQuestionFlags) {
    platform::host::scriptAnswers({platform::idYes, platform::idNo});
    EXPECT_TRUE(askYesNo(nullptr, caption, "First?", true));
    EXPECT_FALSE(askYesNo(nullptr, caption, "Second?", false));
    EXPECT_FALSE(askYesNo(nullptr, caption, "Unscripted?", true));  // an exhausted script says No
    showReport(nullptr, caption, makeReport(1, "Have a nice day.", 0));
    showReport(nullptr, caption, noError());  // severity zero shows nothing
    const auto& boxes = platform::host::shownBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].flags, 0x24u);
    EXPECT_EQ(boxes[1].flags, 0x124u);
    EXPECT_EQ(boxes[3].caption, caption);
    EXPECT_EQ(boxes[3].text, "Info: Have a nice day.");
    EXPECT_EQ(boxes[3].flags, 0x40u);
}

TEST_F(MessageBoxes, TerminalTakesTheDefaultButtonAndEndOfInputSaysNo) {
    std::string shown;
    EXPECT_TRUE(askInTerminal("maybe\n\n", true, shown));  // asks again, then Enter takes Yes
    EXPECT_NE(shown.find("[Setup Vantorel v0.94a] (question)\nProceed?\nYes or No? [Y/n]"),
              std::string::npos) << shown;
    EXPECT_FALSE(askInTerminal("\n", false, shown));
    EXPECT_FALSE(askInTerminal("", true, shown));
    EXPECT_FALSE(askInTerminal("N\r\n", true, shown));
}
