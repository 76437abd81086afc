// The parameter set as lcx3 decodes, saves and changes it.
#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>

#include "calibrator/Backup.h"
#include "calibrator/Conversions.h"
#include "calibrator/Parameters.h"
#include "cli/ExitCodes.h"

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
                     "loop-power=off", "language=en", "output-decimals=2", "user-zero=-5",
                     "user-full-scale=150.5", "user-digits=4", "user-decimals=2", "mem-020mA-1=12",
                     "mem-420mA-8=20", "mem-010V-3=5", "l2=50"})
        .Apply(image.params);
    const TLCXParams& p = image.params;
    EXPECT_EQ(p.Filter(), 16);
    EXPECT_EQ(p.RampTime(4), 99);
    EXPECT_EQ(p.RampDelay(), 3);
    EXPECT_EQ(p.Range(), 2);
    EXPECT_EQ(p.LoopPower(), 0);
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

// A key outside the write-all blocks would be set and never sent; a written
// register without a key could be neither set nor checked in a backup.
TEST(Parameters, KeysCoverTheWrittenRegistersAndNothingElse) {
    for (const Parameter& row : Parameters())
        for (int k = row.first; k < row.first + row.count; ++k)
            EXPECT_TRUE(IsWritten(k)) << row.key << " register " << k;
    for (int k = 0; k < kRegisterCount; ++k) {
        SCOPED_TRACE(k);
        const bool keyed = ParameterOfRegister(k) != nullptr;
        EXPECT_EQ(keyed, IsWritten(k) && k != reg::kCarried);
        // Read-all brings back all that write-all sends, and the output value.
        EXPECT_EQ(IsTransferred(k), IsWritten(k) || k == reg::kOutputValue);
        EXPECT_FALSE(IsTransferred(k) && kCalibrationBlock.Holds(k));
    }
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
    const Parameter& range = *FindParameter("range");
    EXPECT_EQ(range.Parse("Mesure tension"), 4);
    EXPECT_EQ(range.Parse("0"), 0);
    EXPECT_THROW(range.Parse("7"), UsageError);
    EXPECT_EQ(FilterText(0), "Off");
    EXPECT_EQ(FilterText(2), "8 s");
    EXPECT_EQ(FilterText(6), "22 s");
    EXPECT_EQ(FilterText(10), "38 s");
    EXPECT_EQ(FilterText(14), "52 s");
    EXPECT_EQ(FilterText(16), "60 s");
}

