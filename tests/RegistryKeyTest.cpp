#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "foundation/RegistryKey.h"
#include "platform/host/HostControl.h"
#include "platform/platform.h"
#include "tests/support/TempSandbox.h"

using platform::host::Fault;

namespace {
const char* const productKey = "Software\\Hollowmere\\Vantorel";

std::string userHive() { return platform::host::registryFile(platform::rootCurrentUser); }

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class RegistryKeyTest : public SandboxTest {
protected:
    std::string hive() const { return sandbox.readHostFile(userHive()); }
    void putHive(const std::string& text) const { sandbox.writeHostFile(userHive(), text); }
};

const char* const handWritten =
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Hollowmere\\Vantorel]\r\n"
    "\"Count\"=dword:00000007\r\n"
    "\"Empty\"=\"\"\r\n"
    "\"Bare\"=hex(1):61,62,63\r\n"
    "\"Wrapped\"=hex(1):61,62,\\\r\n"
    "  63,00\r\n"
    "\"Path\"=\"C:\\\\Games\\\\\\\"Q\\\"\"\r\n";
}  // namespace

TEST_F(RegistryKeyTest, WrittenTextRoundTripsThroughTheHiveFile) {
    {
        RegistryKey key(productKey, 0);
        ASSERT_TRUE(key.isOpen());
        EXPECT_TRUE(key.writeText("Version", "v0.94a").isNull());
        EXPECT_TRUE(key.writeText("InstallationPath", "C:\\Games\\Vantorel").isNull());
        key.close();
        EXPECT_FALSE(key.isOpen());
    }
    std::string file = hive();
    EXPECT_TRUE(contains(file, "[HKEY_CURRENT_USER\\Software\\Hollowmere]\n"));
    EXPECT_TRUE(contains(file, "\"Version\"=\"v0.94a\"\n"));
    EXPECT_TRUE(contains(file, "\"InstallationPath\"=\"C:\\\\Games\\\\Vantorel\"\n"));

    RegistryKey again("SOFTWARE\\HOLLOWMERE\\VANTOREL", 7);  // any root but 1 is the user's
    String value;
    EXPECT_TRUE(again.readText("version", value).isNull());
    EXPECT_STREQ(value.text(), "v0.94a");

    // The stored length counts the terminating zero.
    platform::RegHandle raw = nullptr;
    ASSERT_EQ(platform::regCreateKey(platform::rootCurrentUser, productKey, &raw), 0);
    uint32_t type = 0, size = 0;
    EXPECT_EQ(platform::regQueryValue(raw, "Version", &type, nullptr, &size), 0);
    EXPECT_EQ(type, platform::regSz);
    EXPECT_EQ(size, 7u);
    platform::regCloseKey(raw);
}

