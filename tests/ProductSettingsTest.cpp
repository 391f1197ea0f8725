// The product's own registry settings, and how recording them completes the log.
#include <gtest/gtest.h>

#include <string>

#include "setup/ProductSettings.h"
#include "tests/support/TempSandbox.h"

namespace {

class ProductSettingsTest : public SandboxTest {
protected:
    std::string userHive() { return sandbox.readHostFile(sandbox.root() + "/registry/HKEY_CURRENT_USER.reg"); }
    void putLog(const std::string& text) {
        sandbox.writeHostFile(sandbox.root() + "/drive_c/Vantorel/Vantorel.gus", text);
    }
    ProductSettings settings;
};

TEST_F(ProductSettingsTest, ReadingCreatesTheEmptyKeyAndTakesTextOnly) {
    EXPECT_STREQ(settings.readInstalledVersion().text(), "");
    EXPECT_STREQ(settings.readInstallationPath().text(), "");
    EXPECT_NE(userHive().find("[HKEY_CURRENT_USER\\Software\\Hollowmere\\Vantorel]\n\n"), std::string::npos);
    sandbox.writeHostFile(sandbox.root() + "/registry/HKEY_CURRENT_USER.reg",
                          "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Hollowmere\\Vantorel]\n"
                          "\"Version\"=dword:00000001\n\"InstallationPath\"=\"C:\\\\V\"\n");
    EXPECT_STREQ(settings.readInstalledVersion().text(), "");
    EXPECT_STREQ(settings.readInstallationPath().text(), "C:\\V");
}

TEST_F(ProductSettingsTest, RecordingCompletesTheLogThenWritesTheValues) {
    EXPECT_STREQ(settings.recordInstallation("C:\\Vantorel").message().text(),
                 "Could not open file \"C:\\Vantorel\\Vantorel.GUS\" for reading");
    EXPECT_EQ(userHive().find("\"Version\""), std::string::npos);

    // Unsealed, the log would be refused by the uninstaller: then the product
    // must not count as installed either, so the setup can run again.
    putLog("GUS|1\r\nAPPLICATION_NAME|Vantorel v0.94a\r\n");
    platform::host::failCall(platform::host::Fault::setValue, 1);
    EXPECT_STREQ(settings.recordInstallation("C:\\Vantorel").message().text(),
                 "Unable to write the 'InstallLogSHA256' registry value");
    EXPECT_EQ(userHive().find("\"Version\""), std::string::npos);

    putLog("GUS|1\r\nAPPLICATION_NAME|Vantorel v0.94a\r\n");
    ASSERT_FALSE(isFailure(settings.recordInstallation("C:\\Vantorel")));
    EXPECT_STREQ(settings.readInstalledVersion().text(), "v0.94a");
    EXPECT_STREQ(settings.readInstallationPath().text(), "C:\\Vantorel");
    std::string gus = sandbox.readHostFile(sandbox.root() + "/drive_c/Vantorel/Vantorel.gus");
    EXPECT_EQ(gus.substr(gus.find("REG_KEY")),
              "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\\Vantorel\\ScreenSaver\r\n"
              "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\\Vantorel\r\n");

    putLog("GUS|1\r\n");
    platform::host::failCall(platform::host::Fault::setValue, 2);
    EXPECT_STREQ(settings.recordInstallation("C:\\Vantorel").message().text(),
                 "Unable to write the 'InstallationPath' registry value");
}

}  // namespace
