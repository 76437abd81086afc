// lcx3 run as a process against its emulated calibrator.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "emulator/BankJson.h"

namespace vadero {
namespace {

namespace fs = std::filesystem;

struct Result {
    int code = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Transferred(int k) {
    return k <= 11 || (k >= 16 && k <= 23) || k >= 48;
}

class Lcx3 : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::path(::testing::TempDir()) / (std::string("lcx3-") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path File(const std::string& name) const { return dir_ / name; }

    Result Run(const std::string& arguments) const {
        const std::string command = std::string("'") + LCX3_PROGRAM + "' " + arguments + " >'" +
                                    File("out").string() + "' 2>'" + File("err").string() +
                                    "' </dev/null";
        const int status = std::system(command.c_str());
        Result r;
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = Slurp(File("out"));
        r.err = Slurp(File("err"));
        return r;
    }
    // A fast emulated calibrator whose bank lives in the test's state file.
    Result RunOn(const std::string& arguments) const {
        return Run("--emulate --pace fast --emulator-state '" + File("state.json").string() + "' " +
                   arguments);
    }
    void SaveState(const emu::RegisterBank& bank) const {
        emu::SaveBankFile(bank, File("state.json").string());
    }
    emu::RegisterBank State() const { return emu::LoadBankFile(File("state.json").string()); }

    static int TxLines(const std::string& err) {
        int count = 0;
        std::istringstream lines(err);
        for (std::string line; std::getline(lines, line);)
            if (line.find(" TX : ") != std::string::npos)
                ++count;
        return count;
    }

    fs::path dir_;
};

emu::RegisterBank DistinctBank() {
    emu::RegisterBank bank = emu::FactoryBank();
    bank.holding[3] = 9;
    bank.holding[10] = 77;
    bank.holding[11] = 1;
    bank.holding[17] = 42;
    bank.holding[23] = 5;
    bank.holding[49] = 1234;
    bank.holding[71] = 30000;
    bank.holding[13] = 999;  // not transferred
    return bank;
}

TEST_F(Lcx3, ReadJsonEqualsTheBank) {
    const emu::RegisterBank bank = DistinctBank();
    SaveState(bank);
    const Result r = RunOn("read --json");
    ASSERT_EQ(r.code, 0) << r.err;
    const auto doc = nlohmann::json::parse(r.out);
    ASSERT_EQ(doc["holding"].size(), 72u);
    for (int k = 0; k < 72; ++k) {
        SCOPED_TRACE(k);
        if (Transferred(k))
            EXPECT_EQ(doc["holding"][k], bank.holding[k]);
        else
            EXPECT_TRUE(doc["holding"][k].is_null());
    }
    EXPECT_EQ(doc["filter"]["position"], 9);
    EXPECT_EQ(doc["language"], "en");
    EXPECT_EQ(doc["ramp"]["t2"], 42);
    EXPECT_EQ(State(), bank);  // nothing written
}

TEST_F(Lcx3, BackupSetRestoreBringsTheBankBack) {
    const emu::RegisterBank bank = DistinctBank();
    SaveState(bank);
    const std::string backup = File("backup.json").string();
    ASSERT_EQ(RunOn("backup '" + backup + "'").code, 0);

    const Result set = RunOn("set filter=12 mem-420mA-3=7.5 language=fr t4=0 loop-power=on");
    ASSERT_EQ(set.code, 0) << set.err;
    const emu::RegisterBank changed = State();
    EXPECT_EQ(changed.holding[3], 12);
    EXPECT_EQ(changed.holding[58], 10500);
    EXPECT_EQ(changed.holding[11], 0);
    EXPECT_EQ(changed.holding[19], 0);
    EXPECT_EQ(changed.holding[2], 2);

    const Result restore = RunOn("restore '" + backup + "'");
    ASSERT_EQ(restore.code, 0) << restore.err;
    EXPECT_EQ(State(), bank);
}

TEST_F(Lcx3, BadValuesExitOneAndSendNothing) {
    SaveState(DistinctBank());
    for (const char* bad : {"set filter=17", "set t1=abc", "output 12 A", "output x mA",
                            "restore '/nonexistent/backup.json'"}) {
        SCOPED_TRACE(bad);
        const Result r = RunOn(std::string("--trace ") + bad);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(TxLines(r.err), 0) << r.err;
        EXPECT_NE(r.err.find("lcx3: "), std::string::npos);
    }
    EXPECT_EQ(State(), DistinctBank());
    EXPECT_EQ(Run("").code, 1);
    EXPECT_EQ(Run("--emulate frobnicate").code, 1);
    EXPECT_EQ(Run("--emulator-fault off read").code, 1);  // needs --emulate
}

TEST_F(Lcx3, PoweredOffTimesOutAfterThreeIdenticalRequests) {
    const Result r = Run("--emulate --pace fast --trace --emulator-fault off read");
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("Allumer le calibrateur"), std::string::npos);
    EXPECT_EQ(TxLines(r.err), 3) << r.err;
    const std::regex request("\\d+ TX : 64 03 00 00 00 0C 4C 3A ");
    std::istringstream lines(r.err);
    for (std::string line; std::getline(lines, line);)
        if (line.find(" TX : ") != std::string::npos) {
            EXPECT_TRUE(std::regex_match(line, request)) << line;
        }
    EXPECT_TRUE(r.out.empty());
}

TEST_F(Lcx3, SpecPaceSendsOnTheTickAndTracesTheWorkedExample) {
    const Result r = Run("--emulate --trace read");
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<long> sent;
    std::istringstream lines(r.err);
    for (std::string line; std::getline(lines, line);)
        if (line.find(" TX : ") != std::string::npos)
            sent.push_back(std::stol(line));
    ASSERT_EQ(sent.size(), 3u) << r.err;
    EXPECT_NE(r.err.find(" TX : 64 03 00 00 00 0C 4C 3A \n"), std::string::npos);
    EXPECT_NE(r.err.find(" RX : 64 03 18 "), std::string::npos);
    EXPECT_GE(sent[1] - sent[0], 700);
    EXPECT_GE(sent[2] - sent[1], 700);
}

TEST_F(Lcx3, UnpluggedMeansNoCalibrator) {
    const Result r = Run("--emulate --pace fast --emulator-fault unplugged read");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(Run("--emulate --emulator-fault unplugged list").code, 2);
}

TEST_F(Lcx3, NoisyLineCompletesOrTimesOutButNeverLies) {
    const emu::RegisterBank bank = DistinctBank();
    for (int run = 0; run < 3; ++run) {
        SaveState(bank);
        const Result r = RunOn("--emulator-fault noisy read --json");
        ASSERT_TRUE(r.code == 0 || r.code == 3) << r.code << r.err;
        if (r.code != 0)
            continue;
        const auto doc = nlohmann::json::parse(r.out);
        for (int k = 0; k < 72; ++k) {
            if (!Transferred(k))
                continue;
            EXPECT_EQ(doc["holding"][k], bank.holding[k]) << k;
        }
    }
}

TEST_F(Lcx3, DeviceTwoOfTwo) {
    const Result list = Run("--emulate --emulator-devices 2 list --json");
    ASSERT_EQ(list.code, 0);
    const auto devices = nlohmann::json::parse(list.out)["devices"];
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[1]["number"], 2);
    EXPECT_EQ(devices[1]["path"], "emulator:2");
    EXPECT_EQ(devices[1]["product"], "HID-LCX3  ");

