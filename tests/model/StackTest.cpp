#include <gtest/gtest.h>

#include "model/IntStack.h"
#include "support/ScopedTempDir.h"

TEST(StackInt, PushPopReusesRecordsAndText) {
    WIntStack s;
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.Pop(), 0);
    EXPECT_EQ(s.GetText(), "");
    s.Push(5);
    s.Push(7);
    EXPECT_EQ(s.Pop(), 7);
    s.Push(9); // reuses the second record
    EXPECT_EQ(s.GetText(), "5,9,");
    EXPECT_EQ(s.Count(), 2);
    EXPECT_EQ(s.Peek(0), 9);
    EXPECT_EQ(s.Peek(1), 5);
    EXPECT_EQ(s.Peek(2), 9);
    EXPECT_EQ(s.Peek(3), 0); // beyond the array
    EXPECT_EQ(s.Peek(-1), 0);
    EXPECT_TRUE(s.Contains(5));
    EXPECT_FALSE(s.Contains(7));
    // A popped value stays in its record: Peek reaches it, Contains does not.
    s.Push(-3);
    EXPECT_EQ(s.Pop(), -3);
    EXPECT_EQ(s.Peek(3), -3);
    EXPECT_FALSE(s.Contains(-3));
    EXPECT_EQ(s.GetText(), "5,9,");
    EXPECT_EQ(s.Pop(), 9);
    EXPECT_EQ(s.Pop(), 5);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.Peek(0), 0);
    EXPECT_EQ(s.Pop(), 0);
    EXPECT_EQ(s.Count(), 0);
}

TEST(StackInt, ClearEmptiesTheArrayAndDeepStacksSpill) {
    ScopedTempDir tmp;
    WIntStack s;
    s.Push(1);
    s.Push(2);
    s.Clear();
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.Peek(1), 0); // the array itself was emptied
    s.Push(4);
    EXPECT_EQ(s.GetText(), "4,");
    s.Clear();
    // A deep walk: a million entries, then popped and pushed again.
    for (int i = 1; i <= 1000000; ++i) s.Push(i);
    EXPECT_EQ(tmp.qelFiles().size(), 1u);
    EXPECT_EQ(s.Count(), 1000000);
    for (int i = 1000000; i > 500000; --i) ASSERT_EQ(s.Pop(), i);
    for (int i = 0; i < 1000; ++i) s.Push(-i);
    EXPECT_EQ(s.Peek(0), -999);
    EXPECT_EQ(s.Peek(500000), 500000);
    EXPECT_EQ(s.Peek(500001), 0);
    EXPECT_EQ(s.Peek(501001), 501001); // stale record above the top
    EXPECT_TRUE(s.Contains(-999));
    EXPECT_FALSE(s.Contains(600000));
    EXPECT_EQ(s.GetText().substr(0, 8), "1,2,3,4,");
}
