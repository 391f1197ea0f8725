#include <gtest/gtest.h>

#include <string>

#include "foundation/GrowableArray.h"
#include "foundation/String.h"

namespace {
struct Counted {
    static int alive;
    int value = 0;
    Counted() { ++alive; }
    Counted(const Counted& other) : value(other.value) { ++alive; }
    Counted& operator=(const Counted&) = default;
    ~Counted() { --alive; }
};
int Counted::alive = 0;

GrowableArray<String> filled(int count, bool doubling) {
    GrowableArray<String> array(8, doubling);
    for (int i = 0; i < count; ++i) array.append(std::to_string(i).c_str());
    return array;
}
}  // namespace

TEST(GrowableArrayGrowth, StepsOfEight) {
    GrowableArray<String> array;
    EXPECT_EQ(array.capacity(), 0);
    array.append("first");
    EXPECT_EQ(array.size(), 1);
    EXPECT_EQ(array.capacity(), 8);
    GrowableArray<String> eight = filled(8, false);
    EXPECT_EQ(eight.capacity(), 8);
    GrowableArray<String> nine = filled(9, false);
    EXPECT_EQ(nine.size(), 9);
    EXPECT_EQ(nine.capacity(), 16);
    for (int i = 0; i < 9; ++i) EXPECT_STREQ(nine[i].text(), std::to_string(i).c_str());
    EXPECT_EQ(filled(17, false).capacity(), 24);
}

TEST(GrowableArrayGrowth, DoublingAfterTheFirstStep) {
    EXPECT_EQ(filled(1, true).capacity(), 8);
    EXPECT_EQ(filled(8, true).capacity(), 8);
    GrowableArray<String> nine = filled(9, true);
    EXPECT_EQ(nine.capacity(), 16);
    EXPECT_STREQ(nine[8].text(), "8");
    EXPECT_EQ(filled(17, true).capacity(), 32);
    EXPECT_EQ(filled(33, true).capacity(), 64);
}

TEST(GrowableArrayGrowth, StepBelowOneStillMakesRoom) {
    GrowableArray<String> array(0, false);
    array.append("a");
    array.append("b");
    EXPECT_EQ(array.size(), 2);
    EXPECT_GE(array.capacity(), 2);
    EXPECT_STREQ(array[1].text(), "b");
}

TEST(GrowableArrayElements, CopiesShareTextAndSlotsAreOwned) {
    String path("C:\\Games");
    {
        GrowableArray<String> array;
        array.append(path);
        EXPECT_TRUE(array[0].sharesWith(path));
        array[0] = "replaced";
        EXPECT_STREQ(path.text(), "C:\\Games");
        for (int i = 0; i < 8; ++i) array.append(path);  // growth copies, sharing still
        EXPECT_EQ(path.refCount(), 9u);
    }
    EXPECT_EQ(path.refCount(), 1u);

    {
        GrowableArray<Counted> never;
        EXPECT_EQ(Counted::alive, 0);  // no storage before the first append
        GrowableArray<Counted> used;
        Counted c;
        used.append(c);
        EXPECT_EQ(Counted::alive, 1 + 8);
    }
    EXPECT_EQ(Counted::alive, 0);
}
