// The gateway in this process, on the test's emulated calibrator and the
// loop's thread, its clients on threads of their own: an unplug and a plug,
// the limit of clients on both sides, and idle connections.
#include "cli/Gateway.h"

#include <gtest/gtest.h>

#include <future>

#include "emulator/EmulatorHid.h"
#include "tests/cli/ModbusClient.h"
#include "tests/cli/RawSocket.h"

namespace vadero::cli {
namespace {

using namespace std::chrono_literals;
using test::ModbusClient;

class InProcess : public ::testing::Test {
  protected:
    InProcess() { hid.AddDevice(); }

    void Start(ServerLimits limits = {}) {
        GatewaySettings settings;
        settings.listen = ParseListen("127.0.0.1:0");
        settings.limits = limits;
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

TEST_F(InProcess, SixteenClientsAreTakenTheSeventeenthRefusedUntilASeatIsFree) {
    Start();
    std::vector<std::unique_ptr<ModbusClient>> seated;
    for (int k = 0; k < 16; ++k) seated.push_back(std::make_unique<ModbusClient>(port));
    ModbusClient extra(port);
    EXPECT_EQ(OnClient([&] { return extra.Holding(0, 1).exception; }), -1);
    EXPECT_EQ(OnClient([&] { return seated.back()->Holding(0, 1).exception; }), 0);
    seated.front().reset();
    EXPECT_TRUE(Eventually([&] { return ModbusClient(port).Holding(0, 1).exception; }));
    const std::string log = Log();
    EXPECT_NE(log.find("refused: 16 clients already"), std::string::npos) << log;
    EXPECT_NE(log.find("connected (16 of 16)"), std::string::npos) << log;
}

TEST_F(InProcess, AConnectionWithoutRequestsIsClosedWhenIdle) {
    ServerLimits limits;
    limits.idle = 200ms;
    Start(limits);
    test::Socket silent(port);
    EXPECT_TRUE(OnClient([&] { return silent.ClosedByPeer(); }));
    // The line may follow the close the client has already seen (0: found).
    EXPECT_TRUE(Eventually([&] {
        return Log().find("closed: no request for 200 ms") == std::string::npos;
    })) << Log();
}

}  // namespace
}  // namespace vadero::cli
