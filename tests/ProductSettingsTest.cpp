// The product's own registry settings, and how recording them completes the log.
#include <gtest/gtest.h>

#include <string>

#include "engine/UninstallerDeployment.h"
#include "foundation/RegistryKey.h"
#include "installlog/InstallLog.h"
#include "installlog/LogDigest.h"
#include "setup/ProductSettings.h"
#include "tests/support/TempSandbox.h"

namespace {

class ProductSettingsTest : public SandboxTest {
protected:
    std::string userHive() { return sandbox.readHostFile(sandbox.root() + "/registry/HKEY_CURRENT_USER.reg"); }
    std::string logFile() { return sandbox.root() + "/drive_c/Vantorel/Vantorel.gus"; }
    // Puts the log the install run wrote; returns the digest the run hands on.
    String putLog(const std::string& text) {
        sandbox.writeHostFile(logFile(), text);
        InstallLog log;
        log.readLogText(text.data(), text.size());
        return logDigest(log);
    }
    // The digest the uninstaller will check the log against; "" when none was kept.
    std::string storedSeal() {
        RegistryKey entry(uninstallKeyPath("Vantorel v0.94a").text(), 1, RegistryKey::existingOnly);
        String seal;
        bool kept = !isFailure(entry.readText(logDigestValueName, seal));
        entry.close();
        return kept ? seal.text() : "";
    }
    static std::string digestOf(const std::string& bytes) { return digestText(bytes.data(), bytes.size()).text(); }
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
    EXPECT_STREQ(settings.recordInstallation("C:\\Vantorel", "").message().text(),
                 "Could not open file \"C:\\Vantorel\\Vantorel.GUS\" for reading");
    EXPECT_EQ(userHive().find("\"Version\""), std::string::npos);

    // Unsealed, the log would be refused by the uninstaller: then the product
    // must not count as installed either, so the setup can run again.
    String written = putLog("GUS|1\r\nAPPLICATION_NAME|Vantorel v0.94a\r\n");
    platform::host::failCall(platform::host::Call::regSetValue, 1);
    EXPECT_STREQ(settings.recordInstallation("C:\\Vantorel", written).message().text(),
                 "Unable to write the 'InstallLogSHA256' registry value");
    EXPECT_EQ(userHive().find("\"Version\""), std::string::npos);

    written = putLog("GUS|1\r\nAPPLICATION_NAME|Vantorel v0.94a\r\n");
    ASSERT_FALSE(isFailure(settings.recordInstallation("C:\\Vantorel", written)));
    EXPECT_STREQ(settings.readInstalledVersion().text(), "v0.94a");
    EXPECT_STREQ(settings.readInstallationPath().text(), "C:\\Vantorel");
    std::string gus = sandbox.readHostFile(logFile());
    EXPECT_EQ(storedSeal(), digestOf(gus));
    EXPECT_EQ(gus.substr(gus.find("REG_KEY")),
              "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\\Vantorel\\ScreenSaver\r\n"
              "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\\Vantorel\r\n");

    // Half recorded is not recorded: the installation is undone, and the
    // value that was written goes with it, whichever failed.
    for (int failing : {2, 3}) {
        written = putLog("GUS|1\r\n");
        platform::host::failCall(platform::host::Call::regSetValue, failing);
        EXPECT_STREQ(settings.recordInstallation("C:\\Vantorel", written).message().text(),
                     failing == 2 ? "Unable to write the 'InstallationPath' registry value"
                                  : "Unable to write the 'Version' registry value");
        EXPECT_EQ(userHive().find("\"Version\""), std::string::npos);
        EXPECT_EQ(userHive().find("\"InstallationPath\""), std::string::npos);
        EXPECT_NE(userHive().find("[HKEY_CURRENT_USER\\Software\\Hollowmere\\Vantorel]"), std::string::npos);
    }

    // A log that cannot be read back says so, and is not taken for a changed one.
    written = putLog("GUS|1\r\n");
    platform::host::failCall(platform::host::Call::readStream, 1);
    EXPECT_STREQ(settings.recordInstallation("C:\\Vantorel", written).message().text(),
                 "Could not read file \"C:\\Vantorel\\Vantorel.GUS\"");
}

// The installation folder may be writable by a standard user, who can change
// the log while the setup completes it. What gets sealed must be what the
// setup wrote, or the uninstaller would trust the user's lines as its own.
TEST_F(ProductSettingsTest, ALogChangedWhileTheSetupCompletesItIsNeverSealed) {
    std::string run = "GUS|1\r\nAPPLICATION_NAME|Vantorel v0.94a\r\n"
                      "FILE_LOCATIONS|%APP%|C:\\Vantorel\r\n";
    String written = putLog(run);
    std::string planted = run + "INSTALLED_FILE|Default|%WIN%|C:\\WINDOWS\\system32\\kernel32.dll\r\n";
    sandbox.writeHostFile(logFile(), planted);
    EXPECT_STREQ(settings.recordInstallation("C:\\Vantorel", written).message().text(),
                 "The install log \"C:\\Vantorel\\Vantorel.GUS\" was changed during the "
                 "installation.");
    EXPECT_EQ(storedSeal(), "");
    EXPECT_EQ(userHive().find("\"Version\""), std::string::npos);
    EXPECT_EQ(sandbox.readHostFile(logFile()), planted);

    // Changed again the moment the completed log is in place, before the seal.
    written = putLog(run);
    std::string completed;
    platform::host::afterNextReplace([&] {
        completed = sandbox.readHostFile(logFile());
        sandbox.writeHostFile(logFile(), planted);
    });
    ASSERT_FALSE(isFailure(settings.recordInstallation("C:\\Vantorel", written)));
    EXPECT_NE(completed.find("REG_KEY"), std::string::npos);
    EXPECT_EQ(storedSeal(), digestOf(completed));
}

}  // namespace
