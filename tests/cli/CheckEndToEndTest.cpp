// lcx3 check run as a process against its emulated calibrator: the record
// it files is held against the calibrator's request log and bank.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "emulator/BankJson.h"
#include "tests/cli/Lcx3Process.h"

namespace vadero {
namespace {

using Result = test::Lcx3Result;

class Check : public ::testing::Test, public test::Lcx3Process {
  protected:
    void SetUp() override { std::filesystem::create_directory(File("records")); }

    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(File(name)) << text;
    }
    // A bank in the range given, the display in French unless `english`.
    void Bank(int range, bool english = false, int measured = 0) const {
        emu::RegisterBank bank = emu::FactoryBank();
        bank.holding[reg::kRange] = std::uint16_t(range);
        bank.holding[reg::kLanguage] = english ? kLanguageEnglish : kLanguageFrench;
        bank.holding[reg::kOutputValue] = 1234;
        bank.input[0] = std::uint16_t(measured);
        SaveState(bank);
    }
    Result Run(const std::string& arguments) const {
        return ExecOn("--trace check --tag TT-101 --instrument '0..150 degC' --record '" +
                      File("records") + "' " + arguments);
    }
    // The records in the folder, oldest name first, by suffix.
    std::vector<std::string> Records(const std::string& suffix) const {
        std::vector<std::string> found;
        for (const auto& e : std::filesystem::directory_iterator(File("records")))
            if (e.path().extension() == suffix)
                found.push_back(e.path().string());
        std::sort(found.begin(), found.end());
        return found;
    }
    nlohmann::json LastJson() const {
        return nlohmann::json::parse(test::Slurp(Records(".json").back()));
    }
    std::string Shell(const std::string& command) const {
        const std::string out = File("shell.out");
        EXPECT_EQ(std::system((command + " >'" + out + "' 2>&1").c_str()), 0) << command;
        return test::Slurp(out);
    }
};

// The raw values of register 0 that function-16 requests carried, in order
// (the values travel low byte first).
std::vector<int> OutputsSent(const std::string& trace) {
    std::vector<int> raws;
    std::istringstream lines(trace);
    const std::string write = " TX : 64 10 00 00 00 03 06 ";
    for (std::string line; std::getline(lines, line);)
        if (const auto at = line.find(write); at != std::string::npos) {
            const std::string bytes = line.substr(at + write.size(), 5);
            raws.push_back(std::stoi(bytes.substr(3, 2), nullptr, 16) * 256 +
                           std::stoi(bytes.substr(0, 2), nullptr, 16));
        }
    return raws;
}

int Requests(const std::string& trace, const std::string& frame) {
    int count = 0;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);)
        count += line.find(" TX : " + frame) != std::string::npos ? 1 : 0;
    return count;
}

std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields(1);
        bool quoted = false;
        for (const char c : line) {
            if (c == '"')
                quoted = !quoted;
            else if (c == ',' && !quoted)
                fields.emplace_back();
            else
                fields.back() += c;
        }
        rows.push_back(line.empty() ? std::vector<std::string>{} : fields);
    }
    return rows;
}

