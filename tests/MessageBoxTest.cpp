#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "foundation/ErrorReport.h"
#include "platform/host/HostControl.h"
#include "platform/platform.h"

using platform::host::shownBoxes;

namespace {
const char* const caption = "Setup Vantorel v0.94a";

class ScriptedBoxes : public ::testing::Test {
protected:
    void SetUp() override { platform::host::scriptAnswers({}); }
    void TearDown() override { platform::host::stopScript(); }
};

// Runs askYesNo in a child whose stdin is `input` and tells the answer and
// what the terminal showed.
bool askInTerminal(const std::string& input, bool defaultYes, std::string& shown) {
    int in[2], out[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0) ADD_FAILURE() << "pipe";
    std::fflush(nullptr);
    pid_t child = ::fork();
    if (child == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::close(in[1]);
        ::close(out[0]);
        platform::host::stopScript();
        bool yes = askYesNo(nullptr, caption, "Proceed?", defaultYes);
        std::fflush(stdout);
        ::_exit(yes ? 10 : 11);
    }
    ::close(in[0]);
    ::close(out[1]);
    if (!input.empty() && ::write(in[1], input.data(), input.size()) < 0) ADD_FAILURE() << "write";
    ::close(in[1]);
    char buf[512];
    ssize_t n;
    shown.clear();
    while ((n = ::read(out[0], buf, sizeof buf)) > 0) shown.append(buf, static_cast<size_t>(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    return WEXITSTATUS(status) == 10;
}
}  // namespace

TEST_F(ScriptedBoxes, ShowReportIconBySeverity) {
    showReport(nullptr, caption, makeReport(1, "Have a nice day.", 0));
    showReport(nullptr, caption, makeReport(2, "careful", 0));
    showReport(nullptr, caption, makeError("broken"));
    showReport(nullptr, caption, makeReport(7, "beyond", 0));
    ASSERT_EQ(shownBoxes().size(), 4u);
    EXPECT_EQ(shownBoxes()[0].caption, caption);
    EXPECT_EQ(shownBoxes()[0].text, "Info: Have a nice day.");
    EXPECT_EQ(shownBoxes()[0].flags, 0x40u);
    EXPECT_EQ(shownBoxes()[1].text, "Warning: careful");
    EXPECT_EQ(shownBoxes()[1].flags, 0x10u);
    EXPECT_EQ(shownBoxes()[2].text, "Error: broken");
    EXPECT_EQ(shownBoxes()[2].flags, 0x10u);
    EXPECT_EQ(shownBoxes()[3].text, ": beyond");
    EXPECT_EQ(shownBoxes()[3].flags, 0x10u);
}

TEST_F(ScriptedBoxes, SeverityZeroShowsNothing) {
    showReport(nullptr, caption, noError());
    showReport(nullptr, caption, makeReport(0, "silent", 0));
    EXPECT_TRUE(shownBoxes().empty());
}

TEST_F(ScriptedBoxes, AskYesNoFlagsAndAnswers) {
    platform::host::scriptAnswers({platform::idYes, platform::idNo});
    EXPECT_TRUE(askYesNo(nullptr, caption, "First?", true));
    EXPECT_FALSE(askYesNo(nullptr, caption, "Second?", false));
    EXPECT_FALSE(askYesNo(nullptr, caption, "Unscripted?", true));  // an exhausted script says No
    EXPECT_TRUE(platform::host::scriptExhausted());
    ASSERT_EQ(shownBoxes().size(), 3u);
    EXPECT_EQ(shownBoxes()[0].flags, 0x24u);
    EXPECT_EQ(shownBoxes()[0].text, "First?");
    EXPECT_EQ(shownBoxes()[1].flags, 0x124u);
    EXPECT_EQ(shownBoxes()[1].caption, caption);
}

TEST(TerminalBoxes, EnterTakesTheDefaultButton) {
    std::string shown;
    EXPECT_FALSE(askInTerminal("\n", false, shown));
    EXPECT_NE(shown.find("[Setup Vantorel v0.94a] (question)\nProceed?"), std::string::npos);
    EXPECT_NE(shown.find("[y/N]"), std::string::npos);
    EXPECT_TRUE(askInTerminal("\n", true, shown));
    EXPECT_NE(shown.find("[Y/n]"), std::string::npos);
}

TEST(TerminalBoxes, AnswersAndEndOfInput) {
    std::string shown;
    EXPECT_TRUE(askInTerminal("maybe\nyes\n", false, shown));
    EXPECT_FALSE(askInTerminal("N\r\n", true, shown));
    EXPECT_FALSE(askInTerminal("", true, shown));
}
