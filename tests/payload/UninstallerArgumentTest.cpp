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

TEST(UninstallerArgument, SilentSwitchComesFirstAndIsNeverTakenForTheLog) {
    char out[260];
    bool silent = false;
    ASSERT_TRUE(uninstallArguments("/S \"C:\\Program Files\\Vantorel.gus\"", &silent, out, sizeof out));
    EXPECT_TRUE(silent);
    EXPECT_STREQ(out, "C:\\Program Files\\Vantorel.gus");
    ASSERT_TRUE(uninstallArguments(" \"C:\\V.gus\"", &silent, out, sizeof out));
    EXPECT_FALSE(silent);
    EXPECT_STREQ(out, "C:\\V.gus");
    EXPECT_FALSE(uninstallArguments("/s", &silent, out, sizeof out));
    EXPECT_TRUE(silent);
    // Only the switch itself: /Sx is an (unusable) log path, not the switch.
    ASSERT_TRUE(uninstallArguments("/Sx", &silent, out, sizeof out));
    EXPECT_FALSE(silent);
}
