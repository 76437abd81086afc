// The factory register bank and its JSON file.
#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "emulator/BankJson.h"
#include "emulator/EmulatorHid.h"
#include "tests/support/ScratchDir.h"

namespace vadero::emu {
namespace {

float FloatAt(const RegisterBank& bank, int first) {
    const std::uint32_t bits = bank.holding[static_cast<std::size_t>(first)] |
                               std::uint32_t{bank.holding[static_cast<std::size_t>(first) + 1]}
                                   << 16;
    return std::bit_cast<float>(bits);
}

TEST(Bank, FactorySetIsAPlausibleParameterSet) {
    const RegisterBank bank = FactoryBank();
    EXPECT_LE(bank.holding[1], rgGenerate010V) << "a generating range";
    EXPECT_EQ(bank.holding[2], 0) << "loop power off";
    EXPECT_EQ(bank.holding[3], 0) << "filter off";
    EXPECT_EQ(FloatAt(bank, 4), 100.0F);
    EXPECT_EQ(FloatAt(bank, 6), 0.0F);
    EXPECT_EQ(bank.holding[8], 922);
    for (int r = kCalibrationBlock.first; r <= kCalibrationBlock.Last(); ++r)
        EXPECT_NE(bank.holding[static_cast<std::size_t>(r)], 0) << "calibration register " << r;
    for (int r : {16, 17, 18, 19, 22, 23}) EXPECT_LE(bank.holding[static_cast<std::size_t>(r)], 99);
    for (int r : {0, 20, 21}) EXPECT_LE(bank.holding[static_cast<std::size_t>(r)], 30800);
    for (int r = 48; r < 72; ++r) EXPECT_LE(bank.holding[static_cast<std::size_t>(r)], 30800);
    EXPECT_EQ(bank.holding[56], 5600) << "the 4-20 mA memories start at 4 mA";
    ASSERT_EQ(bank.input.size(), 1u);
}

class BankFile : public ::testing::Test {
  protected:
    test::ScratchDir dir{"vadero-bank"};
    std::string path = dir.File("bank.json");
    void write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
};

TEST_F(BankFile, SuccessiveRunsShareOneCalibrator) {
    RegisterBank changed = FactoryBank();
    changed.holding[0] = 0xFFFF;
    changed.holding[71] = 1234;
    changed.input = {0x8000, 7};
    {
        EmulatorHid hid(EmulatorHid::Time::Virtual);
        EmulatedLcx3& first = hid.AddDevice();
        first.SetBank(changed);
        first.SaveBank(path);
    }
    EmulatorHid hid(EmulatorHid::Time::Virtual);
    EmulatedLcx3& second = hid.AddDevice();
    second.LoadBank(path);
    EXPECT_EQ(second.Bank(), changed);
    EXPECT_EQ(second.MeasuredInput(), -32768);
    EXPECT_EQ(BankToJson(changed).find("stuck"), std::string::npos) << "an ordinary bank";
    changed.stuck[0] = changed.stuck[71] = true;
    EXPECT_EQ(BankFromJson(BankToJson(changed)), changed);

    // Negative values are 16-bit patterns; keys the bank does not know are ignored.
    write(R"({"holding": [)" + [] {
        std::string values;
        for (int i = 0; i < 72; ++i) values += (i ? ",-" : "-") + std::to_string(i + 1);
        return values;
    }() + R"(], "input": [3], "comment": "ignored"})");
    second.LoadBank(path);
    EXPECT_EQ(second.Holding(0), 0xFFFF) << "-1 as a 16-bit pattern";
    EXPECT_EQ(second.Holding(71), static_cast<std::uint16_t>(-72));
}

TEST_F(BankFile, RefusesMalformedFilesWithAClearErrorAndKeepsTheBank) {
    const std::string holding72 = "[" + [] {
        std::string values = "0";
        for (int i = 1; i < 72; ++i) values += ",0";
        return values;
    }() + "]";
    struct Case {
        std::string text;
        std::string says;
    };
    const std::vector<Case> cases{
        {"", "not a JSON text"},
        {"{\"holding\": [1, 2", "not a JSON text"},
        {"[1, 2, 3]", "not a JSON object"},
        {R"({"input": [0]})", "no \"holding\" array"},
        {R"({"holding": 5, "input": [0]})", "\"holding\" is not an array"},
        {R"({"holding": [1, 2], "input": [0]})", "\"holding\" holds 2 values instead of 72"},
        {"{\"holding\": " + holding72 + "}", "no \"input\" array"},
        {"{\"holding\": " + holding72 + ", \"input\": []}",
         "\"input\" holds 0 values instead of 1 to 1025"},
        {"{\"holding\": " + holding72 + ", \"input\": [65536]}", "\"input\"[0] is not an integer"},
        {"{\"holding\": " + holding72 + ", \"input\": [-32769]}", "\"input\"[0] is not an integer"},
        {"{\"holding\": " + holding72 + ", \"input\": [18446744073709551615]}",
         "is not an integer"},
        {"{\"holding\": " + holding72 + ", \"input\": [1.5]}", "is not an integer"},
        {"{\"holding\": " + holding72 + ", \"input\": [\"1\"]}", "is not an integer"},
        {"{\"holding\": " + holding72 + ", \"input\": [null]}", "is not an integer"},
        {std::string(100000, '['), "not a JSON text"},
        {"{\"holding\": " + holding72 + ", \"input\": [0], \"stuck\": 5}",
         "\"stuck\" is not an array"},
        {"{\"holding\": " + holding72 + ", \"input\": [0], \"stuck\": [72]}",
         "\"stuck\"[0] is not a holding register"},
        {"{\"holding\": " + holding72 + ", \"input\": [0], \"stuck\": [3, -1]}",
         "\"stuck\"[1] is not a holding register"},
        {"{\"holding\": " + holding72 + ", \"input\": [0], \"stuck\": [3, 3]}",
         "\"stuck\"[1] is not a holding register from 0 to 71 named once"},
    };
    EmulatorHid hid(EmulatorHid::Time::Virtual);
    EmulatedLcx3& device = hid.AddDevice();
    device.SetHolding(3, 9);
    const RegisterBank before = device.Bank();
    for (const Case& c : cases) {
        write(c.text);
        try {
            device.LoadBank(path);
            ADD_FAILURE() << "accepted: " << c.text.substr(0, 80);
        } catch (const BankFileError& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(path), std::string::npos) << what;
            EXPECT_NE(what.find(c.says), std::string::npos) << what;
        }
        EXPECT_EQ(device.Bank(), before);
    }
    EXPECT_THROW(device.LoadBank(path + ".missing"), BankFileError);
    EXPECT_THROW(device.SaveBank("/nonexistent-dir/bank.json"), BankFileError);
}

}  // namespace
}  // namespace vadero::emu