// A source check from a file of readings with one point out of tolerance:
// status 7, every point's raw count the one the calibrator was sent, the
// output back at 4 mA, and the three files saying so. An as-left run after
// it passes, and --compare shows the change.
TEST_F(Check, ASourceRunWithAPointOutOfToleranceFails) {
    Bank(rgGenerate420mA);
    Write(
        "found.csv",
        "point,reading\n1,0\n2,37.6\n3,75.5\n4,112.5\n5,150\n6,150\n7,112.4\n8,\n9,37.5\n10,0.1\n");
    const Result r =
        Run("--up-down --technician 'Dupont, J.' --readings '" + File("found.csv") + "'");
    ASSERT_EQ(r.code, 7) << r.err;
    EXPECT_NE(r.err.find("did not pass"), std::string::npos) << r.err;

    const nlohmann::json doc = LastJson();
    ASSERT_EQ(doc["points"].size(), 10u);
    EXPECT_EQ(doc["result"], "fail");
    EXPECT_EQ(doc["complete"], true);
    EXPECT_EQ(doc["technician"], "Dupont, J.");
    EXPECT_EQ(doc["calibrator"]["serial"], "LCX3-0001");
    EXPECT_EQ(doc["calibrator"]["parameters"]["holding"][reg::kRange], rgGenerate420mA);
    const std::vector<int> sent = OutputsSent(r.err);
    ASSERT_EQ(sent.size(), 11u) << "ten points and the lower range value";
    const std::vector<int> expected = {5600,  11200, 16800, 22400, 28000,
                                       28000, 22400, 16800, 11200, 5600};
    for (std::size_t k = 0; k < 10; ++k) {
        SCOPED_TRACE(k);
        const auto& p = doc["points"][k];
        EXPECT_EQ(p["calibrator"]["raw"], sent[k]);
        EXPECT_EQ(sent[k], expected[k]);
        EXPECT_EQ(p["direction"], k < 5 ? "up" : "down");
        EXPECT_EQ(p["pass"], k != 2);
    }
    EXPECT_DOUBLE_EQ(doc["points"][2]["error_percent_of_span"].get<double>(), 0.333);
    EXPECT_DOUBLE_EQ(doc["points"][7]["reading"]["value"].get<double>(), 75.0) << "the nominal";
    EXPECT_EQ(sent.back(), 5600);
    EXPECT_EQ(State().holding[reg::kOutputValue], 5600) << "4 mA, the lower range value";

    const auto rows = CsvRows(test::Slurp(Records(".csv").back()));
    const auto blank = std::find(rows.begin(), rows.end(), std::vector<std::string>{});
    ASSERT_NE(blank, rows.end());
    EXPECT_EQ(rows[0], (std::vector<std::string>{"field", "value"}));
    EXPECT_NE(std::find(rows.begin(), blank, std::vector<std::string>{"result", "fail"}), blank);
    EXPECT_NE(std::find(rows.begin(), blank, std::vector<std::string>{"technician", "Dupont, J."}),
              blank);
    const std::vector<std::string>& head = *(blank + 1);
    ASSERT_EQ(rows.end() - blank - 2, 10);
    const auto column = [&head](const char* name) {
        return std::size_t(std::find(head.begin(), head.end(), name) - head.begin());
    };
    for (int k = 0; k < 10; ++k) {
        const auto& row = *(blank + 2 + k);
        ASSERT_EQ(row.size(), head.size());
        EXPECT_EQ(row[column("raw")], std::to_string(sent[std::size_t(k)]));
        EXPECT_EQ(row[column("pass")], k == 2 ? "no" : "yes");
    }
    EXPECT_EQ((*(blank + 4))[column("error_percent_of_span")], "+0.333");

    const std::string pdf = Records(".pdf").back();
    const std::string text = Shell("pdftotext -layout '" + pdf + "' -");
    EXPECT_NE(text.find("NON CONFORME"), std::string::npos) << text;
    for (const char* value : {"75.500", "+0.333", "112.400", "-0.067", "37.600", "11200"})
        EXPECT_NE(text.find(value), std::string::npos) << value;
    std::istringstream fonts(Shell("pdffonts '" + pdf + "'"));
    int listed = 0;
    for (std::string line; std::getline(fonts, line);)
        if (line.find("TrueType") != std::string::npos) {
            ++listed;
            EXPECT_NE(line.find(" yes yes "), std::string::npos) << "embedded: " << line;
        }
    EXPECT_GE(listed, 1);

    Write("left.csv", "0\n37.5\n75\n112.5\n150\n150\n112.5\n75\n37.5\n0\n");
    const Result left = Run("--up-down --as-left --readings '" + File("left.csv") + "'");
    ASSERT_EQ(left.code, 0) << left.err;
    ASSERT_EQ(Records(".json").size(), 2u);
    const std::string asLeft = Records(".json")[0].find("as-left") != std::string::npos
                                   ? Records(".json")[0]
                                   : Records(".json")[1];
    const std::string asFound =
        asLeft == Records(".json")[0] ? Records(".json")[1] : Records(".json")[0];
    const Result compare = Exec("--json check --compare '" + asFound + "' '" + asLeft + "'");
    ASSERT_EQ(compare.code, 0) << compare.err;
    const auto changes = nlohmann::json::parse(compare.out)["points"];
    ASSERT_EQ(changes.size(), 10u);
    EXPECT_DOUBLE_EQ(changes[2]["error_change"].get<double>(), -0.333);
    EXPECT_EQ(changes[2]["before"]["pass"], false);
    EXPECT_EQ(changes[2]["after"]["pass"], true);
}

