#include "components/pager/pager_close_queue.h"

#include <gtest/gtest.h>

namespace {

TEST(PendingFreeList, OnlyAListedItemIsTakenAndOnlyOnce) {
    int a = 0, b = 0, stranger = 0;
    TPendingFreeList<int> list;
    list.Add(&a);
    list.Add(&a);
    list.Add(nullptr);
    list.Add(&b);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_FALSE(list.Take(&stranger));  // a posted parameter nobody listed
    EXPECT_TRUE(list.Take(&a));
    EXPECT_FALSE(list.Take(&a));
    EXPECT_EQ(list.TakeAll(), (std::vector<int*>{&b}));
    EXPECT_EQ(list.Count(), 0);
}

}  // namespace
