#include <gtest/gtest.h>

#include <string>

#include "foundation/GrowableArray.h"
#include "foundation/String.h"

namespace {
// Steps the setup uses, and steps that would leave no room if taken literally.
struct Growth {
    int step;
    bool doubling;
};
const Growth growths[] = {{8, false}, {8, true}, {1, false}, {0, false}, {-3, false}, {0, true}};

void expectNumbered(const GrowableArray<String>& array, int count) {
    ASSERT_EQ(array.size(), count);
    for (int i = 0; i < count; ++i) EXPECT_STREQ(array[i].text(), std::to_string(i).c_str()) << "at " << i;
}
}  // namespace

TEST(GrowableArray, KeepsEveryAppendedElementInOrderWhateverItsGrowth) {
    for (const Growth& g : growths) {
        SCOPED_TRACE(g.step);
        GrowableArray<String> array(g.step, g.doubling);
        EXPECT_EQ(array.size(), 0);
        for (int i = 0; i < 100; ++i) array.append(std::to_string(i).c_str());
        expectNumbered(array, 100);
    }
}

TEST(GrowableArray, CopiesAndClearedArraysAreIndependentValues) {
    GrowableArray<String> original;
    for (int i = 0; i < 20; ++i) original.append(std::to_string(i).c_str());
    GrowableArray<String> copy(original), assigned;
    assigned.append("old");
    assigned = original;  // replaces, not appends
    const GrowableArray<String>& same = assigned;
    assigned = same;
    expectNumbered(assigned, 20);

    copy[0] = "changed";
    copy.append("20");
    assigned.clear();
    expectNumbered(original, 20);
    EXPECT_STREQ(copy[0].text(), "changed");
    EXPECT_EQ(copy.size(), 21);
    EXPECT_EQ(assigned.size(), 0);
    for (int i = 0; i < 30; ++i) assigned.append(std::to_string(i).c_str());  // a cleared array is reused
    expectNumbered(assigned, 30);
}

TEST(GrowableArray, AppendingItsOwnElementSurvivesEveryGrowth) {
    // At some sizes the append must grow, which frees the storage the element
    // lives in; the sanitizer build sees any read of it.
    for (const Growth& g : growths) {
        SCOPED_TRACE(g.step);
        GrowableArray<String> array(g.step, g.doubling);
        array.append("0");
        for (int i = 1; i < 40; ++i) array.append(array[i - 1]);
        ASSERT_EQ(array.size(), 40);
        for (int i = 0; i < 40; ++i) EXPECT_STREQ(array[i].text(), "0");
    }
}
