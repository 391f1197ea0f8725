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
