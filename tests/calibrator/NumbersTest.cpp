// Number pictures and typed numbers, as the pages use them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "calibrator/Numbers.h"

namespace vadero {
namespace {

TEST(Picture, FixedDecimalsAndOptionalDigits) {
    EXPECT_EQ(FormatPicture(22.0, "#0.000"), "22.000");
    EXPECT_EQ(FormatPicture(0.0, "#0.000"), "0.000");
    EXPECT_EQ(FormatPicture(1.2f, "#0.000"), "1.200");
    EXPECT_EQ(FormatPicture(12.345, "#0.0"), "12.3");
    EXPECT_EQ(FormatPicture(0.4, "#0"), "0");
    EXPECT_EQ(FormatPicture(1234.5678, "#0.00"), "1234.57");
    EXPECT_EQ(FormatPicture(-3.25, "#0.00"), "-3.25");
    EXPECT_EQ(FormatPicture(7.0, "#0.##"), "7");
    EXPECT_EQ(FormatPicture(7.5, "#0.0#"), "7.5");
}

TEST(Picture, TheUserFormatsKeepTheirBlanksAndDropALonePoint) {
    EXPECT_EQ(FormatPicture(12.345, " #0.00"), " 12.35");
    EXPECT_EQ(FormatPicture(123.0, "  ##0."), "  123");
    EXPECT_EQ(FormatPicture(5.0, "   ##0"), "   5");
    EXPECT_EQ(FormatPicture(-12.5, "  #0.0"), "  -12.5");
}

TEST(Picture, ZeroAfterRoundingHasNoSignAndSpecialValuesHaveNames) {
    EXPECT_EQ(FormatPicture(-0.0004, "#0.000"), "0.000");
    EXPECT_EQ(FormatPicture(-0.0, "#0.00"), "0.00");
    EXPECT_EQ(FormatPicture(std::numeric_limits<double>::quiet_NaN(), "#0.0"), "NAN");
    EXPECT_EQ(FormatPicture(-INFINITY, "#0.0"), "-INF");
    EXPECT_EQ(FormatPicture(3.4e38, "#0").size(), 39u);
}

TEST(Picture, TheLocaleSeparatorStandsForThePoint) {
    EXPECT_EQ(FormatPicture(4.5, "#0.00", ","), "4,50");
}

TEST(TypedNumber, AcceptsSignsSeparatorExponentAndBlanks) {
    EXPECT_EQ(ParseNumber("12"), 12.0f);
    EXPECT_EQ(ParseNumber("  -1.5 "), -1.5f);
    EXPECT_EQ(ParseNumber("+.5"), 0.5f);
    EXPECT_EQ(ParseNumber("5."), 5.0f);
    EXPECT_EQ(ParseNumber("1e3"), 1000.0f);
    EXPECT_EQ(ParseNumber("2.5E-1"), 0.25f);
    EXPECT_EQ(ParseNumber("3,25", ","), 3.25f);
}

TEST(TypedNumber, RefusesEverythingElse) {
    for (const char* text : {"", " ", "-", "+", ".", "abc", "1.2.3", "1e", "1e+", "12a", "0x10",
                             "nan", "inf", "1 2", "--1", "1e50", "- 1"})
        EXPECT_FALSE(ParseNumber(text).has_value()) << text;
    EXPECT_FALSE(ParseNumber("1.5", ",").has_value());
}

}  // namespace
}  // namespace vadero
