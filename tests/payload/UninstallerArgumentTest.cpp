// The uninstaller is started by the Uninstall entry and the uninstall
// shortcut with the install log as its one argument, quoted.
#include <gtest/gtest.h>

#include <string>

#include "uninstaller/LogArgument.h"

static std::string argument(const char* commandLine, size_t room = 260) {
    char out[260];
    return logArgument(commandLine, out, room) ? std::string(out) : std::string("<none>");
}

TEST(UninstallerArgument, QuotedKeepsItsBlanksUnquotedEndsAtOneAndNoneOrNoRoomIsRefused) {
    EXPECT_EQ(argument("  \"C:\\Program Files\\Vantorel.gus\" extra"), "C:\\Program Files\\Vantorel.gus");
    EXPECT_EQ(argument("C:\\Games\\Vantorel.gus more"), "C:\\Games\\Vantorel.gus");
    EXPECT_EQ(argument("   "), "<none>");
    EXPECT_EQ(argument("\"\""), "<none>");
    EXPECT_EQ(argument("C:\\Games\\Vantorel.gus", 8), "<none>");
    EXPECT_EQ(argument("C:\\a.gus", 9), "C:\\a.gus");
}

// Only the switch itself: /Sx is an (unusable) log path, not the switch.
TEST(UninstallerArgument, SilentSwitchComesFirstAndIsNeverTakenForTheLog) {
    const struct { const char* line; bool silent; const char* log; } cases[] = {
        {"/S \"C:\\Program Files\\Vantorel.gus\"", true, "C:\\Program Files\\Vantorel.gus"},
        {" \"C:\\V.gus\"", false, "C:\\V.gus"}, {"/s", true, nullptr}, {"/Sx", false, "/Sx"},
    };
    for (const auto& c : cases) {
        char out[260];
        bool silent = !c.silent;
        ASSERT_EQ(uninstallArguments(c.line, &silent, out, sizeof out), c.log != nullptr) << c.line;
        EXPECT_EQ(silent, c.silent) << c.line;
        if (c.log != nullptr) { EXPECT_STREQ(out, c.log); }
    }
}
