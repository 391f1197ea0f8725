#include <gtest/gtest.h>

#include "engine/FileVersionInfo.h"
#include "platform/platform.h"
#include "tests/support/TempSandbox.h"
#include "tests/support/TinyPe.h"

namespace {

const uint32_t sampleWords[13] = {0xFEEF04BDu, 0x00010000, 0x00010000, 0x00000001,
                                  0x00020003, 0x00040005, 0x3F,       0x0,
                                  0x00040004, 0x1,        0x0,        0x01D2C3B4,
                                  0x5A6B7C8D};

class VersionInfo : public SandboxTest {
protected:
    void put(const char* windowsPath, const Bytes& bytes) {
        sandbox.writeHostFile(sandbox.path(windowsPath), asText(bytes));
    }
    void expectWords(const FileVersionInfo& info, const uint32_t (&words)[13]) {
        for (int i = 0; i < FileVersionInfo::fixedWordCount; ++i)
            EXPECT_EQ(info.fixedWord(i), words[i]) << "word " << i;
    }
    void expectZeroWords(const FileVersionInfo& info) {
        for (int i = 0; i < FileVersionInfo::fixedWordCount; ++i)
            EXPECT_EQ(info.fixedWord(i), 0u) << "word " << i;
    }
};

TEST_F(VersionInfo, ReadsFixedInfoAndTranslation) {
    put("C:\\tools\\tool.exe", tinyPe(versionResource(fixedInfo(sampleWords), true, 0x0407, 0x04B0)));
    FileVersionInfo info;
    ErrorHandle result = info.readVersionInfo("C:\\tools\\tool.exe");
    ASSERT_TRUE(result.isNull()) << result.message().text();
    expectWords(info, sampleWords);
    EXPECT_EQ(info.fileVersionMS(), 0x00010000u);
    EXPECT_EQ(info.fileVersionLS(), 0x00000001u);
    EXPECT_EQ(info.language(), 0x0407);
    EXPECT_EQ(info.codePage(), 0x04B0);
}

TEST_F(VersionInfo, WithoutTranslationKeepsLanguageZeroAndCodePage1252) {
    put("C:\\tools\\plain.exe", tinyPe(versionResource(fixedInfo(sampleWords), false)));
    FileVersionInfo info;
    ASSERT_TRUE(info.readVersionInfo("C:\\tools\\plain.exe").isNull());
    expectWords(info, sampleWords);
    EXPECT_EQ(info.language(), 0);
    EXPECT_EQ(info.codePage(), 1252);
}

TEST_F(VersionInfo, MissingFileIsReportedWithItsPath) {
    FileVersionInfo info;
    ErrorHandle result = info.readVersionInfo("C:\\nowhere\\missing.exe");
    EXPECT_EQ(result.severity(), SeverityError);
    EXPECT_EQ(result.code(), 0);
    EXPECT_STREQ(result.message().text(),
                 "File C:\\nowhere\\missing.exe does not have version info (or does not exist)");
    expectZeroWords(info);
}

TEST_F(VersionInfo, FilesWithoutVersionResourceAreReportedAlike) {
    put("C:\\tools\\icon.exe", tinyPe(versionResource(fixedInfo(sampleWords), true), 3));
    put("C:\\tools\\notes.txt", Bytes{'h', 'i'});
    FileVersionInfo info;
    EXPECT_STREQ(info.readVersionInfo("C:\\tools\\icon.exe").message().text(),
                 "File C:\\tools\\icon.exe does not have version info (or does not exist)");
    EXPECT_STREQ(info.readVersionInfo("C:\\tools\\notes.txt").message().text(),
                 "File C:\\tools\\notes.txt does not have version info (or does not exist)");
}

TEST_F(VersionInfo, SecondReadReplacesTheFirst) {
    uint32_t other[13] = {0xFEEF04BDu, 0x00010000, 0x00020000, 0x00000007};
    put("C:\\a.exe", tinyPe(versionResource(fixedInfo(sampleWords), true, 0x0409, 0x04E4)));
    put("C:\\b.exe", tinyPe(versionResource(fixedInfo(other), false)));
    FileVersionInfo info;
    ASSERT_TRUE(info.readVersionInfo("C:\\a.exe").isNull());
    ASSERT_TRUE(info.readVersionInfo("C:\\b.exe").isNull());
    expectWords(info, other);
    EXPECT_EQ(info.language(), 0);
    EXPECT_EQ(info.codePage(), 1252);
    // A failed read leaves nothing of the earlier file behind.
    EXPECT_TRUE(isFailure(info.readVersionInfo("C:\\gone.exe")));
    expectZeroWords(info);
}

TEST_F(VersionInfo, WrongSignatureIsReportedAfterTheWordsAreKept) {
    uint32_t words[13] = {0x12345678, 0x00010000, 0x00030000, 0x00000002};
    put("C:\\odd.exe", tinyPe(versionResource(fixedInfo(words), true, 0x0409, 0x04E4)));
    FileVersionInfo info;
    ErrorHandle result = info.readVersionInfo("C:\\odd.exe");
    EXPECT_EQ(result.severity(), SeverityError);
    EXPECT_STREQ(result.message().text(), "Invalid signature in version info of file C:\\odd.exe");
    expectWords(info, words);
    EXPECT_EQ(info.language(), 0x0409);
}

TEST_F(VersionInfo, FixedInfoMissingOrShortIsUnreadable) {
    Bytes shortFixed = fixedInfo(sampleWords);
    shortFixed.resize(40);
    put("C:\\short.exe", tinyPe(versionResource(shortFixed, true)));
    put("C:\\none.exe", tinyPe(versionResource(Bytes(), true)));
    FileVersionInfo info;
    EXPECT_STREQ(info.readVersionInfo("C:\\short.exe").message().text(),
                 "Error reading fixed file info in version info of file C:\\short.exe");
    EXPECT_STREQ(info.readVersionInfo("C:\\none.exe").message().text(),
                 "Error reading fixed file info in version info of file C:\\none.exe");
    expectZeroWords(info);
}

TEST_F(VersionInfo, FailedBlockReadIsReported) {
    put("C:\\tool.exe", tinyPe(versionResource(fixedInfo(sampleWords), true)));
    platform::host::failCall(platform::host::Fault::readVersion, 1);
    FileVersionInfo info;
    ErrorHandle result = info.readVersionInfo("C:\\tool.exe");
    EXPECT_EQ(result.severity(), SeverityError);
    EXPECT_STREQ(result.message().text(), "Error reading version info of file C:\\tool.exe");
    EXPECT_TRUE(info.readVersionInfo("C:\\tool.exe").isNull());
}

// Every cut of a good image, and every single damaged byte of its headers
// and resource tree, gives a report or a clean read: never a read outside
// the file (the sanitizer build watches the buffers).
TEST_F(VersionInfo, TruncatedAndDamagedImagesFailCleanly) {
    Bytes good = tinyPe(versionResource(fixedInfo(sampleWords), true, 0x0409, 0x04E4));
    size_t resourceEnd = 0x200 + 0x58 + versionResource(fixedInfo(sampleWords), true).size();
    FileVersionInfo info;
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

TEST_F(VersionInfo, QueriesWalkNamedSubBlocks) {
    Bytes block = versionResource(fixedInfo(sampleWords), true, 0x0409, 0x04E4);
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
