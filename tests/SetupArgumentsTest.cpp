// The setup's command line: what a script or a deployment tool may ask for,
// in the forms their launchers write, and what it is refused.
#include <gtest/gtest.h>

#include <string>

#include "foundation/CommandLine.h"
#include "setup/SetupArguments.h"

namespace {

// "dialogue", "silent" or "refused", then " into <dir>", " log <file>" as given.
std::string read(const char* commandLine) {
    SetupArguments a = parseSetupArguments(commandLine);
    if (!a.valid) return "refused";
    std::string what = a.help ? "help" : a.silent ? "silent" : "dialogue";
    if (!a.installationDirectory.isEmpty()) what += std::string(" into ") + a.installationDirectory.text();
    if (a.log) what += std::string(" log ") + (a.logFile.isEmpty() ? "<temp>" : a.logFile.text());
    return what;
}

}  // namespace

TEST(SetupArguments, SwitchesAndTheDirectoryAsAScriptWritesThem) {
    EXPECT_EQ(read(""), "dialogue");
    EXPECT_EQ(read("  \t "), "dialogue");
    EXPECT_EQ(read("/S"), "silent");
    EXPECT_EQ(read(" /s  "), "silent");
    // The rest of the line, inner blanks kept, trailing ones and one final backslash dropped.
    EXPECT_EQ(read("/S /d=D:\\A  B\\Vantorel\\  "), "silent into D:\\A  B\\Vantorel");
    EXPECT_EQ(read("/S /D=C:\\Игры\\Vantorel"), "silent into C:\\Игры\\Vantorel");
    EXPECT_EQ(read("/S /D=C:\\表示\\Vantorel"), "silent into C:\\表示\\Vantorel");
    // MAX_PATH counts UTF-16 units: 250 Cyrillic letters are 500 bytes but fit.
    std::string cyrillic;
    for (int i = 0; i < 250; ++i) cyrillic += "Ж";
    EXPECT_EQ(read(("/S /D=C:\\" + cyrillic).c_str()), "silent into C:\\" + cyrillic);
}

// One directory with blanks, as each kind of launcher writes it.
TEST(SetupArguments, TheDirectoryInEveryFormALauncherWrites) {
    const char* forms[] = {
        "/S /D=C:\\Silent Place\\Vantorel",          // as it is, last on the line
        "/S \"/D=C:\\Silent Place\\Vantorel\"",      // quoted as a whole (PowerShell, Wine from a shell)
        "/S /D=\"C:\\Silent Place\\Vantorel\"",      // its value quoted
        "\"/D=C:\\Silent Place\\Vantorel\" /S",      // quoted, and first
        "/D=C:\\Silent Place\\Vantorel /S",          // as it is, and a switch after it
    };
    for (const char* line : forms) EXPECT_EQ(read(line), "silent into C:\\Silent Place\\Vantorel") << line;
}

// winget fills <LOGPATH> and <INSTALLPATH> unquoted, blanks and all, and may
// put the directory after the log.
TEST(SetupArguments, TheLogInEveryFormAndBesideTheDirectory) {
    EXPECT_EQ(read("/S /LOG=C:\\Users\\a b\\AppData\\Local\\Temp\\WinGet\\x 1.log /D=C:\\Program Files\\V"),
              "silent into C:\\Program Files\\V log C:\\Users\\a b\\AppData\\Local\\Temp\\WinGet\\x 1.log");
    EXPECT_EQ(read("/S /D=C:\\c d\\V /LOG=C:\\a b\\x.log"), "silent into C:\\c d\\V log C:\\a b\\x.log");
    EXPECT_EQ(read("\"/LOG=C:\\a b\\x.log\" /S"), "silent log C:\\a b\\x.log");
    EXPECT_EQ(read("/log=\"C:\\a b\\x.log\""), "dialogue log C:\\a b\\x.log");
    EXPECT_EQ(read("/LOG=run.log"), "dialogue log run.log");
    EXPECT_EQ(read("/S /LOG"), "silent log <temp>");
    EXPECT_EQ(read("/?"), "help");
    EXPECT_EQ(read(" /help "), "help");
}

TEST(SetupArguments, RefusesWhatItDoesNotKnowAndPathsThatAreNotPlain) {
    const char* refused[] = {
        "/X",      "/S /quiet", "/Silent", "S",          "/S extra", "/D=C:\\Vantorel",  // no /S
        "/S /D=",  "/S /D= C:\\V", "/S /D=C:\\", "/S /D=C:", "/S /D=Vantorel", "/S /D=\\\\server\\share\\V",
        "/S /D=C:/Games/Vantorel", "/S=1", "/S /D=C:\\a /D=C:\\b",
        "/S /D=C:\\Games\\..\\Windows", "/S /D=C:\\Games\\.\\V", "/S /D=C:\\Games\\V.",
        "/S /D=C:\\Games \\V", "/S /D=C:\\Games\\\\V", "/S /D=C:\\Games\\V:x", "/S /D=C:\\a|b",
        "/S /D=C:\\Games\\CON", "/S /D=C:\\nul.x\\V",
        // Quotes that do not close, or that something is glued to.
        "/S \"/D=C:\\a b", "/S /D=\"C:\\a b", "/S /D=\"C:\\a\"b", "/S /D=C:\\a\"b\"", "/S\"\"",
        // A log named twice or not at all; help with anything else.
        "/LOG=a.log /LOG=b.log", "/S /LOG=", "/S /LOG=\"\"", "/? /S", "/HELP /LOG", "/? extra",
    };
    for (const char* line : refused) EXPECT_EQ(read(line), "refused") << line;
    std::string tooLong = "/S /D=C:\\" + std::string(300, 'v');
    EXPECT_EQ(read(tooLong.c_str()), "refused");
    std::string pairs;  // 130 characters above the Basic Multilingual Plane: 260 UTF-16 units
    for (int i = 0; i < 130; ++i) pairs += "\U0001F3B2";
    EXPECT_EQ(read(("/S /D=C:\\" + pairs).c_str()), "refused");
    EXPECT_EQ(read(nullptr), "refused") << "a line the system could not hand over as text";
    // The switch is known even when the line is refused: a silent run shows no box.
    EXPECT_TRUE(parseSetupArguments("/S /X").silent);
}

// What the uninstaller's line and the setup's share: where one argument ends.
TEST(CommandLine, ArgumentsEndWhereTheNextOneBegins) {
    const char* p = " /LOG=C:\\a b\\x.log \"C:\\c d\\V.gus\" /S plain\tnext \"/D=x\" ";
    std::string seen;
    for (CommandArgument a = nextArgument(p); a.kind != CommandArgument::end; a = nextArgument(p)) {
        seen += a.kind == CommandArgument::option ? "[" + std::string(a.name.text()) + (a.hasValue ? "=" : "") +
                                                        a.value.text() + "]"
                                                  : "<" + std::string(a.value.text()) + ">";
    }
    EXPECT_EQ(seen, "[LOG=C:\\a b\\x.log]<C:\\c d\\V.gus>[S]<plain><next>[D=x]");
}
