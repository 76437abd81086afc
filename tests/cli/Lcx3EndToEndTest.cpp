// lcx3 run as a process against its emulated calibrator.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "emulator/BankJson.h"
#include "tests/cli/Lcx3Process.h"

namespace vadero {
namespace {

namespace fs = std::filesystem;

using Result = test::Lcx3Result;

class Lcx3 : public ::testing::Test, public test::Lcx3Process {
  protected:
    static int TxLines(const std::string& err) {
        int count = 0;
        std::istringstream lines(err);
        for (std::string line; std::getline(lines, line);)
            if (line.find(" TX : ") != std::string::npos)
                ++count;
        return count;
    }
    // What a writing command reports as written is what the calibrator holds.
    void ExpectBankHoldsWritten(const Result& r) const {
        const auto doc = nlohmann::json::parse(r.out);
        ASSERT_TRUE(doc.contains("written")) << r.out;
        const emu::RegisterBank bank = State();
        int compared = 0;
        for (int k = 0; k < kRegisterCount; ++k)
            if (!doc["written"][k].is_null()) {
                EXPECT_EQ(doc["written"][k], bank.holding[k]) << "register " << k;
                ++compared;
            }
        EXPECT_EQ(compared, 43);
    }
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
    emu::RegisterBank bank = DistinctBank();
    bank.holding[2] = 0x03FD;  // loop power off (bit 1 clear), other bits set
    SaveState(bank);
    const Result r = ExecOn("read --json");
    ASSERT_EQ(r.code, 0) << r.err;
    const auto doc = nlohmann::json::parse(r.out);
    ASSERT_EQ(doc["holding"].size(), std::size_t(kRegisterCount));
    for (int k = 0; k < kRegisterCount; ++k) {
        SCOPED_TRACE(k);
        if (IsTransferred(k))
            EXPECT_EQ(doc["holding"][k], bank.holding[k]);
        else
            EXPECT_TRUE(doc["holding"][k].is_null());
    }
    EXPECT_EQ(doc["loop_power"], false);
    EXPECT_EQ(doc["filter"]["position"], 9);
    EXPECT_EQ(doc["language"], "en");
    EXPECT_EQ(doc["ramp"]["t2"], 42);
    EXPECT_EQ(State(), bank);  // nothing written
}

TEST_F(Lcx3, BackupSetRestoreBringsTheBankBack) {
    const emu::RegisterBank bank = DistinctBank();
    SaveState(bank);
    const std::string backup = File("backup.json");
    ASSERT_EQ(ExecOn("backup '" + backup + "'").code, 0);

    const Result set = ExecOn("set filter=12 mem-420mA-3=7.5 language=fr t4=0 loop-power=on");
    ASSERT_EQ(set.code, 0) << set.err;
    const emu::RegisterBank changed = State();
    EXPECT_EQ(changed.holding[3], 12);
    EXPECT_EQ(changed.holding[58], 10500);
    EXPECT_EQ(changed.holding[11], 0);
    EXPECT_EQ(changed.holding[19], 0);
    EXPECT_EQ(changed.holding[2], 2);

    const Result restore = ExecOn("restore '" + backup + "'");
    ASSERT_EQ(restore.code, 0) << restore.err;
    EXPECT_EQ(State(), bank);
}

TEST_F(Lcx3, BadValuesExitOneAndSendNothing) {
    SaveState(DistinctBank());
    for (const char* bad : {"set filter=17", "set t1=abc", "output 12 A", "output x mA",
                            "restore '/nonexistent/backup.json'"}) {
        SCOPED_TRACE(bad);
        const Result r = ExecOn(std::string("--trace ") + bad);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(TxLines(r.err), 0) << r.err;
        EXPECT_NE(r.err.find("lcx3: "), std::string::npos);
    }
    EXPECT_EQ(State(), DistinctBank());
    EXPECT_EQ(Exec("").code, 1);
    EXPECT_EQ(Exec("--emulate frobnicate").code, 1);
    EXPECT_EQ(Exec("--emulator-fault off read").code, 1);  // needs --emulate
    // late:MS from 1 to 5000 ms (list sends nothing: only the option's check runs).
    const std::vector<std::pair<std::string, int>> late = {{"late:1", 0}, {"late:5000", 0},
                                                           {"late:0", 1}, {"late:5001", 1},
                                                           {"late:", 1},  {"late:7x", 1}};
    for (const auto& [fault, code] : late)
        EXPECT_EQ(Exec("--emulate --emulator-fault " + fault + " list").code, code) << fault;
}

TEST_F(Lcx3, PoweredOffTimesOutAfterThreeIdenticalRequests) {
    const Result r = Exec("--emulate --pace fast --trace --emulator-fault off read");
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

TEST_F(Lcx3, TickPaceSendsOnTheTickAndTracesTheWorkedExample) {
    const Result r = Exec("--emulate --trace read");
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
    const Result r = Exec("--emulate --pace fast --emulator-fault unplugged read");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(Exec("--emulate --emulator-fault unplugged list").code, 2);
}

TEST_F(Lcx3, NoisyLineCompletesOrTimesOutButNeverLies) {
    const emu::RegisterBank bank = DistinctBank();
    for (int run = 0; run < 3; ++run) {
        SaveState(bank);
        const Result r = ExecOn("--emulator-fault noisy read --json");
        ASSERT_TRUE(r.code == 0 || r.code == 3) << r.code << r.err;
        if (r.code != 0)
            continue;
        const auto doc = nlohmann::json::parse(r.out);
        for (int k = 0; k < kRegisterCount; ++k) {
            if (!IsTransferred(k))
                continue;
            EXPECT_EQ(doc["holding"][k], bank.holding[k]) << k;
        }
    }
}

TEST_F(Lcx3, DeviceTwoOfTwo) {
    const Result list = Exec("--emulate --emulator-devices 2 list --json");
    ASSERT_EQ(list.code, 0);
    const auto devices = nlohmann::json::parse(list.out)["devices"];
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[1]["number"], 2);
    EXPECT_EQ(devices[1]["path"], "emulator:2");
    EXPECT_EQ(devices[1]["product"], "HID-LCX3  ");

    SaveState(DistinctBank());  // the state belongs to the device addressed
    const Result set = ExecOn("--emulator-devices 2 --device 2 set filter=11");
    ASSERT_EQ(set.code, 0) << set.err;
    EXPECT_EQ(State().holding[3], 11);
    EXPECT_EQ(State().holding[17], 42);
    EXPECT_EQ(Exec("--emulate --emulator-devices 2 --device 3 read").code, 2);
}

TEST_F(Lcx3, OutputAndMeasure) {
    emu::RegisterBank bank = DistinctBank();
    bank.holding[1] = 1;  // 4-20 mA
    SaveState(bank);
    const Result output = ExecOn("output 12 mA");
    ASSERT_EQ(output.code, 0) << output.err;
    EXPECT_EQ(output.out, "output 12.000 mA, raw 16800, range 4-20 mA\n");
    EXPECT_EQ(State().holding[0], 16800);
    EXPECT_EQ(ExecOn("output 50 %").out, "output 50.00 % (12.000 mA), raw 16800, range 4-20 mA\n");
    EXPECT_EQ(ExecOn("output 5 V").code, 1);
    EXPECT_EQ(ExecOn("output 23 mA").code, 1);
    EXPECT_EQ(ExecOn("output -1 mA").code, 1);
    EXPECT_EQ(State().holding[0], 16800);

    bank = State();
    bank.holding[1] = 3;  // measure current
    bank.input[0] = 14000;
    SaveState(bank);
    const Result refused = ExecOn("output 12 mA");
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("Mesure courant"), std::string::npos);
    EXPECT_EQ(State().holding[0], 16800);

