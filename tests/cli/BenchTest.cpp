// A bench of calibrators served at once (-d all): each one's result is its
// own, checked against each emulated calibrator's bank.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "emulator/BankJson.h"
#include "emulator/EmulatorHid.h"
#include "tests/cli/BorrowedHid.h"
#include "tests/support/ScratchDir.h"

namespace vadero {
namespace {

constexpr int kBench = 3;

// Unplugs one calibrator at the Nth output report written to it.
class UnplugAtWrite : public test::BorrowedHid {
  public:
    UnplugAtWrite(emu::EmulatorHid& hid, int device, int writes)
        : BorrowedHid(hid), victim_(hid.Device(device)), writes_(writes) {}

    std::unique_ptr<HidHandle> open(const std::string& path) override {
        auto handle = BorrowedHid::open(path);
        if (!handle || path != victim_.Path())
            return handle;
        return std::make_unique<Counting>(std::move(handle), *this);
    }

  private:
    struct Counting : HidHandle {
        Counting(std::unique_ptr<HidHandle> h, UnplugAtWrite& o) : inner(std::move(h)), owner(o) {}
        std::optional<HidAttributes> attributes() override { return inner->attributes(); }
        std::optional<std::string> manufacturer() override { return inner->manufacturer(); }
        std::optional<std::string> product() override { return inner->product(); }
        std::optional<std::string> serialNumber() override { return inner->serialNumber(); }
        std::optional<HidCaps> caps() override { return inner->caps(); }
        int read(std::uint8_t* b, int n, HidWake& w) override { return inner->read(b, n, w); }
        int write(const std::uint8_t* data, int n) override {
            if (--owner.writes_ == 0)
                owner.victim_.Unplug();
            return inner->write(data, n);
        }
        std::unique_ptr<HidHandle> inner;
        UnplugAtWrite& owner;
    };
    emu::EmulatedLcx3& victim_;
    std::atomic<int> writes_;
};

struct Ran {
    int code = -1;
    nlohmann::json doc;
};

class Bench : public ::testing::Test {
  protected:
    Bench() {
        for (int k = 1; k <= kBench; ++k) {
            emu::RegisterBank bank = emu::FactoryBank();
            bank.holding[3] = std::uint16_t(k);  // each its own filter
            hid.AddDevice().SetBank(bank);
        }
    }
    Ran Command(std::vector<std::string> arguments, std::unique_ptr<HidLayer> layer = nullptr) {
        cli::Options o;
        o.allDevices = true;
        o.json = true;
        o.pace = cli::Pace::Fast;
        o.command = arguments.front();
        o.arguments.assign(arguments.begin() + 1, arguments.end());
        testing::internal::CaptureStdout();
        const int code =
            cli::RunCommand(o, layer ? std::move(layer) : std::make_unique<test::BorrowedHid>(hid));
        const std::string out = testing::internal::GetCapturedStdout();
        return {code, nlohmann::json::parse(out)};
    }

