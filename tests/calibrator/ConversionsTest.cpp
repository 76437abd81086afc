// Raw counts, physical values, percent and user units; display formats.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "calibrator/Conversions.h"
#include "calibrator/LCXParams.h"

namespace vadero {
namespace {

constexpr UserScale kScale0to100{0, 100};

std::uint16_t Raw(TValueUnit unit, int range, float value, UserScale scale = kScale0to100) {
    return ValueToRaw(unit, range, value, scale);
}

TEST(ValueToRaw, PlacesValuesOnTheRangesFullScale) {
    using enum TValueUnit;
    EXPECT_EQ(Raw(uPhysical, 0, 12), 16800);
    EXPECT_EQ(Raw(uPhysical, 1, 12), 16800);  // mA convert unchanged in 4-20 mA
    EXPECT_EQ(Raw(uPercent, 0, 50), 14000);
    EXPECT_EQ(Raw(uPercent, 1, 50), 16800);
    EXPECT_EQ(Raw(uPercent, 1, 0), 5600);  // 4 mA
    EXPECT_EQ(Raw(uPhysical, 2, 5), 14000);
    EXPECT_EQ(Raw(uUser, 0, 50), 14000);
    EXPECT_EQ(Raw(uUser, 1, 50), 16800);
    for (const int measuring : {3, 4, 5}) EXPECT_EQ(Raw(uPhysical, measuring, 12), 0);
}

TEST(ValueToRaw, LimitsToZeroAndOneHundredTenPercent) {
    using enum TValueUnit;
    EXPECT_EQ(Raw(uPhysical, 2, 12), 30800);
    EXPECT_EQ(Raw(uPhysical, 0, -1), 0);
    EXPECT_EQ(Raw(uPercent, 0, std::numeric_limits<float>::quiet_NaN()), 30800);
    EXPECT_EQ(Raw(uPercent, 0, std::numeric_limits<float>::infinity()), 30800);
    EXPECT_EQ(Raw(uPercent, 0, -std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(Raw(uUser, 0, 50, UserScale{7, 7}), 30800);  // zero = full scale
    EXPECT_EQ(ValueToRaw(static_cast<TValueUnit>(3), 0, 50, kScale0to100), 0);
}

TEST(RawToValue, InvertsTheConversion) {
    using enum TValueUnit;
    EXPECT_NEAR(RawToValue(uPercent, 1, 16800, kScale0to100), 50, 1e-4);
    EXPECT_NEAR(RawToValue(uPhysical, 0, 16800, kScale0to100), 12, 1e-5);
    EXPECT_NEAR(RawToValue(uPhysical, 2, 14000, kScale0to100), 5, 1e-5);
    EXPECT_NEAR(RawToValue(uUser, 1, 5600, kScale0to100), 0, 1e-4);
    EXPECT_NEAR(RawToValue(uUser, 0, 14000, UserScale{-50, 50}), 0, 1e-4);
    EXPECT_EQ(RawToValue(uPhysical, 4, 14000, kScale0to100), 0);
    // A negative raw value read from the calibrator converts as the signed value it is.
    EXPECT_NEAR(RawToValue(uPhysical, 0, -2800, kScale0to100), -2, 1e-5);
}

TEST(MeasureToValue, LimitsByRange) {
    float v = -1;
    EXPECT_EQ(MeasureToValue(3, 30800, v), 0);
    EXPECT_FLOAT_EQ(v, 22);
    EXPECT_EQ(MeasureToValue(3, 30801, v), 1);
    EXPECT_FLOAT_EQ(v, 22);
    EXPECT_EQ(MeasureToValue(4, 28001, v), 1);
    EXPECT_FLOAT_EQ(v, 30);
    EXPECT_EQ(MeasureToValue(5, 0, v), 0);
    EXPECT_FLOAT_EQ(v, 0);
    EXPECT_EQ(MeasureToValue(2, 14000, v), 0);
    EXPECT_FLOAT_EQ(v, 5);
}

TEST(MeasureToValue, NegativeReadings) {
    float v = 1;
    EXPECT_EQ(MeasureToValue(3, -200, v), 2);  // below the current range's 0
    EXPECT_FLOAT_EQ(v, 0);
    EXPECT_EQ(MeasureToValue(4, -30, v), 0);  // -0.032 V: within the noise band
    EXPECT_FLOAT_EQ(v, 0);
    EXPECT_EQ(MeasureToValue(4, -100, v), 2);  // -0.107 V
    EXPECT_FLOAT_EQ(v, -0.05f);
    EXPECT_EQ(MeasureToValue(5, -28, v), 2);  // -0.02 kOhm
    EXPECT_FLOAT_EQ(v, -0.01f);
    v = 1;
    EXPECT_EQ(MeasureToValue(6, 1000, v), 2);
    EXPECT_EQ(v, 0);
}

TEST(FormatCodes, BuildAndReadPatterns) {
    struct Row {
        int digits, point;
        std::uint16_t code;
        const char* pattern;
        int decimals;
    };
    for (const Row& r :
         {Row{4, 2, 922, " #0.00", 2}, Row{5, 3, 3690, "#0.000", 3}, Row{3, 1, 230, "  #0.0", 1}}) {
        EXPECT_EQ(CodeOfFormat(r.digits, r.point), r.code);
        EXPECT_EQ(FormatOfCode(r.code), r.pattern);
        EXPECT_EQ(DecimalsOfFormat(r.code), r.decimals);
    }
    EXPECT_EQ(FormatOfCode(CodeOfFormat(3, 0)), "  ##0.");  // ends with the point
    EXPECT_EQ(FormatOfCode(CodeOfFormat(3, 5)), "   ##0");  // no point at all
    EXPECT_EQ(DecimalsOfFormat(CodeOfFormat(3, 5)), 0);
    EXPECT_THROW(CodeOfFormat(8, 2), std::overflow_error);
    EXPECT_EQ(DecimalsFormat(0), "#0.000");
    EXPECT_EQ(DecimalsFormat(1), "#0.00");
    EXPECT_EQ(DecimalsFormat(2), "#0.0");
    EXPECT_EQ(DecimalsFormat(-1), "#0");
}

TEST(Params, IsAViewOfTheRegisters) {
    RegisterImage registers{};
    TLCXParams params(registers);
    params.SetUserFullScale(100.0f);
    EXPECT_EQ(registers[4], 0x0000);  // 100.0f = 0x42C80000, low word first
    EXPECT_EQ(registers[5], 0x42C8);
    registers[6] = 0x0000;
    registers[7] = 0xC120;  // -10.0f
    EXPECT_FLOAT_EQ(params.UserZero(), -10.0f);
    params.SetMemory(Memory010V, 8, 1234);
    EXPECT_EQ(registers[71], 1234);
    params.SetRampTime(1, 5);
    params.SetRampLevel(2, 7);
    EXPECT_EQ(registers[16], 5);
    EXPECT_EQ(registers[21], 7);
    registers[0] = 0xFF38;
    EXPECT_EQ(params.OutputValue(), -200);
    EXPECT_THROW(params.SetMemory(3, 1, 0), std::out_of_range);
    EXPECT_THROW(params.RampTime(5), std::out_of_range);
    EXPECT_THROW(params.Word(72), std::out_of_range);
}

}  // namespace
}  // namespace vadero