    const Result measure = ExecOn("measure --json");
    ASSERT_EQ(measure.code, 0) << measure.err;
    const auto doc = nlohmann::json::parse(measure.out);
    EXPECT_EQ(doc["raw"], 14000);
    EXPECT_DOUBLE_EQ(doc["value"].get<double>(), 10.0);
    EXPECT_EQ(doc["unit"], "mA");
    EXPECT_EQ(doc["status"], "ok");
    EXPECT_EQ(ExecOn("measure").out, "10.000 mA\n");
    bank.holding[9] = 2;  // the calibrator shows one decimal
    SaveState(bank);
    EXPECT_EQ(ExecOn("measure").out, "10.0 mA\n");

    bank.input[0] = 30801;
    SaveState(bank);
    EXPECT_EQ(ExecOn("measure").out, "Dep+\n");
    EXPECT_EQ(nlohmann::json::parse(ExecOn("measure --json").out)["status"], "above");
}

// A calibrator that keeps its old values after a write is never reported as
// configured: set and restore end with status 4 and name each register.
TEST_F(Lcx3, AStuckRegisterFailsTheVerification) {
    SaveState(DistinctBank());
    const Result set = ExecOn("--emulator-fault stuck set filter=5");
    EXPECT_EQ(set.code, 4) << set.err;
    EXPECT_NE(set.err.find("filter (register 3): wrote 5 (19 s), read 9 (34 s)"), std::string::npos)
        << set.err;
    EXPECT_EQ(State().holding[3], 9);
    EXPECT_EQ(State().stuck, (std::array<bool, emu::kHoldingCount>{})) << "the fault is not saved";

    const std::string backup = File("backup.json");
    ASSERT_EQ(ExecOn("backup '" + backup + "'").code, 0);
    emu::RegisterBank other = emu::FactoryBank();
    other.holding[5] = 17174;  // a full scale of 150
    other.holding[50] = 8000;
    other.stuck[5] = other.stuck[50] = true;
    SaveState(other);
    const Result restore = ExecOn("--json restore '" + backup + "'");
    EXPECT_EQ(restore.code, 4) << restore.err;
    EXPECT_NE(
        restore.err.find(
            "user-full-scale (register 5): wrote 100.00 (raw 17096), read 150.00 (raw 17174)"),
        std::string::npos)
        << restore.err;
    EXPECT_NE(restore.err.find(
                  "mem-020mA-3 (register 50): wrote 6.000 mA (raw 8400), read 5.714 mA (raw 8000)"),
              std::string::npos)
        << restore.err;
    const auto doc = nlohmann::json::parse(restore.out);
    EXPECT_EQ(doc["status"], 4);
    EXPECT_EQ(doc["verified"], false);
    ASSERT_EQ(doc["differences"].size(), 2u);
    EXPECT_EQ(doc["differences"][0]["register"], 5);
    EXPECT_EQ(doc["differences"][1]["key"], "mem-020mA-3");
    const emu::RegisterBank after = State();
    EXPECT_EQ(after.holding[50], other.holding[50]);
    EXPECT_EQ(after.holding[49], DistinctBank().holding[49]) << "the rest was restored";
}

TEST_F(Lcx3, WritingCommandsReportWhatTheCalibratorHolds) {
    SaveState(DistinctBank());
    const Result set = ExecOn("--json set l1=50 range=0 t3=7 mem-010V-8=10.5");
    ASSERT_EQ(set.code, 0) << set.err;
    ExpectBankHoldsWritten(set);
    EXPECT_EQ(State().holding[20], 14000) << "50 % of the final range, 0-20 mA";
    EXPECT_EQ(nlohmann::json::parse(set.out)["verified"], true);

    const Result text = ExecOn("set t3=8 t3x=1");
    EXPECT_EQ(text.code, 1);
    const Result done = ExecOn("set filter=9 t3=8");
    ASSERT_EQ(done.code, 0) << done.err;
    EXPECT_EQ(done.out,
              "filter  9 (34 s), unchanged\nt3      7 s -> 8 s\n"
              "2 parameters written and verified on calibrator 1, serial LCX3-0001\n");

    // A backup of a calibrator beyond what set writes is restored, with warnings.
    emu::RegisterBank unusual = DistinctBank();
    unusual.holding[70] = 32200;
    unusual.holding[22] = 100;
    SaveState(unusual);
    const std::string backup = File("unusual.json");
    ASSERT_EQ(ExecOn("backup '" + backup + "'").code, 0);
    SaveState(emu::FactoryBank());
    const Result restore = ExecOn("--json restore '" + backup + "'");
    ASSERT_EQ(restore.code, 0) << restore.err;
    ExpectBankHoldsWritten(restore);
    EXPECT_EQ(State().holding[70], 32200);
    EXPECT_NE(restore.err.find("lcx3: warning: delay (register 22) holds 100 s"), std::string::npos)
        << restore.err;
    EXPECT_NE(restore.err.find("lcx3: warning: mem-010V-7 (register 70)"), std::string::npos)
        << restore.err;

    const Result output = ExecOn("--json output 4 mA");
    ASSERT_EQ(output.code, 0) << output.err;
    EXPECT_EQ(nlohmann::json::parse(output.out)["raw"], State().holding[0]);
}

// The output's limits are 0 to 110 % of the range in every unit: at the
// limit the value is taken, one step past it nothing is written.
TEST_F(Lcx3, OutputLimitsInEveryUnit) {
    struct Case {
        int range;
        const char* value;
        const char* unit;
        int raw;  // -1: refused
    };
    const std::vector<Case> cases = {
        {0, "22", "mA", 30800},    {0, "22.001", "mA", -1},     {0, "0", "mA", 0},
        {0, "-0.001", "mA", -1},   {2, "11", "V", 30800},       {2, "11.001", "V", -1},
        {0, "110", "%", 30800},    {0, "110.01", "%", -1},      {1, "-25", "%", 0},
        {1, "-25.01", "%", -1},    {1, "112.5", "%", 30800},    {0, "110", "user", 30800},
        {0, "110.01", "user", -1}, {1, "112.5", "user", 30800}, {1, "-25", "user", 0},
        {1, "-25.01", "user", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " " + c.unit + " in range " + std::to_string(c.range));
        emu::RegisterBank bank = DistinctBank();
        bank.holding[1] = std::uint16_t(c.range);
        bank.holding[0] = 1234;
        SaveState(bank);  // user scale 0 to 100
        const Result r = ExecOn(std::string("--trace output ") + c.value + " '" + c.unit + "'");
        if (c.raw < 0) {
            EXPECT_EQ(r.code, 1);
            EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
            EXPECT_EQ(TxLines(r.err), 3) << "the read only";
            EXPECT_EQ(State().holding[0], 1234);
        } else {
            EXPECT_EQ(r.code, 0) << r.err;
            EXPECT_EQ(State().holding[0], c.raw);
        }
    }
}

TEST_F(Lcx3, FailuresAreOneJsonDocumentToo) {
    SaveState(DistinctBank());
    struct Case {
        std::string arguments;
        int status;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"--json set filter=17", 1, "outside 0 to 16"},
        {"--json --pace quick read", 1, "--pace"},
        {"--json --emulator-fault off read", 3, "Allumer le calibrateur"},
        {"--json --emulator-fault unplugged read", 2, "no matching calibrator"},
        {"--json --device 3 read", 2, "no calibrator number 3 (1 found)"},
        {"--json backup '" + File("missing/b.json") + "'", 6, "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Result r = ExecOn(c.arguments);
        EXPECT_EQ(r.code, c.status) << r.err;
        const auto doc = nlohmann::json::parse(r.out);
        EXPECT_EQ(doc["status"], c.status);
        EXPECT_NE(doc["error"].get<std::string>().find(c.error), std::string::npos) << r.out;
        EXPECT_EQ(r.err.rfind("lcx3: ", 0), 0u) << r.err;
    }
}

TEST_F(Lcx3, ABackupThatCannotBeWrittenLeavesNothingBehind) {
    SaveState(DistinctBank());
    std::filesystem::create_directory(File("taken"));
    const Result r = ExecOn("backup '" + File("taken") + "'");
    EXPECT_EQ(r.code, 6);
    EXPECT_NE(r.err.find("cannot replace " + File("taken")), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("the calibrator was read"), std::string::npos) << r.err;
    for (const auto& entry : std::filesystem::directory_iterator(Dir().Path()))
        EXPECT_EQ(entry.path().filename().string().rfind("taken.", 0), std::string::npos)
            << entry.path();
}

TEST_F(Lcx3, ListAndReadForAPerson) {
    const Result list = Exec("--emulate --emulator-devices 2 list");
    ASSERT_EQ(list.code, 0);
    EXPECT_EQ(list.out,
              "N  serial     product       manufacturer   path\n"
              "1  LCX3-0001  \"HID-LCX3  \"  Norvelectrics  emulator:1\n"
              "2  LCX3-0002  \"HID-LCX3  \"  Norvelectrics  emulator:2\n");
    SaveState(DistinctBank());
    const Result read = ExecOn("read");
    ASSERT_EQ(read.code, 0);
    EXPECT_EQ(read.out.rfind("parameter        value\nrange            1, 4-20 mA", 0), 0u)
        << read.out;
    EXPECT_TRUE(read.err.empty()) << "no progress without a terminal: " << read.err;
}

// The completion offers what lcx3 takes, from its own tables.
TEST_F(Lcx3, BashCompletion) {
    const std::string script = File("lcx3.bash");
    ASSERT_EQ(Exec("--completion bash").code, 0);
    std::filesystem::copy_file(File("out"), script);
    struct Case {
        std::vector<std::string> words;  // as bash splits them; the last is being typed
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{"lcx3", "me"}, "measure"},
        {{"lcx3", "set", "fil"}, "filter="},
        {{"lcx3", "set", "range", "="}, "0 1 2 3 4 5"},
        {{"lcx3", "set", "loop-power", "=", "o"}, "off on"},
        {{"lcx3", "--pace", ""}, "tick fast"},
        {{"lcx3", "--emulate", "output", "12", ""}, "mA V % user"},
        {{"lcx3", "restore", "--no"}, "--no-verify"},
        {{"lcx3", "--emulator-fault", "st"}, "stuck"},
    };
    for (const Case& c : cases) {
        std::string words;
        for (const std::string& w : c.words) words += " '" + w + "'";
        const std::string command = "bash -c \"source '" + script + "'; COMP_WORDS=(" + words +
                                    "); COMP_CWORD=" + std::to_string(c.words.size() - 1) +
                                    "; _lcx3; echo \\${COMPREPLY[*]}\" >'" + File("reply") + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        EXPECT_EQ(test::Slurp(File("reply")), c.expected + "\n") << words;
    }
    if (std::system("command -v zsh >/dev/null") == 0) {
        ASSERT_EQ(Exec("--completion zsh").code, 0);
        std::filesystem::copy_file(File("out"), File("_lcx3"));
        EXPECT_EQ(std::system(("zsh -n '" + File("_lcx3") + "'").c_str()), 0);
    }
}

