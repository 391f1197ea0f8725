#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/PathNames.h"

TEST(PathNames, DirectoryOfAndSplitPath) {
    EXPECT_STREQ(directoryOf("C:\\a\\b.txt").text(), "C:\\a");
    EXPECT_STREQ(directoryOf("C:\\x").text(), "C:");
    EXPECT_STREQ(directoryOf("b.txt").text(), "b.txt");
    String parent("old"), name("old");
    const char* const splits[][2] = {
        {"C:\\a\\b\\\\", "C:\\a\\|b"}, {"C:\\", "C:|"}, {"file.txt", "file.txt|"}};
    for (const auto& split : splits) {
        EXPECT_TRUE(splitPath(split[0], parent, name).isNull()) << split[0];
        EXPECT_EQ(std::string(parent.text()) + "|" + name.text(), split[1]);
    }
}

TEST(PathNames, WalksOneDirectoryAtATime) {
    String built, component;
    for (const char* want : {"C:\\", "dir1\\", "dir2", ""}) {
        ASSERT_TRUE(nextPathComponent("C:\\dir1\\dir2", built, component).isNull());
        EXPECT_STREQ(component.text(), want);
        built += component.text();
    }
    EXPECT_STREQ(nextPathComponent("C:\\a\\\\b", "C:\\a\\", component).message().text(),
                 "Empty directory name in path");
    EXPECT_STREQ(nextPathComponent("C:\\a\\b", "c:\\a\\", component).message().text(),
                 "Incorrect directory path specified");
    EXPECT_TRUE(isFailure(nextPathComponent("C:\\a", "C:\\a\\b\\", component)));
}

// The uninstaller, running as administrator, acts only on paths of this form:
// each refused one could name, on Windows, something other than it seems to.
TEST(PathNames, OnlyFullPlainPathsArePlain) {
    for (const char* path : {"C:\\Games\\x/..\\..\\WINDOWS\\win.ini", "C:\\Games\\.", "C:\\Games\\..\\x",
                             "C:\\Games\\file.txt. . ", "C:\\Games\\file.txt.", "C:\\Games\\dir \\x",
                             "C:\\Games\\x:stream", "C:\\Games\\\\x", "C:\\Games\\", "\\\\?\\C:\\Games\\x",
                             "\\\\.\\C:\\Games\\x", "\\\\server\\share\\x", "Games\\x", "C:Games\\x", "C:\\",
                             "C:\\Games\\a*b", "C:\\Games\\a\tb", ""})
        EXPECT_FALSE(isPlainPath(path)) << path;
    for (const char* path : {"C:\\Games\\Vantorel\\doc\\Vantorel.html", "d:\\a b\\.hidden\\x.y"})
        EXPECT_TRUE(isPlainPath(path)) << path;
}

// A device's name opens the device, in any folder: writing "nul.txt" would
// write nowhere, and removing it would remove nothing.
TEST(PathNames, DeviceNamesAreNotPlainNames) {
    for (const char* name : {"CON", "con", "Nul.txt", "aux.tar.gz", "PRN", "NUL .txt", "COM1", "com0.log",
                             "LPT9", "CONIN$", "conout$.x", "COM\xC2\xB9", "lpt\xC2\xB3.txt"}) {
        EXPECT_EQ(nameFault(name, std::strlen(name)), NameFault::deviceName) << name;
        EXPECT_FALSE(isPlainPath((std::string("C:\\Games\\") + name + "\\x").c_str())) << name;
    }
    for (const char* name : {"CONSOLE", "con-x.txt", "COM", "COM10", "LPT", "nulx", "auxiliary.txt",
                             "xcon", ".con", "COMA", "COM\xC2\xB4", "CONIN", "PRN_",
                             // Other scripts: only the Latin letters name a device.
                             "Игры", "ＣＯＮ", "ＮＵＬ.txt", "表示", "CОN" /* Cyrillic О */})
        EXPECT_EQ(nameFault(name, std::strlen(name)), NameFault::none) << name;
}
