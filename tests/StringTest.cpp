#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/String.h"
#include "platform/Text.h"
#include "platform/host/HostControl.h"

TEST(StringSharing, CopiesAndTheEmptyTextShareUntilOneChanges) {
    String a("abc");
    String b(a);
    EXPECT_TRUE(a.sharesWith(b));
    b.append("d");
    EXPECT_STREQ(a.text(), "abc");
    EXPECT_STREQ(b.text(), "abcd");
    // The shared empty text is never written through.
    uint32_t held = String::emptyRepresentation()->refCount;
    {
        String a, b, c, d;
        a.append("x");
        b.charAt(0) = 'y';
        c.format("%d", 5);
        d.setCapacity(8);
        d.writableText()[0] = 'z';
    }
    EXPECT_EQ(String::emptyRepresentation()->refCount, held);
}

TEST(StringEdit, OutOfRangeTrimAndSelfAppendStaySafe) {
    String r("abcdef");
    r.replace(1, 100, "X");
    EXPECT_STREQ(r.text(), "aX");
    String c("abc");
    c.charAt(7) = 'q';  // far past the end: terminated, zero-filled
    EXPECT_STREQ(c.text(), "abc");
    String s("xxab");
    EXPECT_EQ(s.find(0, "AB", false), 2u);
    EXPECT_EQ(s.find(0, "xxabc", false), String::notFound);
    EXPECT_EQ(s.find(5, "a", true), String::notFound);
    EXPECT_EQ(s.findLast(4, "AB", false), 2u);
    EXPECT_EQ(s.findLastChar(1, 'a', true), String::notFound);
    EXPECT_STREQ(s.mid(7, 2).text(), "");
    String slashes("\\\\");
    slashes.trimRight('\\');
    EXPECT_STREQ(slashes.text(), "");
    String spaced(" \t a b \r\n ");
    String keep(spaced);
    spaced.trimLeft();
    spaced.trimRight();
    EXPECT_STREQ(spaced.text(), "a b");
    EXPECT_STREQ(keep.text(), " \t a b \r\n ");
    String a("abx");
    a.append(a.text());
    a.prepend(a.text() + 3);
    EXPECT_STREQ(a.text(), "abxabxabx");
}

TEST(StringFormat, GrowsToFitNeverPastAndMayFormatItsOwnText) {
    // Whether the system tells how long a text that did not fit is (the host)
    // or only that it did not fit (msvcrt.dll): the whole text, kept exactly.
    for (bool untold : {false, true}) {
        platform::host::formatLikeMsvcrt(untold);
        for (size_t length : {1500u, 5000u}) {
            std::string text(length, 'a');
            String s;
            EXPECT_EQ(s.format("<%s>", text.c_str()), static_cast<int>(length + 2));
            EXPECT_EQ(s.capacity(), length + 3);
            EXPECT_EQ(std::string(s.text()), "<" + text + ">");
        }
    }
    platform::host::formatLikeMsvcrt(false);
    // Arguments may be the string's own text.
    String small("abc");
    small.format("%s-%s", small.text(), small.text());  // its buffer is replaced to format
    EXPECT_STREQ(small.text(), "abc-abc");
    EXPECT_EQ(small.capacity(), 8u);
    String large(2000, 0);
    std::strcpy(large.writableText(), "xyz");
    large.format("[%s]", large.text());  // formatted in place before
    EXPECT_STREQ(large.text(), "[xyz]");
    EXPECT_EQ(large.capacity(), 2000u);
}

// Names compare as Windows compares file, key and value names: letter by
// letter in any script, by the system's upper case of each UTF-16 unit, with
// no normalisation and nothing folded above the Basic Multilingual Plane.
TEST(NameComparison, WithoutRegardToCaseInAnyScript) {
    EXPECT_EQ(compareNoCase("C:\\ИГРЫ\\Vantorel", "c:\\игры\\vantorel"), 0);
    EXPECT_EQ(compareNoCase("ΑΘΗΝΑ", "αθηνα"), 0);
    EXPECT_EQ(compareNoCase("Ärger", "äRGER"), 0);
    EXPECT_EQ(compareNoCase("表示", "表示"), 0);
    EXPECT_NE(compareNoCase("表示", "表"), 0);
    EXPECT_NE(compareNoCase("Café", "Cafe\u0301"), 0);       // precomposed is another name
    EXPECT_NE(compareNoCase("\U00010428", "\U00010400"), 0);  // Deseret: not folded
    EXPECT_NE(compareNoCase("straße", "STRASSE"), 0);         // one unit never becomes two
    EXPECT_LT(compareNoCase("Игры", "Игры\\x"), 0);
    EXPECT_EQ(compareNoCase("C:\\ИГРЫ\\x", "c:\\игры", 11), 0);  // a prefix, in bytes
    EXPECT_EQ(String("C:\\Игры\\Доки").find(0, "доки", false), 12u);
}

TEST(NameComparison, Utf8IsCheckedAndCountedAsWindowsCountsIt) {
    const char* good = "Игорь 表示 \U0001F3B2";
    EXPECT_TRUE(platform::isValidUtf8(good, std::strlen(good)));
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "\xE8\xA1"})
        EXPECT_FALSE(platform::isValidUtf8(bad, std::strlen(bad))) << bad;
    EXPECT_EQ(platform::utf16Units("Игорь"), 5u);
    EXPECT_EQ(platform::utf16Units("a\U0001F3B2"), 3u);  // a surrogate pair
}