TEST_F(Lcx3, WatchCsvParsesRowByRow) {
    SaveState(DistinctBank());
    const Result r = ExecOn("measure --watch --count 3 --interval 0 --csv");
    ASSERT_EQ(r.code, 0) << r.err;
    std::istringstream rows(r.out);
    std::string line;
    ASSERT_TRUE(std::getline(rows, line));
    EXPECT_EQ(line, "time,value,unit,raw,state");
    const std::regex row(
        R"((\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d),([0-9.]+),mA,(\d+),ok)");
    int count = 0;
    for (; std::getline(rows, line); ++count) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, row)) << line;
        EXPECT_EQ(m[3], std::to_string(DistinctBank().holding[0]));  // a generating range
    }
    EXPECT_EQ(count, 3);
}

// Ctrl-C ends a watch after the measurement in progress: whole lines, status 0.
TEST_F(Lcx3, WatchEndsCleanlyOnSigint) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::freopen(File("out").c_str(), "w", stdout);
        std::freopen(File("err").c_str(), "w", stderr);
        ::execl(LCX3_PROGRAM, LCX3_PROGRAM, "--emulate", "--pace", "fast", "measure", "--watch",
                "--interval", "0.05", nullptr);
        ::_exit(127);
    }
    const auto lines = [this] {
        const std::string out = test::Slurp(File("out"));
        return std::count(out.begin(), out.end(), '\n');
    };
    for (int k = 0; k < 6000 && lines() < 3; ++k) ::usleep(10000);
    ASSERT_GE(lines(), 3) << test::Slurp(File("err"));
    ::kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << test::Slurp(File("err"));
    const std::string out = test::Slurp(File("out"));
    EXPECT_EQ(out.back(), '\n');
    std::istringstream rows(out);
    for (std::string line; std::getline(rows, line);)
        EXPECT_NE(line.find(" mA  raw "), std::string::npos) << line;
}