    emu::EmulatorHid hid{emu::EmulatorHid::Time::Real};
};

TEST_F(Bench, EveryCalibratorIsWrittenAndVerifiedAndAStuckOneFailsAlone) {
    emu::RegisterBank stuck = hid.Device(2).Bank();
    stuck.stuck[3] = true;
    hid.Device(2).SetBank(stuck);
    const Ran run = Command({"set", "filter=9", "t1=42"});
    EXPECT_EQ(run.code, cli::kMismatch);
    ASSERT_EQ(run.doc.size(), std::size_t(kBench));
    for (int k = 1; k <= kBench; ++k) {
        SCOPED_TRACE(k);
        const nlohmann::json& result = run.doc[k - 1];
        EXPECT_EQ(result["number"], k);
        EXPECT_EQ(hid.Device(k).Holding(16), 42);
        if (k == 2) {
            EXPECT_EQ(result["status"], cli::kMismatch);
            EXPECT_EQ(result["differences"][0]["key"], "filter");
            EXPECT_EQ(hid.Device(k).Holding(3), 2);
        } else {
            EXPECT_FALSE(result.contains("error")) << result.dump();
            EXPECT_EQ(result["verified"], true);
            EXPECT_EQ(hid.Device(k).Holding(3), 9);
        }
    }
}

TEST_F(Bench, ACalibratorUnpluggedMidTransferIsReportedForItselfOnly) {
    // At its third output report: in the middle of the transfer.
    const Ran run = Command({"set", "filter=9"}, std::make_unique<UnplugAtWrite>(hid, 3, 3));
    EXPECT_EQ(run.code, cli::kNoDevice);
    for (int k = 1; k <= 2; ++k) {
        EXPECT_EQ(run.doc[k - 1]["verified"], true) << k;
        EXPECT_EQ(hid.Device(k).Holding(3), 9) << k;
    }
    EXPECT_EQ(run.doc[2]["status"], cli::kNoDevice);
    EXPECT_NE(run.doc[2]["error"].get<std::string>().find("went away"), std::string::npos);
}

// A loop check whose calibrator goes away between its points loses nothing:
// the points taken are recorded, incomplete, and the status says why.
TEST_F(Bench, ACheckWhoseCalibratorGoesAwayIsRecordedIncomplete) {
    emu::RegisterBank bank = hid.Device(1).Bank();
    bank.holding[reg::kRange] = rgGenerate420mA;
    hid.Device(1).SetBank(bank);
    const test::ScratchDir dir("check-unplugged");
    std::ofstream(dir.File("readings.csv")) << "0\n37.5\n75\n112.5\n150\n";
    cli::Options o;
    o.json = true;
    o.pace = cli::Pace::Fast;
    o.command = "check";
    o.check.tag = "TT-101";
    o.check.instrument = "0..150 degC";
    o.check.readings = dir.File("readings.csv");
    o.check.record = dir.Path().string();
    testing::internal::CaptureStdout();
    // The read takes three requests and each point two: gone during point 3.
    const int code = cli::RunCommand(o, std::make_unique<UnplugAtWrite>(hid, 1, 2 * (3 + 5)));
    const nlohmann::json doc = nlohmann::json::parse(testing::internal::GetCapturedStdout());
    EXPECT_EQ(code, cli::kNoDevice);
    EXPECT_NE(doc["error"].get<std::string>().find("went away"), std::string::npos);
    EXPECT_EQ(doc["result"], "incomplete");
    ASSERT_EQ(doc["files"].size(), 3u);
    const nlohmann::json filed =
        nlohmann::json::parse(std::ifstream(doc["files"][0].get<std::string>()));
    EXPECT_EQ(filed["complete"], false);
    EXPECT_EQ(filed["points"].size(), 2u);
    EXPECT_EQ(filed["points"], doc["points"]);
}

TEST_F(Bench, BackupsGiveOneFileEachWithItsCalibratorsRegisters) {
    const test::ScratchDir dir("lcx3-bench");
    const Ran run = Command({"backup", dir.Path().string()});
    ASSERT_EQ(run.code, cli::kOk) << run.doc.dump();
    for (int k = 1; k <= kBench; ++k) {
        SCOPED_TRACE(k);
        const std::string file = dir.File("lcx3-LCX3-000" + std::to_string(k) + ".json");
        EXPECT_EQ(run.doc[k - 1]["file"], file);
        std::ifstream in(file);
        const auto doc = nlohmann::json::parse(in);
        const emu::RegisterBank bank = hid.Device(k).Bank();
        for (int r : {3, 16, 71}) EXPECT_EQ(doc["holding"][r], bank.holding[std::size_t(r)]) << r;
    }
}

TEST(Severity, TheWorstOfABenchDecidesTheStatus) {
    using namespace cli;
    const std::vector<std::tuple<int, int, int>> cases = {
        {kOk, kOk, kOk},
        {kOk, kUsage, kUsage},
        {kNotSaved, kUsage, kNotSaved},
        {kCannotOpen, kNotSaved, kCannotOpen},
        {kNoDevice, kCannotOpen, kNoDevice},
        {kTimeOut, kNoDevice, kTimeOut},
        {kMismatch, kTimeOut, kMismatch},
        {kUsage, kMismatch, kMismatch},
    };
    for (const auto& [a, b, worst] : cases) {
        EXPECT_EQ(MoreSevere(a, b), worst) << a << " " << b;
        EXPECT_EQ(MoreSevere(b, a), worst) << b << " " << a;
    }
}

}  // namespace
}  // namespace vadero
