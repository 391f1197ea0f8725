#include <gtest/gtest.h>

#include "foundation/Locations.h"
#include "tests/support/TempSandbox.h"

TEST(Locations, ValuesAreFoundByExactMacroText) {
    FileLocations locations;
    EXPECT_TRUE(locations.locationValue("%app%").isEmpty());
    locations.setLocationValue("%WINSYS32%", "D:\\Sys32");
    locations.setLocationValue("%Desktop%", "ignored");
    locations.setLocationValue("%NOPE%", "ignored");
    EXPECT_STREQ(locations.WINSYS32.text(), "D:\\Sys32");
    EXPECT_STREQ(locations.locationValue("%WINSYS32%").text(), "D:\\Sys32");
    EXPECT_TRUE(locations.DESKTOP.isEmpty());
}

TEST(Locations, ExpandsOneMacroAtTheStartOnly) {
    FileLocations locations;
    locations.APP = "C:\\Games\\Vantorel";
    String macro("stale");
    EXPECT_STREQ(expandLocation("%APP%\\doc\\Vantorel.html", locations, &macro).text(),
                 "C:\\Games\\Vantorel\\doc\\Vantorel.html");
    EXPECT_STREQ(macro.text(), "%APP%");
    EXPECT_STREQ(expandLocation("%APP%%APP%\\x", locations).text(), "C:\\Games\\Vantorel%APP%\\x");
    EXPECT_STREQ(expandLocation("%app%\\x", locations, &macro).text(), "%app%\\x");
    EXPECT_TRUE(macro.isEmpty());
    EXPECT_STREQ(expandLocation("C:\\%APP%\\x", locations, &macro).text(), "C:\\%APP%\\x");
    // WINSYS is never filled by the setup, and is not taken for WIN.
    EXPECT_STREQ(expandLocation("%WINSYS%\\a.dll", locations, &macro).text(), "\\a.dll");
    EXPECT_STREQ(macro.text(), "%WINSYS%");
    EXPECT_STREQ(expandLocation("%WIN%\\win.ini", locations, &macro).text(), "C:\\WINDOWS\\win.ini");
}
