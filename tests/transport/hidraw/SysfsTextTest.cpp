#include "transport/hidraw/SysfsText.h"

#include <gtest/gtest.h>

namespace vadero {
namespace {

TEST(SysfsText, HidIdGivesVendorAndProduct) {
    const auto usb = ParseHidId("0003:00000451:00000026");
    ASSERT_TRUE(usb);
    EXPECT_EQ(usb->VendorID, 0x0451);
    EXPECT_EQ(usb->ProductID, 0x0026);
    const auto lower = ParseHidId("0005:0000abcd:0000FfFf");
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->VendorID, 0xABCD);
    EXPECT_EQ(lower->ProductID, 0xFFFF);

    for (const char* bad : {"", "0003:00000451", "0003:00000451:00000026:1", "0003::00000026",
                            "0003:0000045G:00000026", "0003:+451:26", "0003:00010000:00000026",
                            "0003:00000451:000000026", " 0003:00000451:00000026"}) {
        EXPECT_FALSE(ParseHidId(bad)) << bad;
    }
}

TEST(SysfsText, OnlyTheKernelsNewlineIsStripped) {
    EXPECT_EQ(StripSysfsNewline("HID-LCX3  \n"), "HID-LCX3  ");
    EXPECT_EQ(StripSysfsNewline("HID-LCX3  "), "HID-LCX3  ");
    EXPECT_EQ(StripSysfsNewline("a\n\n"), "a\n");
    EXPECT_EQ(StripSysfsNewline("a\r\n"), "a\r");
    EXPECT_EQ(StripSysfsNewline("\n"), "");
    EXPECT_EQ(StripSysfsNewline(""), "");
    EXPECT_EQ(StripSysfsNewline(std::string("x\0y\n", 4)), std::string("x\0y", 3));
}

TEST(SysfsText, NodesSortByNumber) {
    EXPECT_EQ(HidrawNodeNumber("/dev/hidraw12"), 12u);
    for (const char* other :
         {"/dev/hidraw", "/dev/hidraw1a", "/dev/hidraw-1", "hidraw1", "/dev/hidraw99999999999"}) {
        EXPECT_FALSE(HidrawNodeNumber(other)) << other;
    }
    std::vector<std::string> paths = {"/dev/hidraw10", "/dev/other", "/dev/hidraw2",
                                      "/dev/hidraw0"};
    SortHidrawPaths(paths);
    EXPECT_EQ(paths, (std::vector<std::string>{"/dev/hidraw0", "/dev/hidraw2", "/dev/hidraw10",
                                               "/dev/other"}));
}

}  // namespace
}  // namespace vadero
