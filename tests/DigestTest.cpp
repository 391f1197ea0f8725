// SHA-256 against published answers, so that neither the system's hash nor
// the seal of the install log is checked only against itself.
#include <gtest/gtest.h>

#include <string>

#include "installlog/InstallLog.h"
#include "installlog/LogDigest.h"
#include "platform/Hashing.h"
#include "tests/support/TempSandbox.h"

namespace {

std::string sha256Hex(const std::string& bytes) {
    unsigned char digest[32];
    if (platform::sha256(bytes.data(), bytes.size(), digest) != platform::statusOk) return "failed";
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : digest) {
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

}  // namespace

// The examples of FIPS 180-2, appendix B, and the empty message.
TEST(Sha256, GivesTheStandardsAnswers) {
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(sha256Hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// The seal is the SHA-256 of the bytes the log file holds, CR LF and all
// (the value below is `sha256sum` of exactly those bytes).
TEST(LogDigest, IsTheSha256OfTheFilesBytes) {
    TempSandbox sandbox;
    InstallLog log;
    log.applicationName = "Vantorel v0.94a";
    log.locations.setLocationValue("%APP%", "C:\\Games\\Vantorel");
    log.addInstalledFile("Default", "%APP%", "C:\\Games\\Vantorel\\Vantorel.exe");
    log.addRegistryKey("HKEY_CURRENT_USER", "Software\\Hollowmere\\Vantorel");
    ASSERT_FALSE(isFailure(log.writeLogFile("C:\\Vantorel.gus")));
    EXPECT_EQ(sandbox.readHostFile(sandbox.path("C:\\Vantorel.gus")),
              "GUS|1\r\nAPPLICATION_NAME|Vantorel v0.94a\r\nFILE_LOCATIONS|%APP%|C:\\Games\\Vantorel\r\n"
              "FILE_LOCATIONS|%SHORTCUT%|\r\nFILE_LOCATIONS|%DESKTOP%|\r\nFILE_LOCATIONS|%WIN%|C:\\WINDOWS\r\n"
              "INSTALLED_FILE|Default|%APP%|C:\\Games\\Vantorel\\Vantorel.exe\r\n"
              "REG_KEY|HKEY_CURRENT_USER|Software\\Hollowmere\\Vantorel\r\n");
    EXPECT_STREQ(logDigest(log).text(), "d912a3c9aab4489c6e19b356cfeb8e0c4161abe4774523aa7f51e956a993381b");
}
