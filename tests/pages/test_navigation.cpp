#include "pages/navigation.h"

#include <gtest/gtest.h>

TEST(NavPointer, StartsUnpositionedAndStepsIntoRange) {
    TVrnNavPointer p(5);
    bool back = true, fwd = true;
    p.SetButtons([&](bool e) { back = e; }, [&](bool e) { fwd = e; });
    EXPECT_EQ(p.Position(), -1);
    EXPECT_FALSE(p.GoBackEnabled());
    EXPECT_FALSE(p.GoForwardEnabled());
    EXPECT_FALSE(back);
    EXPECT_FALSE(fwd);
    p.GoForward();
    EXPECT_EQ(p.Position(), 0);
    EXPECT_FALSE(back);
    EXPECT_TRUE(fwd);
    p.SetPosition(4);
    EXPECT_TRUE(back);
    EXPECT_FALSE(fwd);
}

TEST(NavPointer, OutOfRangeRaisesAndChangesNothing) {
    TVrnNavPointer p(3);
    p.SetPosition(1);
    int changes = 0;
    p.OnChange = [&](TVrnNavPointer&, int32_t) { ++changes; };
    for (int bad : {-1, 3, 100}) {
        try {
            p.SetPosition(bad);
            FAIL();
        } catch (const EListError& e) {
            EXPECT_STREQ(e.what(), "Pointer Index out of bounds!");
        }
    }
    EXPECT_EQ(p.Position(), 1);
    EXPECT_EQ(changes, 0);
    TVrnNavPointer empty(0);
    empty.GoForward();
    empty.GoBack();
    EXPECT_EQ(empty.Position(), -1);
}

TEST(HistoryList, AddGoBackAndAppendKeepsItemsAhead) {
    TVrnHistoryList h;
    int starts = 0, ends = 0;
    h.OnReachStart = [&](TVrnNavPointer&, int32_t) { ++starts; };
    h.OnReachEnd = [&](TVrnNavPointer&, int32_t) { ++ends; };
    h.Add("a");
    EXPECT_EQ(h.Current(), 0);
    EXPECT_FALSE(h.GoBackEnabled());
    EXPECT_FALSE(h.GoForwardEnabled());
    h.Add("b");
    h.Add("b"); // duplicates stay
    EXPECT_EQ(h.Current(), 2);
    EXPECT_TRUE(h.GoBackEnabled());
    EXPECT_FALSE(h.GoForwardEnabled());
    h.GoBack();
    h.GoBack();
    EXPECT_EQ(h.Current(), 0);
    EXPECT_FALSE(h.GoBackEnabled());
    EXPECT_TRUE(h.GoForwardEnabled());
    EXPECT_EQ(starts, 1);
    h.Add("c");
    EXPECT_EQ(h.Count(), 4);
    EXPECT_EQ(h.Current(), 3);
    EXPECT_EQ(h[1], "b");
    EXPECT_EQ(h[2], "b");
    h.GoForward(); // already at the end: fires again
    EXPECT_EQ(h.Current(), 3);
    EXPECT_EQ(ends, 1);
}

TEST(HistoryList, AssignMovesToFirstAndEmptySourceRaises) {
    TVrnHistoryList h;
    h.Assign({"x", "y"});
    EXPECT_EQ(h.Current(), 0);
    EXPECT_TRUE(h.GoForwardEnabled());
    EXPECT_THROW(h.Assign({}), EListError);
    EXPECT_EQ(h.Count(), 0);
}

TEST(HistoryList, DropAheadForgetsThePagesAfterTheCurrentOne) {
    TVrnHistoryList h;
    h.DropAhead(); // empty: nothing to drop
    for (const char* s : {"a", "b", "c", "d"}) h.Add(s);
    h.DropAhead(); // at the end: nothing ahead
    EXPECT_EQ(h.Count(), 4);
    h.GoBack();
    h.GoBack();
    h.DropAhead();
    EXPECT_EQ(h.Count(), 2);
    EXPECT_EQ(h.Current(), 1);
    EXPECT_FALSE(h.GoForwardEnabled());
    EXPECT_TRUE(h.GoBackEnabled());
    h.Add("e");
    EXPECT_EQ(h.Strings(), (TStringList{"a", "b", "e"}));
    h.Put(0, "a2");
    EXPECT_EQ(h[0], "a2");
    EXPECT_THROW(h.Put(3, "x"), ERangeError);
}