// A measure check: the technician's inputs from the file, each point the mean
// of two measurements; no output is written in a measuring range.
TEST_F(Check, AMeasureRunAveragesItsSamples) {
    Bank(rgMeasureCurrent, true, 16800);  // 12 mA measured
    Write("inputs.csv", "75\n75.2\n80\n");
    const Result r =
        Run("--mode measure --points 0,50,100 --samples 2 --readings '" + File("inputs.csv") + "'");
    ASSERT_EQ(r.code, 7) << r.err;
    EXPECT_EQ(Requests(r.err, "64 04 00 00 00 01"), 6) << "two measurements a point";
    EXPECT_TRUE(OutputsSent(r.err).empty());
    const nlohmann::json doc = LastJson();
    ASSERT_EQ(doc["points"].size(), 3u);
    EXPECT_EQ(doc["mode"], "measure");
    EXPECT_EQ(doc["points"][0]["calibrator"]["raw"], 16800);
    EXPECT_DOUBLE_EQ(doc["points"][0]["calibrator"]["value"].get<double>(), 12.0);
    EXPECT_DOUBLE_EQ(doc["points"][1]["ideal"]["value"].get<double>(), 12.0213);
    EXPECT_DOUBLE_EQ(doc["points"][1]["error_percent_of_span"].get<double>(), -0.133);
    EXPECT_EQ(doc["points"][2]["pass"], false);
    EXPECT_EQ(State().holding[reg::kOutputValue], 1234);
    const std::string text = Shell("pdftotext '" + Records(".pdf").back() + "' -");
    EXPECT_NE(text.find("FAIL"), std::string::npos) << "the calibrator's display is English";
    EXPECT_EQ(text.find("CONFORME"), std::string::npos);
}

