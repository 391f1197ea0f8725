// Deploying the shared uninstaller by its version rule, and registering it.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/Uninstaller.h"
#include "tests/support/InstallSetResources.h"
#include "tests/support/TempSandbox.h"

namespace {

const char* const deployed = "/drive_c/Program Files/Common Files/System/TessalyUninstaller.exe";

// A real PE file from the machine with its file version words changed.
std::string peWithVersion(uint32_t high, uint32_t low) {
    std::ifstream in("/usr/lib/i386-linux-gnu/wine/i386-windows/version.dll", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::string bytes = s.str();
    const char signature[] = {'\xBD', '\x04', '\xEF', '\xFE'};
    // The version resource sits near the end, after code that may hold the same bytes.
    size_t at = bytes.rfind(std::string(signature, 4));
    if (at == std::string::npos) return std::string();
    std::memcpy(&bytes[at + 8], &high, 4);
    std::memcpy(&bytes[at + 12], &low, 4);
    return bytes;
}

class UninstallerDeploymentTest : public SandboxTest {
protected:
    UninstallerDeploymentTest() { putStored("TESSALY_UNINSTALLER", "carried uninstaller"); }
    std::string deployedBytes() { return sandbox.readHostFile(sandbox.root() + deployed); }
};

TEST_F(UninstallerDeploymentTest, VersionRuleDecidesWhetherToWrite) {
    ASSERT_FALSE(isFailure(deployUninstaller()));
    EXPECT_EQ(deployedBytes(), "carried uninstaller");

    struct Case {
        uint32_t high, low;
        bool kept;
    } cases[] = {{0x00010000, 0, false}, {0x00010000, 1, true}, {0x00020000, 0, true}, {0x00000009, 0xFFFFFFFF, false}};
    for (const Case& c : cases) {
        std::string existing = peWithVersion(c.high, c.low);
        ASSERT_FALSE(existing.empty()) << "no PE file with a version resource to start from";
        sandbox.writeHostFile(sandbox.root() + deployed, existing);
        ASSERT_FALSE(isFailure(deployUninstaller()));
        EXPECT_EQ(deployedBytes() == existing, c.kept) << std::hex << c.high << "." << c.low;
    }

    sandbox.writeHostFile(sandbox.root() + deployed, "no version resource here");
    ASSERT_FALSE(isFailure(deployUninstaller()));
    EXPECT_EQ(deployedBytes(), "carried uninstaller");
}

TEST_F(UninstallerDeploymentTest, CommonFilesComeFromTheRegistryAlone) {
    sandbox.writeHostFile(sandbox.root() + "/registry/HKEY_LOCAL_MACHINE.reg", "REGEDIT4\n\n");
    ErrorHandle result = deployUninstaller();
    EXPECT_STREQ(result.message().text(), "Unable to read the 'CommonFilesDir' registry value");
    EXPECT_TRUE(deployedBytes().empty());
    result = registerUninstaller("Vantorel v0.94a", "C:\\V\\Vantorel.gus");
    EXPECT_STREQ(result.message().text(), "Unable to read the 'CommonFilesDir' registry value");
}

TEST_F(UninstallerDeploymentTest, RegistrationQuotesBothPaths) {
    ASSERT_FALSE(isFailure(registerUninstaller("Vantorel v0.94a", "C:\\V\\Vantorel.gus")));
    std::string machine = sandbox.readHostFile(sandbox.root() + "/registry/HKEY_LOCAL_MACHINE.reg");
    EXPECT_NE(machine.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                           "Uninstall\\Vantorel v0.94a]\n\"DisplayName\"=\"Vantorel v0.94a\"\n"
                           "\"UninstallString\"=\"\\\"C:\\\\Program Files\\\\Common Files\\\\System\\\\"
                           "TessalyUninstaller.exe\\\" \\\"C:\\\\V\\\\Vantorel.gus\\\"\"\n"),
              std::string::npos)
        << machine;
}

}  // namespace