    SaveState(DistinctBank());  // the state belongs to the device addressed
    const Result set = RunOn("--emulator-devices 2 --device 2 set filter=11");
    ASSERT_EQ(set.code, 0) << set.err;
    EXPECT_EQ(State().holding[3], 11);
    EXPECT_EQ(State().holding[17], 42);
    EXPECT_EQ(Run("--emulate --emulator-devices 2 --device 3 read").code, 2);
}

TEST_F(Lcx3, OutputAndMeasure) {
    emu::RegisterBank bank = DistinctBank();
    bank.holding[1] = 1;  // 4-20 mA
    SaveState(bank);
    const Result output = RunOn("output 12 mA");
    ASSERT_EQ(output.code, 0) << output.err;
    EXPECT_EQ(output.out, "16800\n");
    EXPECT_EQ(State().holding[0], 16800);
    EXPECT_EQ(RunOn("output 50 %").out, "16800\n");
    EXPECT_EQ(RunOn("output 5 V").code, 1);
    EXPECT_EQ(RunOn("output 23 mA").code, 1);
    EXPECT_EQ(RunOn("output -1 mA").code, 1);
    EXPECT_EQ(State().holding[0], 16800);

    bank = State();
    bank.holding[1] = 3;  // measure current
    bank.input[0] = 14000;
    SaveState(bank);
    const Result refused = RunOn("output 12 mA");
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("Mesure courant"), std::string::npos);
    EXPECT_EQ(State().holding[0], 16800);

    const Result measure = RunOn("measure --json");
    ASSERT_EQ(measure.code, 0) << measure.err;
    const auto doc = nlohmann::json::parse(measure.out);
    EXPECT_EQ(doc["raw"], 14000);
    EXPECT_DOUBLE_EQ(doc["value"].get<double>(), 10.0);
    EXPECT_EQ(doc["unit"], "mA");
    EXPECT_EQ(doc["status"], "ok");
    EXPECT_EQ(RunOn("measure").out, "10.000 mA\n");

    bank.input[0] = 30801;
    SaveState(bank);
    EXPECT_EQ(RunOn("measure").out, "Dep+\n");
    EXPECT_EQ(nlohmann::json::parse(RunOn("measure --json").out)["status"], "above");
}

}  // namespace
}  // namespace vadero
