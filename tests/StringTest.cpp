#include <gtest/gtest.h>

#include <string>

#include "foundation/String.h"

TEST(StringSharing, CopiesShareUntilOneChanges) {
    String a("abc");
    String b(a);
    EXPECT_TRUE(a.sharesWith(b));
    EXPECT_EQ(a.refCount(), 2u);
    b.append("d");
    EXPECT_STREQ(a.text(), "abc");
    EXPECT_STREQ(b.text(), "abcd");
    EXPECT_EQ(a.refCount(), 1u);
    EXPECT_EQ(b.refCount(), 1u);
    b = a;  // reads and cuts that keep everything share too
    EXPECT_TRUE(a.left(10).sharesWith(b));
    EXPECT_FALSE(a.right(3).sharesWith(a));
    EXPECT_EQ(a.refCount(), 2u);
    b = "other";
    EXPECT_EQ(a.refCount(), 1u);
}

TEST(StringSharing, UnsharingCopiesToExactLengthNotOldCapacity) {
    String a;
    a.format("%s", "abc");  // left at capacity 4
    ASSERT_TRUE(a.setCapacity(50));
    String b(a);
    b.charAt(0) = 'x';
    EXPECT_EQ(b.capacity(), 4u);
    EXPECT_EQ(a.capacity(), 50u);
    EXPECT_STREQ(a.text(), "abc");
}

TEST(StringSharing, EmptyRepresentationStaysEmpty) {
    const StringRep* empty = String::emptyRepresentation();
    uint32_t held = empty->refCount;
    {
        String a, b, c, d;
        EXPECT_TRUE(a.sharesWith(b));
        EXPECT_EQ(empty->refCount, held + 4);
        a.append("x");
        b.charAt(0) = 'y';
        c.format("%d", 5);
        d.setCapacity(8);
        d.writableText()[0] = 'z';
        EXPECT_STREQ(b.text(), "y");
    }
    EXPECT_EQ(empty->refCount, held);
    EXPECT_STREQ(String().text(), "");
}

TEST(StringCapacity, ExactAfterEachChange) {
    String s("xyz");
    s.append("ab");
    EXPECT_STREQ(s.text(), "xyzab");
    EXPECT_EQ(s.capacity(), 6u);
    String p("xyz");
    p.prepend("ab");
    EXPECT_STREQ(p.text(), "abxyz");
    EXPECT_EQ(p.capacity(), 6u);

    // append re-allocates to the exact size even from a larger buffer
    String big("ab");
    big.setCapacity(40);
    big.append("c");
    EXPECT_EQ(big.capacity(), 4u);

    // replace grows to fit but never shrinks
    String r("abcdef");
    r.replace(1, 2, "XXXXX");
    EXPECT_STREQ(r.text(), "aXXXXXdef");
    EXPECT_EQ(r.capacity(), 10u);
    r.replace(1, 100, "");
    EXPECT_STREQ(r.text(), "a");
    EXPECT_EQ(r.capacity(), 10u);
    r.replace(1, 0, "bc");  // at the end: appends, exact again
    EXPECT_STREQ(r.text(), "abc");
    EXPECT_EQ(r.capacity(), 4u);

    String c("abc");
    c.charAt(3) = 'd';
    EXPECT_STREQ(c.text(), "abcd");
    EXPECT_EQ(c.capacity(), 5u);
    c.charAt(7) = 'q';  // far past the end: terminated, zero-filled
    EXPECT_EQ(c.capacity(), 9u);
    EXPECT_STREQ(c.text(), "abcd");
}

TEST(StringCapacity, SetCapacityCutsOrPads) {
    String s("abcdef");
    EXPECT_TRUE(s.setCapacity(3));
    EXPECT_STREQ(s.text(), "ab");
    EXPECT_EQ(s.capacity(), 3u);
    EXPECT_TRUE(s.setCapacity(8));
    EXPECT_EQ(s.length(), 2u);
    for (uint32_t i = 2; i < 8; ++i) EXPECT_EQ(s.text()[i], '\0');
}

TEST(StringFormat, SizesItsBuffer) {
    String s;
    EXPECT_EQ(s.format("x=%d", 5), 3);
    EXPECT_STREQ(s.text(), "x=5");
    EXPECT_EQ(s.capacity(), 4u);
    String large("q");
    large.setCapacity(2000);
    large.format("x=%d", 5);
    EXPECT_EQ(large.capacity(), 2000u);
    EXPECT_STREQ(large.text(), "x=5");
}