// A loop check: the points in order (up and down), each confirmed by the
// calibrator; one outside the range refused before anything is written.
TEST_F(Lcx3, LoopCheckStepsThroughItsPoints) {
    SaveState(DistinctBank());  // 4-20 mA
    const Result r = ExecOn("output --steps 0,50,100 % --dwell 0 --up-down --csv");
    ASSERT_EQ(r.code, 0) << r.err;
    std::istringstream rows(r.out);
    std::string line;
    std::getline(rows, line);
    EXPECT_EQ(line, "time,point,value,unit,raw");
    std::vector<std::string> raws;
    const std::regex row(R"([0-9T:.+-]+,(\d+),([0-9.]+),%,(\d+))");
    for (int k = 1; std::getline(rows, line); ++k) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, row)) << line;
        EXPECT_EQ(m[1], std::to_string(k));
        raws.push_back(m[3]);
    }
    EXPECT_EQ(raws, (std::vector<std::string>{"5600", "16800", "28000", "16800", "5600"}));
    EXPECT_EQ(State().holding[0], 5600) << "the last point stays";
    EXPECT_NE(r.err.find("left at 0.00 %, the last point commanded"), std::string::npos) << r.err;

    const Result refused = ExecOn("--trace output --steps 4,12,22.1 mA --dwell 0");
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("22.1 mA is outside 0 to 22 mA"), std::string::npos) << refused.err;
    EXPECT_EQ(TxLines(refused.err), 3) << "the read only";
    EXPECT_EQ(State().holding[0], 5600);

    const Result bench = Exec(
        "--emulate --emulator-devices 2 --pace fast -d all output --steps 4,20 mA "
        "--dwell 0 --csv");
    ASSERT_EQ(bench.code, 0) << bench.err;
    for (const char* serial : {",LCX3-0001,2,20.000,mA,28000", ",LCX3-0002,2,20.000,mA,28000"})
        EXPECT_NE(bench.out.find(serial), std::string::npos) << bench.out;
}

