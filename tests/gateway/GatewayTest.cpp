// The gateway in this process, on the test's emulated calibrator and the
// loop's thread, its clients on threads of their own: late answers to
// re-sends, an unplug and a plug, a start without a calibrator, the seats
// when clients stay idle or drip their bytes, and idle connections.
#include "gateway/Gateway.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "emulator/EmulatorHid.h"
#include "tests/support/ModbusClient.h"
#include "tests/support/RawSocket.h"

namespace vadero::gateway {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::ModbusClient;

class InProcess : public ::testing::Test {
  protected:
    InProcess() { hid.AddDevice(); }

    void Start(GatewaySettings settings = {}) {
        settings.listen = *EndpointOf("127.0.0.1:0");
        gateway = std::make_unique<Gateway>(hid, loop, settings, [this](const std::string& line) {
            const std::lock_guard lock(mutex);
            log += line + "\n";
        });
        const std::string& address = gateway->Address();
        port = std::stoi(address.substr(address.rfind(':') + 1));
    }
    // What a client does, on its own thread, while the loop runs here.
    template <class Work>
    auto OnClient(Work work) {
        auto done = std::async(std::launch::async, [&] {
            auto result = work();
            loop.post([] {});  // wakes the loop to see it
            return result;
        });
        loop.RunUntil([&] { return done.wait_for(0s) == std::future_status::ready; }, 30s);
        return done.get();
    }
    // Tries until the work gives 0, a few times a second for 5 s at most.
    template <class Work>
    bool Eventually(Work work) {
        for (int k = 0; k < 50; ++k) {
            if (OnClient(work) == 0)
                return true;
            loop.RunUntil([] { return false; }, 100ms);
        }
        return false;
    }
    std::string Log() {
        const std::lock_guard lock(mutex);
        return log;
    }
    std::size_t Count(const std::string& what) {
        const std::string text = Log();
        std::size_t n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }

    emu::EmulatorHid hid;
    EventLoop loop;
    std::mutex mutex;
    std::string log;
    std::unique_ptr<Gateway> gateway;
    int port = 0;
};

std::vector<std::uint16_t> Bank(emu::EmulatedLcx3& device, int address, int count) {
    const emu::RegisterBank bank = device.Bank();
    return {bank.holding.begin() + address, bank.holding.begin() + address + count};
}

// A client that reads 12 registers again and again until told to stop,
// counting the replies that were right and those that were not.
struct Steady {
    explicit Steady(int port, std::vector<std::uint16_t> expected)
        : thread([this, port, expected = std::move(expected)] {
              ModbusClient client(port);
              while (!stop) {
                  const test::Reply r = client.Holding(0, 12);
                  ++(r.exception == 0 && r.values == expected ? right : wrong);
              }
          }) {}
    ~Steady() {
        stop = true;
        thread.join();
    }
    std::atomic<bool> stop{false};
    std::atomic<int> right{0};
    std::atomic<int> wrong{0};
    std::thread thread;
};

TEST_F(InProcess, AReSentRequestsLateAnswerNeverAnswersTheNextRequest) {
    emu::RegisterBank bank = emu::FactoryBank();
    for (std::size_t k = 0; k < bank.holding.size(); ++k)
        bank.holding[k] = std::uint16_t(0x0101 * k);
    emu::EmulatedLcx3& calibrator = hid.Device(1);
    calibrator.SetBank(bank);
    // 60 registers answered halfway between the re-send and the third send:
    // every read is sent twice, and the answer to its re-send comes once the
    // first answer was taken.
    emu::Faults late;
    late.extraDelay = 950ms;
    calibrator.SetFaults(late);
    GatewaySettings settings;
    settings.trace = true;
    Start(settings);
    ModbusClient client(port);
    for (const int address : {0, 12, 0})
        EXPECT_EQ(OnClient([&] { return client.Holding(address, 60); }).values,
                  Bank(calibrator, address, 60))
            << address;
    EXPECT_TRUE(Eventually([&] {
        return int(Count("late answer to a re-sent request, dropped")) - 3;
    })) << Log();
    // Every send answered once: one answer taken per request, the others dropped.
    EXPECT_EQ(calibrator.Stats().requests, 6u);
    EXPECT_EQ(calibrator.Stats().answers, 6u);
    EXPECT_EQ(Count("function 3: answered"), 3u) << Log();
}

TEST_F(InProcess, UnpluggedIsAPathUnavailableUntilItIsBackThenServedWithoutARestart) {
    Start();
    ModbusClient client(port);
    const auto read = [&] { return client.Holding(0, 12); };
    EXPECT_EQ(OnClient(read).values, Bank(hid.Device(1), 0, 12));
    hid.Device(1).Unplug();
    EXPECT_EQ(OnClient(read).exception, 0x0A);
    EXPECT_EQ(OnClient([&] { return client.WriteOne(3, 2); }), 0x0A);
    hid.Device(1).Plug();
    EXPECT_TRUE(Eventually([&] { return read().exception; }));
    hid.Device(1).SetHolding(3, 0x0405);
    EXPECT_EQ(OnClient(read).values, Bank(hid.Device(1), 0, 12));
}

TEST_F(InProcess, StartsWithoutACalibratorAndServesTheOnePluggedInWithoutARestart) {
    hid.Device(1).Unplug();
    GatewaySettings settings;
    settings.survey = 50ms;
    Start(settings);
    ModbusClient client(port);
    const auto read = [&] { return client.Holding(0, 12); };
    EXPECT_EQ(OnClient(read).exception, 0x0A);
    hid.Device(1).Plug();
    EXPECT_TRUE(Eventually([&] { return read().exception; }));
    EXPECT_EQ(OnClient(read).values, Bank(hid.Device(1), 0, 12));
    const std::string log = Log();
    EXPECT_NE(log.find("units 100, 255, 0: no calibrator number 1 (0 found); answered with "
                       "exception 0x0A until one is plugged in"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("units 100, 255, 0: calibrator 1, serial"), std::string::npos) << log;
}

TEST_F(InProcess, SixteenIdleClientsGiveTheSeventeenthTheSeatIdleLongestAtOnce) {
    Start();
    const auto expected = Bank(hid.Device(1), 0, 12);
    const auto waited = OnClient([&] {
        const Steady steady(port, expected);  // before and through it all
        while (steady.right == 0) std::this_thread::sleep_for(5ms);
        std::vector<std::unique_ptr<test::Socket>> idle;
        for (int k = 0; k < 16; ++k) idle.push_back(std::make_unique<test::Socket>(port));
        std::this_thread::sleep_for(50ms);
        const auto start = Clock::now();
        ModbusClient late(port);
        const bool served = late.Holding(0, 12).values == expected;
        const auto took = Clock::now() - start;
        std::this_thread::sleep_for(50ms);
        EXPECT_GT(steady.right, 1);
        EXPECT_EQ(steady.wrong, 0);
        return served ? took : 1h;
    });
    EXPECT_LT(waited, 1s);
    EXPECT_EQ(Count("its seat went to a new client, as the connection idle longest"), 2u) << Log();
    EXPECT_EQ(Count("refused"), 0u) << Log();
}

TEST_F(InProcess, SixteenSlowDripClientsAreClosedAndTheSeventeenthIsServedWithinTwoSeconds) {
    Start();
    const auto expected = Bank(hid.Device(1), 0, 12);
    const auto waited = OnClient([&] {
        // A whole request, a byte every 0.4 s from each of the sixteen.
        const std::vector<std::uint8_t> request{0, 1, 0, 0, 0, 6, 100, 3, 0, 0, 0, 12};
        std::vector<std::unique_ptr<test::Socket>> slow;
        for (int k = 0; k < 16; ++k) slow.push_back(std::make_unique<test::Socket>(port));
        std::atomic<bool> stop{false};
        std::thread drip([&] {
            for (std::size_t at = 0; at < request.size() && !stop; ++at) {
                for (auto& s : slow) s->Send({request[at]});
                for (int k = 0; k < 40 && !stop; ++k) std::this_thread::sleep_for(10ms);
            }
        });
        std::this_thread::sleep_for(100ms);
        const auto start = Clock::now();
        std::optional<Clock::duration> took;
        while (!took && Clock::now() - start < 3s) {
            ModbusClient seventeenth(port);
            if (seventeenth.Holding(0, 12).values != expected) {
                std::this_thread::sleep_for(50ms);
                continue;
            }
            took = Clock::now() - start;
            // Served from then on.
            for (int k = 0; k < 3; ++k) EXPECT_EQ(seventeenth.Holding(0, 12).values, expected);
        }
        stop = true;
        drip.join();
        return took.value_or(1h);
    });
    EXPECT_LT(waited, 2s);
    EXPECT_GE(Count("refused: 16 clients already, each with a request in flight"), 1u) << Log();
    EXPECT_EQ(Count("closed: incomplete request, not whole 1 s after its first byte"), 16u)
        << Log();
}

TEST_F(InProcess, AConnectionWithoutRequestsIsClosedWhenIdle) {
    GatewaySettings settings;
    settings.limits.idle = 200ms;
    Start(settings);
    test::Socket silent(port);
    EXPECT_TRUE(OnClient([&] { return silent.ClosedByPeer(); }));
    // The line may follow the close the client has already seen (0: found).
    EXPECT_TRUE(Eventually([&] {
        return Log().find("closed: no request for 200 ms") == std::string::npos;
    })) << Log();
}

}  // namespace
}  // namespace vadero::gateway