TEST(StringFormat, LongOutputGrowsToFitNeverPast) {
    std::string long1500(1500, 'a');
    String s;
    EXPECT_EQ(s.format("<%s>", long1500.c_str()), 1502);
    EXPECT_EQ(s.length(), 1502u);
    EXPECT_EQ(s.capacity(), 1503u);
    EXPECT_EQ(std::string(s.text()), "<" + long1500 + ">");

    // A buffer already large keeps its size unless the output needs more.
    String large("q");
    large.setCapacity(1100);
    large.format("%s", long1500.c_str());
    EXPECT_EQ(large.length(), 1500u);
    EXPECT_EQ(large.capacity(), 1501u);

    // Shared: the copy being written is the one that grows; the other is untouched.
    String shared("q");
    shared.setCapacity(2000);
    String other(shared);
    shared.format("%s", long1500.c_str());
    EXPECT_EQ(shared.length(), 1500u);
    EXPECT_STREQ(other.text(), "q");
    EXPECT_EQ(other.capacity(), 2000u);
}

TEST(StringSearch, FindAtBoundaries) {
    String s("xxab");
    EXPECT_EQ(s.find(0, "AB", false), 2u);
    EXPECT_EQ(s.find(0, "AB", true), String::notFound);
    EXPECT_EQ(s.find(2, "ab", true), 2u);
    EXPECT_EQ(s.find(3, "ab", true), String::notFound);
    EXPECT_EQ(s.find(3, "AB", false), String::notFound);
    EXPECT_EQ(s.find(0, "xxabc", false), String::notFound);
    EXPECT_EQ(s.find(5, "a", true), String::notFound);  // start past the end

    EXPECT_EQ(s.findChar(0, 'B', false), 3u);
    EXPECT_EQ(s.findChar(0, 'B', true), String::notFound);
    EXPECT_EQ(s.findChar(3, 'b', true), 3u);
    EXPECT_EQ(s.findChar(4, 'b', true), String::notFound);
}

TEST(StringSearch, FindLastAtBoundaries) {
    String path("C:\\a\\b");
    EXPECT_EQ(path.findLastChar(path.length(), '\\', true), 4u);
    EXPECT_EQ(path.findLastChar(3, '\\', true), 2u);
    EXPECT_EQ(path.findLastChar(1, '\\', true), String::notFound);
    EXPECT_EQ(String("abc").findLastChar(3, '\\', true), String::notFound);
    EXPECT_EQ(String("aBc").findLastChar(3, 'b', false), 1u);

    String s("abcab");
    EXPECT_EQ(s.findLast(s.length(), "ab", true), 3u);
    EXPECT_EQ(s.findLast(2, "ab", true), 0u);
    EXPECT_EQ(s.findLast(5, "AB", false), 3u);
    EXPECT_EQ(s.findLast(5, "AB", true), String::notFound);
    EXPECT_EQ(s.findLast(5, "abcabc", true), String::notFound);
}

TEST(StringCut, LeftMidRight) {
    String s("abc");
    EXPECT_STREQ(s.left(10).text(), "abc");
    EXPECT_STREQ(s.left(0).text(), "");
    EXPECT_STREQ(s.left(2).text(), "ab");
    EXPECT_EQ(s.left(2).capacity(), 3u);
    EXPECT_STREQ(s.mid(5, 2).text(), "");
    EXPECT_STREQ(s.mid(3, 1).text(), "");
    EXPECT_STREQ(s.mid(1, 100).text(), "bc");
    EXPECT_STREQ(s.right(2).text(), "bc");
    EXPECT_STREQ(s.right(3).text(), "abc");
}

TEST(StringTrim, RunsAndSpaces) {
    String dir("C:\\dir\\\\\\");
    dir.trimRight('\\');
    EXPECT_STREQ(dir.text(), "C:\\dir");
    String slashes("\\\\");
    slashes.trimRight('\\');
    EXPECT_STREQ(slashes.text(), "");
    String empty;
    empty.trimRight('\\');
    empty.trimRight();
    EXPECT_STREQ(empty.text(), "");
    String spaced(" \t a b \r\n ");
    String keep(spaced);
    spaced.trimLeft();
    spaced.trimRight();
    EXPECT_STREQ(spaced.text(), "a b");
    EXPECT_STREQ(keep.text(), " \t a b \r\n ");
}

TEST(StringConcat, PlusLeavesOperandAndSelfAppendIsSafe) {
    String a("ab");
    String b = a + "cd";
    EXPECT_STREQ(a.text(), "ab");
    EXPECT_STREQ(b.text(), "abcd");
    String r = (a += "x");
    EXPECT_STREQ(a.text(), "abx");
    EXPECT_TRUE(r.sharesWith(a));
    a.append(a.text());
    EXPECT_STREQ(a.text(), "abxabx");
    a.prepend(a.text() + 3);
    EXPECT_STREQ(a.text(), "abxabxabx");
}
