// The setup's command line: what a script may ask for, and what it is refused.
#include <gtest/gtest.h>

#include <string>

#include "setup/SetupArguments.h"

namespace {

// "dialogue", "silent", "silent into <dir>" or "refused".
std::string read(const char* commandLine) {
    SetupArguments a = parseSetupArguments(commandLine);
    if (!a.valid) return "refused";
    if (!a.silent) return a.installationDirectory.isEmpty() ? "dialogue" : "dialogue into ?";
    if (a.installationDirectory.isEmpty()) return "silent";
    return std::string("silent into ") + a.installationDirectory.text();
}

}  // namespace

TEST(SetupArguments, SwitchesAndTheDirectoryAsAScriptWritesThem) {
    EXPECT_EQ(read(""), "dialogue");
    EXPECT_EQ(read("  \t "), "dialogue");
    EXPECT_EQ(read("/S"), "silent");
    EXPECT_EQ(read(" /s  "), "silent");
    EXPECT_EQ(read("/S /D=C:\\Silent Place\\Vantorel"), "silent into C:\\Silent Place\\Vantorel");
    // The rest of the line, inner blanks kept, trailing ones and one final backslash dropped.
    EXPECT_EQ(read("/S /d=D:\\A  B\\Vantorel\\  "), "silent into D:\\A  B\\Vantorel");
    EXPECT_EQ(read("/S /D=C:\\Игры\\Vantorel"), "silent into C:\\Игры\\Vantorel");
    EXPECT_EQ(read("/S /D=C:\\表示\\Vantorel"), "silent into C:\\表示\\Vantorel");
    // MAX_PATH counts UTF-16 units: 250 Cyrillic letters are 500 bytes but fit.
    std::string cyrillic;
    for (int i = 0; i < 250; ++i) cyrillic += "Ж";
    EXPECT_EQ(read(("/S /D=C:\\" + cyrillic).c_str()), "silent into C:\\" + cyrillic);
}

TEST(SetupArguments, RefusesWhatItDoesNotKnowAndPathsThatAreNotPlain) {
    const char* refused[] = {
        "/X",      "/S /quiet", "/Silent", "S",          "/S extra", "/D=C:\\Vantorel",  // no /S
        "/S /D=",  "/S /D=C:\\", "/S /D=C:", "/S /D=Vantorel", "/S /D=\\\\server\\share\\V",
        "/S /D=\"C:\\Program Files\\Vantorel\"", "/S /D=C:/Games/Vantorel",
        "/S /D=C:\\Games\\..\\Windows", "/S /D=C:\\Games\\.\\V", "/S /D=C:\\Games\\V.",
        "/S /D=C:\\Games \\V", "/S /D=C:\\Games\\\\V", "/S /D=C:\\Games\\V:x", "/S /D=C:\\a|b",
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
