// Deploying the shared uninstaller by its version rule, and registering it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/UninstallerDeployment.h"
#include "tests/support/InstallSetResources.h"
#include "tests/support/TempSandbox.h"

namespace {

const char* const deployed = "/drive_c/Program Files/Common Files/System/TessalyUninstaller.exe";

class UninstallerDeploymentTest : public SandboxTest {
protected:
    UninstallerDeploymentTest() { putStored("TESSALY_UNINSTALLER", "carried uninstaller"); }
    std::string deployedBytes() { return sandbox.readHostFile(sandbox.root() + deployed); }
};

TEST_F(UninstallerDeploymentTest, VersionRuleDecidesWhetherToWrite) {
    ASSERT_FALSE(isFailure(deployUninstaller()));
    EXPECT_EQ(deployedBytes(), "carried uninstaller");

    // A real PE file of the machine with its file version words changed; the
    // version resource sits after code that may hold the same signature bytes.
    std::string pe = sandbox.readHostFile("/usr/lib/i386-linux-gnu/wine/i386-windows/version.dll");
    size_t at = pe.rfind("\xBD\x04\xEF\xFE");
    ASSERT_NE(at, std::string::npos);
    struct Case { uint32_t high, low; bool kept; } cases[] = {
        {0x00010000, 0, false}, {0x00010000, 1, true}, {0x00020000, 0, true}, {0x00000009, 0xFFFFFFFF, false}};
    for (const Case& c : cases) {
        std::memcpy(&pe[at + 8], &c.high, 4);
        std::memcpy(&pe[at + 12], &c.low, 4);
        sandbox.writeHostFile(sandbox.root() + deployed, pe);
        ASSERT_FALSE(isFailure(deployUninstaller()));
        EXPECT_EQ(deployedBytes() == pe, c.kept) << std::hex << c.high << "." << c.low;
    }
    sandbox.writeHostFile(sandbox.root() + deployed, "no version resource here");
    ASSERT_FALSE(isFailure(deployUninstaller()));
    EXPECT_EQ(deployedBytes(), "carried uninstaller");
}

// The entry's other values, quoted commands included, are SetupProgramTest's.
TEST_F(UninstallerDeploymentTest, RegistrationNeedsTheRecordedCommonFiles) {
    ASSERT_FALSE(isFailure(registerUninstaller("Vantorel v0.94a", "C:\\V\\Vantorel.gus")));
    std::string machine = sandbox.readHostFile(sandbox.root() + "/registry/HKEY_LOCAL_MACHINE.reg");
    EXPECT_NE(machine.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                           "Uninstall\\Vantorel v0.94a]\n\"DisplayName\"=\"Vantorel v0.94a\"\n"), std::string::npos)
        << machine;

    sandbox.writeHostFile(sandbox.root() + "/registry/HKEY_LOCAL_MACHINE.reg", "REGEDIT4\n\n");
    const char* noValue = "Unable to read the 'CommonFilesDir' registry value";
    EXPECT_STREQ(deployUninstaller().message().text(), noValue);
    EXPECT_STREQ(registerUninstaller("Vantorel v0.94a", "C:\\V\\Vantorel.gus").message().text(), noValue);
    EXPECT_TRUE(deployedBytes().empty());
}

}  // namespace