TEST(Parameters, TextShowsDecodedValuesInAlignedColumns) {
    Image image;
    Settings::Parse({"range=0", "filter=2", "mem-020mA-2=4", "output-decimals=1", "t1=7"})
        .Apply(image.params);
    const std::string text = ParamsToText(image.params);
    for (const char* line :
         {"parameter        value\n", "range            0, 0-20 mA (\"Génére 0-20mA\")\n",
          "filter           2 (8 s)\n", "mem-020mA-2      4.000 mA\n", "t1               7 s\n",
          "output-decimals  1 (\"#0.00\")\n", "loop-power       off\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << text;
}

// Every numeric key takes its limits and refuses one step past them.
TEST(Settings, EveryLimitIsTakenAndOneStepPastIsRefused) {
    std::ostringstream number;
    const auto text = [&number](double v) {
        number.str("");
        number << std::setprecision(12) << v;
        return number.str();
    };
    for (const Parameter& row : Parameters()) {
        if (!row.choices.empty())
            continue;
        SCOPED_TRACE(row.key);
        const double step = row.integer ? 1 : 0.001;
        for (const double taken : {row.low, row.high}) EXPECT_EQ(row.Parse(text(taken)), taken);
        for (const double refused : {row.low - step, row.high + step})
            EXPECT_THROW(row.Parse(text(refused)), UsageError) << refused;
    }
}

// The same settings in any order write the same registers: the range and the
// formats take effect before the values that depend on them.
TEST(Settings, OrderOfArgumentsChangesNothing) {
    const std::vector<std::vector<std::string>> orders = {
        {"l1=50", "range=0", "user-decimals=3", "user-digits=5", "loop-power=on"},
        {"range=0", "loop-power=on", "user-digits=5", "l1=50", "user-decimals=3"},
        {"user-decimals=3", "loop-power=on", "l1=50", "user-digits=5", "range=0"},
    };
    std::optional<RegisterImage> first;
    for (const auto& order : orders) {
        Image image;
        image.params.SetRange(2);  // 0-10 V: no loop supply
        image.params.SetUserFormat(CodeOfFormat(3, 1));
        Settings::Parse(order).Apply(image.params);
        EXPECT_EQ(image.params.RampLevel(1), 14000) << "50 % of 0-20 mA";
        EXPECT_EQ(image.params.UserFormat(), CodeOfFormat(5, 3));
        EXPECT_EQ(image.params.LoopPower(), 1);
        if (first) {
            EXPECT_EQ(image.registers, *first);
        }
        first = image.registers;
    }
}

TEST(Settings, LoopPowerFollowsTheRangeAsInTheWindow) {
    struct Case {
        int range;  // before
        std::vector<std::string> settings;
        int loopPower;  // after; -1: refused
    };
    for (const Case& c : std::vector<Case>{
             {0, {"range=2"}, 0},
             {0, {"range=3"}, 0},
             {0, {"range=1"}, 1},
             {2, {"range=3", "loop-power=on"}, 1},
             {0, {"range=4", "loop-power=on"}, -1},
             {2, {"loop-power=on"}, -1},
             {5, {"loop-power=off"}, 0},
         }) {
        Image image;
        image.params.SetRange(std::uint16_t(c.range));
        image.params.SetLoopPower(1);
        const Settings s = Settings::Parse(c.settings);
        if (c.loopPower < 0) {
            EXPECT_THROW(s.Apply(image.params), UsageError) << c.settings[0];
            continue;
        }
        s.Apply(image.params);
        EXPECT_EQ(image.params.LoopPower(), c.loopPower) << c.settings[0];
    }
}

// A backup restores whatever a calibrator can hold, with a warning beyond what
// set or the window writes; only values no register holds are refused.
TEST(Parameters, RestoreTakesWhatACalibratorHolds) {
    struct Case {
        int address;
        std::uint16_t word;
        const char* says;  // "": restored silently; "refused": refused
    };
    const std::vector<Case> cases = {
        {1, 5, ""},
        {1, 6, "refused"},
        {3, 16, ""},
        {3, 17, "refused"},
        {11, 1, ""},
        {11, 2, "refused"},
        {9, 3, ""},
        {9, 4, "output-decimals"},
        {16, 99, ""},
        {16, 100, "t1"},
        {23, 100, "repeat"},
        {22, 99, ""},
        {71, 30800, ""},
        {71, 30801, "mem-010V-8"},
        {48, 40000, "mem-020mA-1"},
        {20, 30800, ""},
        {21, 30801, "l2"},
        {5, 0x7FC0, "user-full-scale"},
        {7, 0x4800, "user-zero"},
        {8, 0x0FFF, "user-digits"},
        {10, 65535, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.address) + " = " + std::to_string(c.word));
        Image image;
        image.params.SetUserFullScale(100);
        image.params.SetUserFormat(CodeOfFormat(4, 2));
        image.params.SetWord(c.address, c.word);
        const nlohmann::json backup = nlohmann::json::parse(ParamsToJson(image.params).dump());
        Image restored;
        if (std::string(c.says) == "refused") {
            EXPECT_THROW(HoldingFromJson(backup, restored.params), UsageError);
            EXPECT_EQ(restored.registers, RegisterImage{});
            continue;
        }
        const auto warnings = HoldingFromJson(backup, restored.params);
        EXPECT_EQ(restored.params.Word(c.address), c.word);
        if (*c.says == '\0') {
            EXPECT_TRUE(warnings.empty()) << warnings.front();
        } else {
            ASSERT_EQ(warnings.size(), 1u);
            EXPECT_EQ(warnings[0].rfind(c.says, 0), 0u) << warnings[0];
        }
    }
}

TEST(Parameters, BackupEditedInItsDecodedFieldsIsRefused) {
    Image image;
    image.params.SetFilter(3);
    const nlohmann::json good = nlohmann::json::parse(ParamsToJson(image.params).dump());
    for (const auto& [field, value] :
         std::vector<std::pair<std::string, nlohmann::json>>{{"/filter/position", 5},
                                                             {"/language", "en"},
                                                             {"/memories/420mA/values/2", 9.5},
                                                             {"/ramp/t1", 42}}) {
        nlohmann::json edited = good;
        edited[nlohmann::json::json_pointer(field)] = value;
        Image restored;
        try {
            HoldingFromJson(edited, restored.params);
            ADD_FAILURE() << field;
        } catch (const UsageError& e) {
            const std::string dotted = [&field = field] {
                std::string d = field.substr(1);
                for (char& ch : d) ch = ch == '/' ? '.' : ch;
                return d;
            }();
            EXPECT_NE(std::string(e.what()).find("\"holding\" array, which is what restore"),
                      std::string::npos)
                << e.what();
            EXPECT_NE(std::string(e.what()).find(dotted.substr(0, dotted.find(".values"))),
                      std::string::npos)
                << e.what();
        }
        EXPECT_EQ(restored.registers, RegisterImage{});
    }
}

}  // namespace
}  // namespace vadero::cli
