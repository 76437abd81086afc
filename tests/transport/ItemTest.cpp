#include <gtest/gtest.h>

#include "transport/Item.h"

namespace vadero {
namespace {

TEST(ItemList, KeepsOrderAndAnswersEmptyOutsideTheList) {
    TItemList list;
    EXPECT_EQ(list.Add("/dev/hidraw3"), 1);
    EXPECT_EQ(list.Add("/dev/hidraw1"), 2);
    EXPECT_EQ(list.Get(0), "/dev/hidraw3");
    EXPECT_EQ(list.Get(1), "/dev/hidraw1");
    EXPECT_EQ(list.Get(-1), "");
    EXPECT_EQ(list.Get(2), "");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Get(0), "");
}

}  // namespace
}  // namespace vadero
