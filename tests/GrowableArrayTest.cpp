#include <gtest/gtest.h>

#include <string>

#include "foundation/GrowableArray.h"
#include "foundation/String.h"

namespace {
int capacityAfter(int count, int step, bool doubling) {
    GrowableArray<String> array(step, doubling);
    for (int i = 0; i < count; ++i) array.append(std::to_string(i).c_str());
    EXPECT_STREQ(array[count - 1].text(), std::to_string(count - 1).c_str());
    return array.capacity();
}
}  // namespace

TEST(GrowableArray, GrowsByStepsOfEightOrDoubling) {
    EXPECT_EQ(capacityAfter(8, 8, false), 8);
    EXPECT_EQ(capacityAfter(9, 8, false), 16);
    EXPECT_EQ(capacityAfter(17, 8, true), 32);
    EXPECT_GE(capacityAfter(2, 0, false), 2);  // a step below one still makes room
}

TEST(GrowableArray, CopiesShareTextAndDestructionReleasesIt) {
    String path("C:\\Games");
    {
        GrowableArray<String> array;
        for (int i = 0; i < 9; ++i) array.append(path);  // growth copies, sharing still
        EXPECT_EQ(path.refCount(), 10u);
        array[0] = "replaced";
        EXPECT_STREQ(path.text(), "C:\\Games");
    }
    EXPECT_EQ(path.refCount(), 1u);
}

TEST(GrowableArray, AppendingItsOwnElementWhileFullSurvivesTheGrowth) {
    GrowableArray<String> array(8, false);
    for (int i = 0; i < 8; ++i) array.append(std::to_string(i).c_str());
    array.append(array[0]);  // the growth frees the storage array[0] lives in
    array.append(array[8]);
    ASSERT_EQ(array.size(), 10);
    EXPECT_STREQ(array[8].text(), "0");
    EXPECT_STREQ(array[9].text(), "0");
}