// Ctrl-C during a dwell: the output goes to the --end value, status 0.
TEST_F(Lcx3, LoopCheckEndsAtItsEndValueOnSigint) {
    SaveState(DistinctBank());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::freopen(File("out").c_str(), "w", stdout);
        std::freopen(File("err").c_str(), "w", stderr);
        const std::string state = File("state.json");
        ::execl(LCX3_PROGRAM, LCX3_PROGRAM, "--emulate", "--pace", "fast", "--emulator-state",
                state.c_str(), "output", "--steps", "12,16", "mA", "--dwell", "60", "--end", "4",
                nullptr);
        ::_exit(127);
    }
    for (int k = 0; k < 6000 && test::Slurp(File("out")).find("point 1") == std::string::npos; ++k)
        ::usleep(10000);
    ::kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << test::Slurp(File("err"));
    EXPECT_EQ(State().holding[0], 5600) << "4 mA";
    EXPECT_NE(test::Slurp(File("err")).find("left at 4.000 mA (--end)"), std::string::npos);
    EXPECT_EQ(test::Slurp(File("out")).find("point 2"), std::string::npos);
}

// On a terminal, Enter moves to the next point and q stops.
TEST_F(Lcx3, LoopCheckStepsOnEnterAtATerminal) {
    SaveState(DistinctBank());
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string state = File("state.json");
        ::execl(LCX3_PROGRAM, LCX3_PROGRAM, "--emulate", "--pace", "fast", "--emulator-state",
                state.c_str(), "output", "--steps", "4,8,12", "mA", "--dwell", "0", nullptr);
        ::_exit(127);
    }
    std::string seen;
    const auto readUntil = [&](const std::string& text) {
        for (int k = 0; k < 2000 && seen.find(text, 0) == std::string::npos; ++k) {
            pollfd p{terminal, POLLIN, 0};
            if (::poll(&p, 1, 10) > 0) {
                char chunk[512];
                const ssize_t n = ::read(terminal, chunk, sizeof chunk);
                if (n <= 0)
                    return false;
                seen.append(chunk, std::size_t(n));
            }
        }
        return seen.find(text) != std::string::npos;
    };
    ASSERT_TRUE(readUntil("point 1 of 3: 4.000 mA; Enter for the next, q to stop")) << seen;
    ASSERT_EQ(::write(terminal, "\r", 1), 1);
    ASSERT_TRUE(readUntil("point 2 of 3: 8.000 mA; Enter for the next")) << seen;
    ASSERT_EQ(::write(terminal, "q\r", 2), 2);
    readUntil("the last point commanded");
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(terminal);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << seen;
    EXPECT_EQ(seen.find("point 3 of 3"), std::string::npos) << seen;
    EXPECT_EQ(State().holding[0], 11200) << "8 mA, where q stopped it";
}

}  // namespace
}  // namespace vadero