TEST_F(RegistryKeyTest, LocalMachineIsRootOne) {
    RegistryKey key("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 1);
    String dir;
    EXPECT_TRUE(key.readText("CommonFilesDir", dir).isNull());
    EXPECT_STREQ(dir.text(), "C:\\Program Files\\Common Files");
    RegistryKey user("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0);
    EXPECT_STREQ(reportText(user.readText("CommonFilesDir", dir)).text(),
                 "Error: Unable to read the 'CommonFilesDir' registry value");
}

TEST_F(RegistryKeyTest, ReadsWhatTheHiveFileHolds) {
    putHive(handWritten);
    RegistryKey key(productKey, 0);
    String value("unchanged");
    EXPECT_STREQ(key.readText("Missing", value).message().text(),
                 "Unable to read the 'Missing' registry value");
    EXPECT_STREQ(key.readText("Count", value).message().text(),
                 "Unable to read the 'Count' registry value");
    EXPECT_STREQ(value.text(), "unchanged");
    EXPECT_TRUE(key.readText("Empty", value).isNull());
    EXPECT_STREQ(value.text(), "");
    // Stored without a terminating zero: read whole, not past its end.
    EXPECT_TRUE(key.readText("Bare", value).isNull());
    EXPECT_STREQ(value.text(), "abc");
    EXPECT_TRUE(key.readText("Wrapped", value).isNull());
    EXPECT_STREQ(value.text(), "abc");
    EXPECT_TRUE(key.readText("Path", value).isNull());
    EXPECT_STREQ(value.text(), "C:\\Games\\\"Q\"");
}

TEST_F(RegistryKeyTest, LineBreaksInTextKeepTheHiveReadable) {
    RegistryKey key(productKey, 0);
    EXPECT_TRUE(key.writeText("Note", "two\r\nlines").isNull());
    EXPECT_TRUE(key.writeText("After", "x").isNull());
    String value;
    EXPECT_TRUE(key.readText("Note", value).isNull());
    EXPECT_STREQ(value.text(), "two\r\nlines");
    EXPECT_STREQ(key.writeText("Bad\nName", "x").message().text(),
                 "Unable to write the 'Bad\nName' registry value");
    EXPECT_TRUE(key.readText("After", value).isNull());
}

TEST_F(RegistryKeyTest, DeletesSubKeysAndToleratesMissingOnes) {
    RegistryKey parent("Software\\Hollowmere", 0);
    EXPECT_TRUE(parent.deleteSubKey("NeverThere").isNull());
    { RegistryKey child("Software\\Hollowmere\\Vantorel\\Inner", 0); }
    EXPECT_STREQ(parent.deleteSubKey("Vantorel").message().text(),
                 "Unable to delete the 'Vantorel' registry key");
    EXPECT_TRUE(parent.deleteSubKey("Vantorel\\Inner").isNull());
    EXPECT_TRUE(parent.deleteSubKey("Vantorel").isNull());
    EXPECT_FALSE(contains(hive(), "Vantorel"));
    EXPECT_TRUE(parent.deleteSubKey("Vantorel").isNull());
}

TEST_F(RegistryKeyTest, FailedWritesAndDeletesNameTheirTarget) {
    RegistryKey key(productKey, 0);
    platform::host::failCall(Fault::setValue, 1);
    EXPECT_STREQ(reportText(key.writeText("Version", "v0.94a")).text(),
                 "Error: Unable to write the 'Version' registry value");
    platform::host::failCall(Fault::deleteKey, 1);
    EXPECT_STREQ(reportText(key.deleteSubKey("Sub")).text(),
                 "Error: Unable to delete the 'Sub' registry key");
    EXPECT_FALSE(contains(hive(), "\"Version\""));
}

TEST_F(RegistryKeyTest, KeyThatCannotBeOpenedFailsEachUseAndChangesNothing) {
    auto expectClosed = [](RegistryKey& key) {
        String value("kept");
        EXPECT_FALSE(key.isOpen());
        for (const ErrorHandle& e : {key.readText("Version", value), key.writeText("Version", "v"),
                                     key.deleteSubKey("Sub"), key.readText("Version", value)}) {
            EXPECT_EQ(e.severity(), SeverityError);
            EXPECT_EQ(e.code(), 0);
            EXPECT_STREQ(e.message().text(), "Unable to create the registry key");
        }
        EXPECT_STREQ(value.text(), "kept");
    };
    std::string before = hive();
    platform::host::failCall(Fault::createKey, 1);
    RegistryKey injected(productKey, 0);
    expectClosed(injected);

    ASSERT_EQ(::chmod(userHive().c_str(), 0444), 0);
    RegistryKey readOnly(productKey, 0);
    expectClosed(readOnly);
    EXPECT_EQ(hive(), before);
}

TEST_F(RegistryKeyTest, UnparseableHiveIsNamedWithItsLineAndKept) {
    std::string broken = std::string(handWritten) + "\"Torn\"=dword:12\r\n";
    putHive(broken);
    testing::internal::CaptureStderr();
    RegistryKey key(productKey, 0);
    String value;
    EXPECT_STREQ(key.writeText("Version", "v").message().text(), "Unable to create the registry key");
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(contains(said, userHive() + ", line 10")) << said;
    EXPECT_EQ(hive(), broken);
}

// Writers in separate processes, each rewriting its own value: every hive
// they leave parses, and no writer's last value is lost to another's.
TEST_F(RegistryKeyTest, ConcurrentWritersNeitherTearNorLoseUpdates) {
    const int writers = 4, rounds = 40;
    pid_t children[writers];
    for (int w = 0; w < writers; ++w) {
        children[w] = ::fork();
        if (children[w] == 0) {
            std::string name = "Writer" + std::to_string(w);
            int failures = 0;
            for (int r = 0; r < rounds; ++r) {
                RegistryKey key(productKey, 0);
                String round;
                round.format("%d", r);
                if (isFailure(key.writeText(name.c_str(), round.text()))) ++failures;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    RegistryKey key(productKey, 0);
    ASSERT_TRUE(key.isOpen());
    for (int w = 0; w < writers; ++w) {
        String value;
        std::string name = "Writer" + std::to_string(w);
        EXPECT_TRUE(key.readText(name.c_str(), value).isNull()) << name;
        EXPECT_STREQ(value.text(), std::to_string(rounds - 1).c_str()) << name;
    }
}
