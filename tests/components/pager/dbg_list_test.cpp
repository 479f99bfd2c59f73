// The list that tests its index on item access.
#include "components/pager/dbg_list.h"

#include <gtest/gtest.h>

namespace {

String MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EListError& e) {
        return "EListError";
    } catch (const Exception& e) {
        return e.Message();
    }
    return "none";
}

TEST(DbgListTest, AnIndexAtOrPastTheEndSaysWhichAccessFailed) {
    TDbgList<TObject> list;
    TObject a, b, c;
    list.Add(&a);
    list.Add(&b);
    list.Add(&c);
    EXPECT_EQ(list.Items(2), &c);
    EXPECT_EQ(list[0], &a);
    EXPECT_EQ(MessageOf([&] { list.Items(5); }), "Index out of bounds in list read access");
    EXPECT_EQ(MessageOf([&] { list.Items(3); }), "Index out of bounds in list read access");
    EXPECT_EQ(MessageOf([&] { list.SetItems(3, &a); }), "Index out of bounds in list write access");
    // Below zero: the base list's own error.
    EXPECT_EQ(MessageOf([&] { list.Items(-1); }), "EListError");
    list.SetItems(1, &c);
    EXPECT_EQ(list.Items(1), &c);
}

}  // namespace
