#include <gtest/gtest.h>

#include "engine/FileVersionInfo.h"
#include "platform/platform.h"
#include "tests/support/TempSandbox.h"
#include "tests/support/TinyPe.h"

namespace {

const uint32_t sample[13] = {0xFEEF04BDu, 0x00010000, 0x00010000, 0x00000001, 0x00020003,
                             0x00040005,  0x3F,       0x0,        0x00040004, 0x1,
                             0x0,         0x01D2C3B4, 0x5A6B7C8D};
const uint32_t zero[13] = {};

class VersionInfo : public SandboxTest {
protected:
    void put(const char* windowsPath, const Bytes& bytes) {
        sandbox.writeHostFile(sandbox.path(windowsPath), std::string(bytes.begin(), bytes.end()));
    }
    void expectWords(const uint32_t (&words)[13]) {
        for (int i = 0; i < FileVersionInfo::fixedWordCount; ++i)
            EXPECT_EQ(info.fixedWord(i), words[i]) << "word " << i;
    }
    const char* fails(const char* windowsPath) {
        ErrorHandle result = info.readVersionInfo(windowsPath);
        EXPECT_EQ(result.severity(), SeverityError);
        EXPECT_EQ(result.code(), 0);
        message = result.message().text();
        return message.c_str();
    }
    FileVersionInfo info;
    std::string message;
};

TEST_F(VersionInfo, ReadsFixedInfoAndTranslationAndEachReadReplacesTheLast) {
    put("C:\\tools\\tool.exe", tinyPe(versionResource(fixedInfo(sample), true, 0x0407, 0x04B0)));
    ErrorHandle result = info.readVersionInfo("C:\\tools\\tool.exe");
    ASSERT_TRUE(result.isNull()) << result.message().text();
    expectWords(sample);
    EXPECT_EQ(info.language(), 0x0407);
    EXPECT_EQ(info.codePage(), 0x04B0);

    uint32_t other[13] = {0xFEEF04BDu, 0x00010000, 0x00020000, 0x00000007};
    put("C:\\plain.exe", tinyPe(versionResource(fixedInfo(other), false)));
    ASSERT_TRUE(info.readVersionInfo("C:\\plain.exe").isNull());
    expectWords(other);
    EXPECT_EQ(info.language(), 0);
    EXPECT_EQ(info.codePage(), 1252);

    // A failed read leaves nothing of the earlier file behind.
    EXPECT_TRUE(isFailure(info.readVersionInfo("C:\\gone.exe")));
    expectWords(zero);
}

TEST_F(VersionInfo, EachFailureNamesTheFile) {
    EXPECT_STREQ(fails("C:\\nowhere\\missing.exe"),
                 "File C:\\nowhere\\missing.exe does not have version info (or does not exist)");
    put("C:\\icon.exe", tinyPe(versionResource(fixedInfo(sample), true), 3));
    EXPECT_STREQ(fails("C:\\icon.exe"),
                 "File C:\\icon.exe does not have version info (or does not exist)");
    put("C:\\notes.txt", Bytes{'h', 'i'});
    EXPECT_STREQ(fails("C:\\notes.txt"),
                 "File C:\\notes.txt does not have version info (or does not exist)");

    Bytes shortFixed = fixedInfo(sample);
    shortFixed.resize(40);
    put("C:\\short.exe", tinyPe(versionResource(shortFixed, true)));
    EXPECT_STREQ(fails("C:\\short.exe"),
                 "Error reading fixed file info in version info of file C:\\short.exe");
    put("C:\\none.exe", tinyPe(versionResource(Bytes(), true)));
    EXPECT_STREQ(fails("C:\\none.exe"),
                 "Error reading fixed file info in version info of file C:\\none.exe");
    expectWords(zero);

    put("C:\\tool.exe", tinyPe(versionResource(fixedInfo(sample), true)));
    platform::host::failCall(platform::host::Fault::readVersion, 1);
    EXPECT_STREQ(fails("C:\\tool.exe"), "Error reading version info of file C:\\tool.exe");
    EXPECT_TRUE(info.readVersionInfo("C:\\tool.exe").isNull());
}

TEST_F(VersionInfo, WrongSignatureIsReportedAfterTheWordsAreKept) {
    uint32_t words[13] = {0x12345678, 0x00010000, 0x00030000, 0x00000002};
    put("C:\\odd.exe", tinyPe(versionResource(fixedInfo(words), true, 0x0409, 0x04E4)));
    EXPECT_STREQ(fails("C:\\odd.exe"), "Invalid signature in version info of file C:\\odd.exe");
    expectWords(words);
    EXPECT_EQ(info.language(), 0x0409);
}

// Every cut of a good image, and every damaged byte of its headers and
// resource tree, gives a report or a clean read, never a read outside the
// file (the sanitizer build watches the buffers).
TEST_F(VersionInfo, TruncatedAndDamagedImagesFailCleanly) {
    Bytes good = tinyPe(versionResource(fixedInfo(sample), true, 0x0409, 0x04E4));
    size_t resourceEnd = 0x200 + 0x58 + versionResource(fixedInfo(sample), true).size();
    for (size_t cut = 0; cut < resourceEnd; cut += 7) {
        put("C:\\cut.exe", Bytes(good.begin(), good.begin() + static_cast<long>(cut)));
        EXPECT_TRUE(isFailure(info.readVersionInfo("C:\\cut.exe"))) << "cut at " << cut;
    }
    for (size_t at = 0; at < resourceEnd; at += 3) {
        if (at >= 0x40 + 24 + 0xE0 + 40 && at < 0x200) continue;  // padding
        Bytes damaged = good;
        damaged[at] ^= 0xFF;
        put("C:\\damaged.exe", damaged);
        info.readVersionInfo("C:\\damaged.exe");
    }
}

TEST_F(VersionInfo, QueriesWalkNamedSubBlocksWithoutRegardToCase) {
    Bytes block = versionResource(fixedInfo(sample), true, 0x0409, 0x04E4);
    const void* value = nullptr;
    uint32_t length = 0;
    ASSERT_TRUE(platform::versionQueryValue(block.data(), "\\varfileinfo\\TRANSLATION", &value,
                                            &length));
    EXPECT_EQ(length, 4u);
    ASSERT_TRUE(platform::versionQueryValue(block.data(), "\\StringFileInfo\\040904E4", &value,
                                            &length));
    EXPECT_EQ(length, 0u);
    EXPECT_FALSE(platform::versionQueryValue(block.data(), "\\VarFileInfo\\Missing", &value,
                                             &length));
    EXPECT_FALSE(platform::versionQueryValue(block.data(), "\\VarFileInfo\\Translation\\x",
                                             &value, &length));
}

}  // namespace