// What the calibrator cannot do is refused after the read, before the first
// point: status 1 and no write. At its limit a point is taken.
TEST_F(Check, APointBeyondTheCalibratorOrAWrongRangeSendsNothing) {
    struct Case {
        int range;
        std::string arguments;
        int status;
        std::string says;
    };
    Write("one.csv", "1\n");
    const std::string one = " --readings '" + File("one.csv") + "'";
    const std::vector<Case> cases = {
        {rgGenerate420mA, "--points 112.5" + one, 7, ""},
        {rgGenerate420mA, "--points 112.51" + one, 1, "outside the 0.000 to 22.000 mA"},
        {rgGenerate420mA, "--points -25" + one, 7, ""},
        {rgGenerate420mA, "--points -25.01" + one, 1, "outside the 0.000 to 22.000 mA"},
        {rgGenerate010V, "--points 110" + one, 7, ""},
        {rgGenerate010V, "--points 110.01" + one, 1, "outside the 0.000 to 11.000 V"},
        {rgGenerate420mA, "--mode measure --points 50" + one, 1,
         "lcx3 set range=3 (\"Mesure courant\")"},
        {rgMeasureCurrent, "--points 50" + one, 1, "lcx3 set range=1 (\"Génére 4-20mA\")"},
        {rgGenerate420mA, "--loop 0-10V --points 50" + one, 1, "lcx3 set range=2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        Bank(c.range);
        const Result r = Run(c.arguments);
        EXPECT_EQ(r.code, c.status) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        if (c.status == 1) {
            EXPECT_TRUE(OutputsSent(r.err).empty());
            EXPECT_EQ(State().holding[reg::kOutputValue], 1234);
        } else {
            EXPECT_EQ(OutputsSent(r.err).size(), 2u) << "the point, then the lower value";
        }
    }
    // Arguments are refused before any calibrator is opened.
    for (const char* bad :
         {"--points 1,2,3,4,5,6,7,8,9,10,11,12", "--tolerance 0", "--mode measure --samples 101",
          "--readings missing.csv", "--as-found --as-left", "--dwell -1"}) {
        SCOPED_TRACE(bad);
        const Result r = Run(bad);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(Requests(r.err, ""), 0) << r.err;
    }
    EXPECT_EQ(
        Exec("--emulate --emulator-devices 2 -d all check --tag T --instrument '0..1 V'").code, 1);
}

// At the terminal: a reading typed, a bad one asked again, Enter for the
// nominal one, then q or Ctrl-C: the record says incomplete, the output goes
// to the lower range value and the status is 7.
TEST_F(Check, AStoppedRunIsRecordedIncomplete) {
    for (const std::string stop : {"q\r", "\x03"}) {
        SCOPED_TRACE(stop == "q\r" ? "q" : "Ctrl-C");
        Bank(rgGenerate420mA);
        for (const auto& e : std::filesystem::directory_iterator(File("records")))
            std::filesystem::remove(e.path());
        int terminal = -1;
        const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
        ASSERT_GE(child, 0);
        if (child == 0) {
            const std::string state = File("state.json");
            const std::string records = File("records");
            ::execl(LCX3_PROGRAM, LCX3_PROGRAM, "--emulate", "--pace", "fast", "--emulator-state",
                    state.c_str(), "check", "--tag", "TT-101", "--instrument", "0..150 degC",
                    "--record", records.c_str(), nullptr);
            ::_exit(127);
        }
        std::string seen;
        const auto readUntil = [&](const std::string& text) {
            for (int k = 0; k < 2000 && seen.find(text) == std::string::npos; ++k) {
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
        const auto type = [&](const std::string& keys) {
            ASSERT_EQ(::write(terminal, keys.data(), keys.size()), ssize_t(keys.size()));
        };
        ASSERT_TRUE(readUntil("point 1 of 5: 4.000 mA sent; reading of TT-101 (degC)?")) << seen;
        type("0.3\r");
        ASSERT_TRUE(readUntil("point 2 of 5: 8.000 mA sent; reading of TT-101 (degC)?")) << seen;
        type("abc\r");
        ASSERT_TRUE(readUntil("\"abc\" is no number")) << seen;
        type("\r");
        ASSERT_TRUE(readUntil("point 3 of 5: 12.000 mA sent; reading of TT-101 (degC)?")) << seen;
        type(stop);
        readUntil("record: ");
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ::close(terminal);
        ASSERT_TRUE(WIFEXITED(status)) << seen;
        EXPECT_EQ(WEXITSTATUS(status), 7) << seen;
        EXPECT_EQ(State().holding[reg::kOutputValue], 5600) << "4 mA";
        ASSERT_EQ(Records(".json").size(), 1u);
        const nlohmann::json doc = LastJson();
        EXPECT_EQ(doc["result"], "incomplete");
        EXPECT_EQ(doc["complete"], false);
        ASSERT_EQ(doc["points"].size(), 2u);
        EXPECT_DOUBLE_EQ(doc["points"][0]["reading"]["value"].get<double>(), 0.3);
        EXPECT_DOUBLE_EQ(doc["points"][1]["reading"]["value"].get<double>(), 37.5);
        EXPECT_NE(Shell("pdftotext '" + Records(".pdf").back() + "' -").find("INCOMPLET"),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace vadero
