// The product's own registry settings, and how recording them completes the log.
#include <gtest/gtest.h>

#include <string>

#include "foundation/RegistryKey.h"
#include "installlog/InstallLog.h"
#include "setup/ProductSettings.h"
#include "tests/support/TempSandbox.h"

namespace {

class ProductSettingsTest : public SandboxTest {
protected:
    std::string userHive() {
        return sandbox.readHostFile(sandbox.root() + "/registry/HKEY_CURRENT_USER.reg");
    }
};

TEST_F(ProductSettingsTest, ReadingAFreshMachineCreatesTheEmptyKey) {
    ProductSettings settings;
    EXPECT_STREQ(settings.readInstalledVersion().text(), "");
    EXPECT_STREQ(settings.readInstallationPath().text(), "");
    EXPECT_NE(userHive().find("[HKEY_CURRENT_USER\\Software\\Hollowmere\\Vantorel]\n\n"),
              std::string::npos);

    // A version stored as a number is not a version.
    sandbox.writeHostFile(sandbox.root() + "/registry/HKEY_CURRENT_USER.reg",
                          "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Hollowmere\\Vantorel]\n"
                          "\"Version\"=dword:00000001\n\"InstallationPath\"=\"C:\\\\V\"\n");
    EXPECT_STREQ(settings.readInstalledVersion().text(), "");
    EXPECT_STREQ(settings.readInstallationPath().text(), "C:\\V");
}

TEST_F(ProductSettingsTest, RecordingCompletesTheLogThenWritesTheValues) {
    sandbox.writeHostFile(sandbox.root() + "/drive_c/Vantorel/Vantorel.gus",
                          "GUS|1\r\nAPPLICATION_NAME|Vantorel v0.94a\r\n"
                          "INSTALLED_FILE|Default|%APP%|C:\\Vantorel\\Vantorel.gus\r\n");
    ProductSettings settings;
    ASSERT_FALSE(isFailure(settings.recordInstallation("C:\\Vantorel")));
    EXPECT_STREQ(settings.readInstalledVersion().text(), "v0.94a");
    EXPECT_STREQ(settings.readInstallationPath().text(), "C:\\Vantorel");
    std::string gus = sandbox.readHostFile(sandbox.root() + "/drive_c/Vantorel/Vantorel.gus");
    std::string tail = "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\\Vantorel\\ScreenSaver\r\n"
                       "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\\Vantorel\r\n";
    EXPECT_EQ(gus.substr(gus.size() - tail.size()), tail);
}

TEST_F(ProductSettingsTest, NothingIsRecordedWithoutTheLog) {
    ProductSettings settings;
    ErrorHandle result = settings.recordInstallation("C:\\Vantorel");
    EXPECT_STREQ(result.message().text(),
                 "Could not open file \"C:\\Vantorel\\Vantorel.GUS\" for reading");
    EXPECT_EQ(userHive().find("\"Version\""), std::string::npos);

    // A value that cannot be written is reported with the registry's words.
    sandbox.writeHostFile(sandbox.root() + "/drive_c/Vantorel/Vantorel.gus", "GUS|1\r\n");
    platform::host::failCall(platform::host::Fault::setValue, 1);
    result = settings.recordInstallation("C:\\Vantorel");
    EXPECT_STREQ(result.message().text(), "Unable to write the 'InstallationPath' registry value");
}

}  // namespace
