#include <gtest/gtest.h>

#include "classlib/core/lists.h"

namespace {

struct Counted : TObject {
    explicit Counted(int& alive) : Alive(alive) { ++Alive; }
    ~Counted() override { --Alive; }
    int& Alive;
};

TEST(Lists, PointerListOperationsAndBounds) {
    int a = 1, b = 2, c = 3;
    TList<int> list;
    list.Add(&a);
    list.Add(&b);
    list.Insert(0, &c);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0], &c);
    EXPECT_EQ(list.IndexOf(&b), 2);
    list.Move(0, 2);
    EXPECT_EQ(list.Last(), &c);
    list.Move(2, 0);
    EXPECT_EQ(list.First(), &c);
    EXPECT_EQ(list[1], &a);
    list.Move(0, 2);
    EXPECT_EQ(list[1], &b);
    list.Exchange(0, 1);
    EXPECT_EQ(list.First(), &b);
    EXPECT_EQ(list.Extract(&b), &b);
    EXPECT_EQ(list.Extract(&b), nullptr);
    EXPECT_EQ(list.Remove(&c), 1);
    list.Add(nullptr);
    list.Pack();
    EXPECT_EQ(list.Count(), 1);
    try {
        list.Items(5);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (5)");
    }
    EXPECT_THROW(list.Insert(3, &a), EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
}

TEST(Lists, ObjectListFreesWhatItOwns) {
    int alive = 0;
    {
        TObjectList<Counted> owned;
        owned.Add(new Counted(alive));
        owned.Add(new Counted(alive));
        Counted* kept = new Counted(alive);
        owned.Add(kept);
        EXPECT_EQ(alive, 3);
        owned.Delete(0);
        EXPECT_EQ(alive, 2);
        owned.Extract(kept);
        delete kept;
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
    TObjectList<Counted> notOwned(false);
    Counted item(alive);
    notOwned.Add(&item);
    notOwned.Clear();
    EXPECT_EQ(alive, 1);
}

TEST(Lists, ThreadListAddsOnce) {
    int a = 0;
    TThreadList<int> list;
    list.Add(&a);
    list.Add(&a);
    TList<int>& locked = list.LockList();
    EXPECT_EQ(locked.Count(), 1);
    list.UnlockList();
}

}  // namespace
