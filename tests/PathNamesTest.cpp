#include <gtest/gtest.h>

#include "engine/PathNames.h"

TEST(PathNames, DirectoryOfAndSplitPath) {
    EXPECT_STREQ(directoryOf("C:\\a\\b.txt").text(), "C:\\a");
    EXPECT_STREQ(directoryOf("C:\\x").text(), "C:");
    EXPECT_STREQ(directoryOf("b.txt").text(), "b.txt");
    EXPECT_STREQ(directoryOf("C:\\a\\").text(), "C:\\a");

    String parent("old"), name("old");
    EXPECT_TRUE(splitPath("C:\\a\\b\\\\", parent, name).isNull());
    EXPECT_STREQ(parent.text(), "C:\\a\\");
    EXPECT_STREQ(name.text(), "b");
    splitPath("C:\\", parent, name);
    EXPECT_STREQ(parent.text(), "C:");
    EXPECT_STREQ(name.text(), "");
    splitPath("file.txt", parent, name);
    EXPECT_STREQ(parent.text(), "file.txt");
    EXPECT_STREQ(name.text(), "");
}

TEST(PathNames, WalksOneDirectoryAtATime) {
    String built, component;
    for (const char* want : {"C:\\", "dir1\\", "dir2", ""}) {
        ASSERT_TRUE(nextPathComponent("C:\\dir1\\dir2", built, component).isNull());
        EXPECT_STREQ(component.text(), want);
        built += component.text();
    }
    EXPECT_STREQ(nextPathComponent("\\a\\b", "", component).message().text(),
                 "Empty directory name in path");
    EXPECT_STREQ(nextPathComponent("C:\\a\\\\b", "C:\\a\\", component).message().text(),
                 "Empty directory name in path");
    ErrorHandle foreign = nextPathComponent("C:\\a\\b", "c:\\a\\", component);
    EXPECT_EQ(foreign.severity(), SeverityError);
    EXPECT_STREQ(foreign.message().text(), "Incorrect directory path specified");
    EXPECT_TRUE(isFailure(nextPathComponent("C:\\a", "C:\\a\\b\\", component)));
}
