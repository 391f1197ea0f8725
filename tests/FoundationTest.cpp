#include <gtest/gtest.h>

#include "foundation/String.h"

TEST(String, CopiesShareUntilChanged) {
    String a("abc");
    String b(a);
    EXPECT_TRUE(a.sharesWith(b));
    EXPECT_EQ(a.refCount(), 2u);
    b.append("d");
    EXPECT_STREQ(a.text(), "abc");
    EXPECT_STREQ(b.text(), "abcd");
    EXPECT_EQ(a.refCount(), 1u);
    EXPECT_EQ(b.refCount(), 1u);
}
