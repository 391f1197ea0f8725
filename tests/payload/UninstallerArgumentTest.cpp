// The uninstaller is started by the Uninstall entry and the uninstall
// shortcut with the install log as its one argument, quoted.
#include <gtest/gtest.h>

#include <string>

#include "uninstaller/LogArgument.h"

namespace {

std::string argument(const char* commandLine, size_t room = 260) {
    char out[260];
    return logArgument(commandLine, out, room) ? std::string(out) : std::string("<none>");
}

}  // namespace

TEST(UninstallerArgument, QuotedPathKeepsItsBlanks) {
    EXPECT_EQ(argument("\"C:\\Program Files\\Vantorel\\Vantorel.gus\""),
              "C:\\Program Files\\Vantorel\\Vantorel.gus");
    EXPECT_EQ(argument("  \"C:\\Games\\Vantorel\\Vantorel.gus\" extra"),
              "C:\\Games\\Vantorel\\Vantorel.gus");
}

TEST(UninstallerArgument, UnquotedPathEndsAtTheFirstBlank) {
    EXPECT_EQ(argument("C:\\Games\\Vantorel.gus more"), "C:\\Games\\Vantorel.gus");
}

TEST(UninstallerArgument, NoArgumentOrNoRoomIsRefused) {
    EXPECT_EQ(argument(""), "<none>");
    EXPECT_EQ(argument("   "), "<none>");
    EXPECT_EQ(argument("\"\""), "<none>");
    EXPECT_EQ(argument("C:\\Games\\Vantorel.gus", 8), "<none>");
    EXPECT_EQ(argument("C:\\a.gus", 9), "C:\\a.gus");
}
