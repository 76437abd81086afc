// lcx3 in this process on an emulated calibrator whose every answer comes
// later than a tick: each request is sent twice and each send answered, and
// every result must come from the answer to its own request (the answer to
// the re-send dropped), as the calibrator's bank and its count of requests say.
#include <gtest/gtest.h>

#include <atomic>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "calibrator/RegisterMap.h"
#include "cli/Commands.h"
#include "emulator/EmulatorHid.h"
#include "tests/cli/BorrowedHid.h"

namespace vadero {
namespace {

using namespace std::chrono_literals;

constexpr const char* kDropped = "late answer to a re-sent request, dropped";

struct Ran {
    int code = -1;
    std::string out;
    std::string err;
};

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class LateAnswers : public ::testing::Test {
  protected:
    static emu::Faults Late() {
        emu::Faults faults;
        // Every block of a read-all and the measurement answered well after the
        // tick that re-sends it, and well before the one that would send it again.
        faults.extraDelay = 1000ms;
        return faults;
    }
    Ran Run(cli::Options o) {
        o.pace = cli::Pace::Fast;
        o.trace = true;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int code = cli::RunCommand(o, std::make_unique<test::BorrowedHid>(hid));
        Ran r{code, testing::internal::GetCapturedStdout(), testing::internal::GetCapturedStderr()};
        return r;
    }

    emu::EmulatorHid hid{emu::EmulatorHid::Time::Real};
    emu::EmulatedLcx3& calibrator = hid.AddDevice();
};

TEST_F(LateAnswers, AReadAllTakesEachBlockFromItsOwnAnswer) {
    emu::RegisterBank bank = emu::FactoryBank();
    bank.holding[3] = 9;
    bank.holding[17] = 42;
    bank.holding[49] = 1234;
    bank.holding[71] = 30000;
    calibrator.SetBank(bank);
    calibrator.SetFaults(Late());
    cli::Options o;
    o.command = "read";
    o.json = true;
    const Ran r = Run(o);
    ASSERT_EQ(r.code, 0) << r.err;
    const auto doc = nlohmann::json::parse(r.out);
    for (int k = 0; k < kRegisterCount; ++k) {
        if (IsTransferred(k)) {
            EXPECT_EQ(doc["holding"][k], bank.holding[std::size_t(k)]) << k;
        }
    }
    // Three blocks sent twice each; the third's second answer comes after the read.
    EXPECT_EQ(Count(r.err, " TX : "), 6u) << r.err;
    EXPECT_EQ(Count(r.err, kDropped), 2u) << r.err;
}

TEST_F(LateAnswers, EachMeasurementOfAWatchIsTheAnswerToItsOwnRequest) {
    emu::RegisterBank bank = emu::FactoryBank();
    bank.holding[1] = 3;  // measure current
    calibrator.SetBank(bank);
    // Once the read-all that comes first is heard, every answer is late, and
    // the measured input counts the measurements heard: an answer carries the
    // count at its own send, so a measurement that took the answer to the
    // re-send before it would be one behind.
    std::atomic<bool> stop{false};
    std::thread counting([&] {
        constexpr std::uint64_t kReadAll = 3;
        std::uint64_t seen = 0;
        while (!stop) {
            const std::uint64_t heard = calibrator.Stats().requests;
            if (heard != seen && heard >= kReadAll) {
                if (heard == kReadAll)
                    calibrator.SetFaults(Late());
                calibrator.SetMeasuredInput(std::int16_t(heard - kReadAll));
                seen = heard;
            }
            std::this_thread::sleep_for(1ms);
        }
    });
    cli::Options o;
    o.command = "measure";
    o.watch = true;
    o.interval = 0;
    o.count = 2;
    o.csv = true;
    const Ran r = Run(o);
    stop = true;
    counting.join();
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<int> raw;
    std::istringstream rows(r.out);
    std::string row;
    std::getline(rows, row);  // time,value,unit,raw,state
    while (std::getline(rows, row)) {
        std::istringstream fields(row);
        std::string field;
        for (int k = 0; k < 4; ++k) std::getline(fields, field, ',');
        raw.push_back(std::stoi(field));
    }
    EXPECT_EQ(raw, (std::vector<int>{0, 2})) << r.out;
    EXPECT_EQ(calibrator.Stats().requests, 3u + 4u);
    EXPECT_EQ(Count(r.err, kDropped), 1u) << r.err;
}

}  // namespace
}  // namespace vadero
