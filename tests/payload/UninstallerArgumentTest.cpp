// The uninstaller is started by the Uninstall entry and the uninstall
// shortcut with the install log as its one argument, quoted; administrators
// add /S and /LOG.
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

// "refused", or what the line asks for: "silent", "help", "log <file>", "gus <path>".
static std::string read(const char* line) {
    UninstallArguments a = parseUninstallArguments(line);
    if (!a.valid) return "refused";
    std::string what;
    if (a.silent) what += "silent ";
    if (a.help) what += "help ";
    if (a.log) what += std::string("log ") + (a.logFile.isEmpty() ? "<temp>" : a.logFile.text()) + " ";
    if (!a.installLog.isEmpty()) what += std::string("gus ") + a.installLog.text();
    return what;
}

// Switches in any order beside the one log; /Sx is no switch and no log path.
TEST(UninstallerArgument, SwitchesBesideTheInstallLogAndWhatIsRefused) {
    const struct { const char* line; const char* read; } cases[] = {
        {"/S \"C:\\Program Files\\Vantorel.gus\"", "silent gus C:\\Program Files\\Vantorel.gus"},
        {" \"C:\\V.gus\"", "gus C:\\V.gus"},
        {"/s", "silent "},
        {"", ""},
        {"/S /LOG=C:\\my logs\\u.log \"C:\\a b\\V.gus\"", "silent log C:\\my logs\\u.log gus C:\\a b\\V.gus"},
        {"\"C:\\a b\\V.gus\" /LOG", "log <temp> gus C:\\a b\\V.gus"},
        {"\"/LOG=C:\\my logs\\u.log\" C:\\V.gus /S", "silent log C:\\my logs\\u.log gus C:\\V.gus"},
        {"/?", "help "},
        {"/Sx", "refused"},
        {"\"C:\\V.gus\" \"C:\\W.gus\"", "refused"},
        {"/? C:\\V.gus", "refused"},
        {"/LOG= C:\\V.gus", "refused"},
        {"\"C:\\V.gus", "refused"},
    };
    for (const auto& c : cases) EXPECT_EQ(read(c.line), c.read) << c.line;
}
