#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "foundation/RegistryKey.h"
#include "platform/Registry.h"
#include "tests/support/TempSandbox.h"

using platform::host::Call;

namespace {
const char* const productKey = "Software\\Hollowmere\\Vantorel";
const char* const handWritten =
    "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Hollowmere\\Vantorel]\r\n"
    "\"Count\"=dword:00000007\r\n"
    "\"Bare\"=hex(1):61,62,63\r\n"
    "\"Path\"=\"C:\\\\Games\\\\\\\"Q\\\"\"\r\n";

class RegistryKeyTest : public SandboxTest {
protected:
    std::string userHive = platform::host::registryFile(platform::rootCurrentUser);
    std::string hive() const { return sandbox.readHostFile(userHive); }
    String value;
};
}  // namespace

TEST_F(RegistryKeyTest, TextRoundTripsThroughTheHiveFile) {
    RegistryKey key(productKey, 0);
    EXPECT_TRUE(key.writeText("Note", "two\r\nlines").isNull());
    EXPECT_STREQ(key.writeText("Bad\nName", "x").message().text(), "Unable to write the 'Bad\nName' registry value");
    RegistryKey again("SOFTWARE\\HOLLOWMERE\\VANTOREL", 7);  // any root but 1 is the user's
    EXPECT_TRUE(again.readText("note", value).isNull());
    EXPECT_STREQ(value.text(), "two\r\nlines");
    platform::RegHandle raw = nullptr;  // the stored length counts the terminating zero
    ASSERT_EQ(platform::regCreateKey(platform::rootCurrentUser, productKey, &raw), 0);
    uint32_t type = 0, size = 0;
    platform::regQueryValue(raw, "Note", &type, nullptr, &size);
    EXPECT_EQ(size, 11u);
    platform::regCloseKey(raw);
}

TEST_F(RegistryKeyTest, ReadsWhatAHandWrittenHiveHolds) {
    sandbox.writeHostFile(userHive, handWritten);
    RegistryKey key(productKey, 0);
    value = "unchanged";
    for (std::string name : {"Missing", "Count"})  // not there, or not text
        EXPECT_EQ(key.readText(name.c_str(), value).message().text(),
                  "Unable to read the '" + name + "' registry value");
    EXPECT_STREQ(value.text(), "unchanged");
    EXPECT_TRUE(key.readText("Bare", value).isNull());  // stored without its zero: read whole
    EXPECT_STREQ(value.text(), "abc");
    EXPECT_TRUE(key.readText("Path", value).isNull());
    EXPECT_STREQ(value.text(), "C:\\Games\\\"Q\"");
}

TEST_F(RegistryKeyTest, DeletesAndFailuresNameTheirTarget) {
    RegistryKey parent("Software\\Hollowmere", 0);
    EXPECT_TRUE(parent.deleteSubKey("NeverThere").isNull());
    { RegistryKey child("Software\\Hollowmere\\Vantorel\\Inner", 0); }
    EXPECT_STREQ(parent.deleteSubKey("Vantorel").message().text(), "Unable to delete the 'Vantorel' registry key");
    EXPECT_TRUE(parent.deleteSubKey("Vantorel\\Inner").isNull());
    EXPECT_TRUE(parent.deleteSubKey("Vantorel").isNull());
    EXPECT_EQ(hive().find("Vantorel"), std::string::npos);
    platform::host::failCall(Call::regDeleteKey, 1);
    EXPECT_STREQ(parent.deleteSubKey("Sub").message().text(), "Unable to delete the 'Sub' registry key");
}

TEST_F(RegistryKeyTest, NumbersAreStoredAsDwords) {
    RegistryKey key(productKey, 1);
    EXPECT_TRUE(key.writeNumber("EstimatedSize", 0x12345678).isNull());
    std::string machine = sandbox.readHostFile(platform::host::registryFile(platform::rootLocalMachine));
    EXPECT_NE(machine.find("\"EstimatedSize\"=dword:12345678\n"), std::string::npos) << machine;
    platform::host::failCall(Call::regSetValue, 1);
    EXPECT_STREQ(key.writeNumber("NoRepair", 1).message().text(), "Unable to write the 'NoRepair' registry value");
}

TEST_F(RegistryKeyTest, KeyThatCannotBeOpenedFailsEachUseAndChangesNothing) {
    auto expectClosed = [this](RegistryKey&& key) {
        value = "kept";
        for (const ErrorHandle& e : {key.readText("Version", value), key.writeText("Version", "v"),
                                     key.writeNumber("Count", 1), key.deleteSubKey("Sub")})
            EXPECT_STREQ(reportText(e).text(), "Error: Unable to create the registry key");
        EXPECT_STREQ(value.text(), "kept");
    };
    std::string before = hive();
    platform::host::failCall(Call::regCreateKey, 1);
    expectClosed(RegistryKey(productKey, 0));
    EXPECT_EQ(hive(), before);

    std::string broken = std::string(handWritten) + "\"Torn\"=dword:12\r\n";
    sandbox.writeHostFile(userHive, broken);
    testing::internal::CaptureStderr();
    expectClosed(RegistryKey(productKey, 0));
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(userHive + ", line 7"), std::string::npos) << said;
    EXPECT_EQ(hive(), broken);
}

// Writers in separate processes: every hive they leave parses, and no writer's last value is lost.
TEST_F(RegistryKeyTest, ConcurrentWritersNeitherTearNorLoseUpdates) {
    const int writers = 4, rounds = 40;
    pid_t children[writers];
    for (int w = 0; w < writers; ++w) {
        if ((children[w] = ::fork()) != 0) continue;
        int failures = 0;
        for (int r = 0; r < rounds; ++r)
            failures += isFailure(RegistryKey(productKey, 0).writeText(
                ("Writer" + std::to_string(w)).c_str(), std::to_string(r).c_str()));
        ::_exit(failures);
    }
    for (pid_t child : children) {
        int status = 0;
        EXPECT_TRUE(::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    RegistryKey key(productKey, 0);
    for (int w = 0; w < writers; ++w) {
        EXPECT_TRUE(key.readText(("Writer" + std::to_string(w)).c_str(), value).isNull()) << w;
        EXPECT_STREQ(value.text(), std::to_string(rounds - 1).c_str()) << w;
    }
}
