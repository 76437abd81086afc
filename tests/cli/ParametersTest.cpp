// The parameter set as lcx3 decodes, saves and changes it.
#include <gtest/gtest.h>

#include "calibrator/Conversions.h"
#include "cli/ExitCodes.h"
#include "cli/Parameters.h"

namespace vadero::cli {
namespace {

struct Image {
    RegisterImage registers{};
    TLCXParams params{registers};
};

TEST(Settings, RefusesBadSettingsBeforeAnyChange) {
    for (const char* bad : {"filter=17",        "filter=-1",
                            "t1=abc",           "t2=",
                            "t3=100",           "repeat=1.5",
                            "mem-020mA-9=4",    "mem-010V-1=12",
                            "mem-420mA-0=4",    "mem-5mA-1=4",
                            "range=Mesure",     "range=6",
                            "loop-power=yes",   "language=de",
                            "user-digits=6",    "user-decimals=4",
                            "user-zero=-10000", "user-full-scale=1e6",
                            "user-zero=nan",    "l1=111",
                            "colour=red",       "filter"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(Settings::Parse({"t1=5", bad}), UsageError);
    }
    EXPECT_THROW(Settings::Parse({}), UsageError);
    EXPECT_THROW(Settings::Parse({"user-digits=3", "user-decimals=2"}), UsageError);
}

TEST(Settings, ChangeTheirRegisters) {
    Image image;
    image.params.SetRange(0);
    Settings::Parse({"filter=16", "t4=99", "delay=3", "repeat=0", "range=Génére 0-10V",
                     "loop-power=on", "language=en", "output-decimals=2", "user-zero=-5",
                     "user-full-scale=150.5", "user-digits=4", "user-decimals=2", "mem-020mA-1=12",
                     "mem-420mA-8=20", "mem-010V-3=5", "l2=50"})
        .Apply(image.params);
    const TLCXParams& p = image.params;
    EXPECT_EQ(p.Filter(), 16);
    EXPECT_EQ(p.RampTime(4), 99);
    EXPECT_EQ(p.RampDelay(), 3);
    EXPECT_EQ(p.Range(), 2);
    EXPECT_EQ(p.LoopPower(), 1);
    EXPECT_EQ(p.Language(), 1);
    EXPECT_EQ(p.OutputDecimals(), 2);
    EXPECT_FLOAT_EQ(p.UserZero(), -5);
    EXPECT_FLOAT_EQ(p.UserFullScale(), 150.5f);
    EXPECT_EQ(p.UserFormat(), 922);
    EXPECT_EQ(p.Memory(Memory020mA, 1), 16800);
    EXPECT_EQ(p.Memory(Memory420mA, 8), 28000);
    EXPECT_EQ(p.Memory(Memory010V, 3), 14000);
    EXPECT_EQ(p.RampLevel(2), 14000);  // percent of the new range, 0-10 V
    Settings::Parse({"range=4"}).Apply(image.params);
    EXPECT_EQ(p.Range(), 4);
}

TEST(Settings, UserFormatKeepsWhatIsNotGiven) {
    Image image;
    image.params.SetUserFormat(CodeOfFormat(5, 3));
    Settings::Parse({"user-decimals=1"}).Apply(image.params);
    EXPECT_EQ(image.params.UserFormat(), CodeOfFormat(5, 1));
    EXPECT_THROW(Settings::Parse({"user-digits=2"}).Apply(image.params), UsageError);
}

TEST(Parameters, JsonHoldsTransferredRegistersOnly) {
    Image image;
    // Distinct words, each one its register takes back from a backup.
    const auto word = [](int k) { return std::uint16_t(k == 11 ? 1 : k >= 48 ? k + 100 : k); };
    for (int k = 0; k < TLCXParams::kCount; ++k) image.params.SetWord(k, word(k));
    const auto doc = ParamsToJson(image.params);
    ASSERT_EQ(doc["holding"].size(), 72u);
    for (int k = 0; k < 72; ++k) {
        SCOPED_TRACE(k);
        const bool transferred = k <= 11 || (k >= 16 && k <= 23) || k >= 48;
        if (transferred)
            EXPECT_EQ(doc["holding"][k], word(k));
        else
            EXPECT_TRUE(doc["holding"][k].is_null());
    }
    Image back;
    HoldingFromJson(doc, back.params);
    for (int k = 0; k < 72; ++k)
        EXPECT_EQ(back.params.Word(k), IsTransferred(k) ? word(k) : 0) << k;
}

TEST(Parameters, BackupsThatLackARegisterAreRefused) {
    Image image;
    auto doc = ParamsToJson(image.params);
    HoldingFromJson(doc, image.params);
    auto missing = doc;
    missing["holding"][20] = nullptr;
    EXPECT_THROW(HoldingFromJson(missing, image.params), UsageError);
    auto tooBig = doc;
    tooBig["holding"][3] = 65536;
    EXPECT_THROW(HoldingFromJson(tooBig, image.params), UsageError);
    auto shorter = doc;
    shorter["holding"].erase(71);
    EXPECT_THROW(HoldingFromJson(shorter, image.params), UsageError);
    EXPECT_THROW(HoldingFromJson(nlohmann::json::array(), image.params), UsageError);
    // A backup holds 16-bit words as lcx3 wrote them, never negative numbers.
    doc["holding"][0] = -2;
    EXPECT_THROW(HoldingFromJson(doc, image.params), UsageError);
}

TEST(Parameters, LabelsAndFilterTexts) {
    EXPECT_EQ(RangeLabel(1), "Génére 4-20mA");
    EXPECT_EQ(RangeLabel(5), "Mesure résistance");
    EXPECT_EQ(RangeLabel(6), "");
    EXPECT_EQ(RangeOfLabel("Mesure tension"), 4);
    EXPECT_EQ(RangeOfLabel("0"), 0);
    EXPECT_FALSE(RangeOfLabel("7"));
    EXPECT_EQ(FilterText(0), "Off");
    EXPECT_EQ(FilterText(2), "8 s");
    EXPECT_EQ(FilterText(6), "22 s");
    EXPECT_EQ(FilterText(10), "38 s");
    EXPECT_EQ(FilterText(14), "52 s");
    EXPECT_EQ(FilterText(16), "60 s");
}

TEST(Parameters, TextShowsDecodedValues) {
    Image image;
    Settings::Parse({"range=0", "filter=2", "mem-020mA-2=4", "output-decimals=1", "t1=7"})
        .Apply(image.params);
    const std::string text = ParamsToText(image.params);
    EXPECT_NE(text.find("Range: 0 Génére 0-20mA"), std::string::npos) << text;
    EXPECT_NE(text.find("Filter: 2 (8 s)"), std::string::npos) << text;
    EXPECT_NE(text.find("Memories 020mA: 0.00 4.00 0.00"), std::string::npos) << text;
    EXPECT_NE(text.find("t1 7 s"), std::string::npos) << text;
}

}  // namespace
}  // namespace vadero::cli
