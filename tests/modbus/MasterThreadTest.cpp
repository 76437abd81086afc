// The master with a real reader thread: the answer is parsed on the owner
// thread, when the dispatcher is pumped, never on the reader's.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "modbus/MiniModbus.h"
#include "modbus/ModbusFrame.h"
#include "tests/support/FakeHid.h"
#include "tests/support/ManualDispatcher.h"
#include "transport/Identity.h"

namespace vadero {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::FakeHidLayer;

TEST(MasterThreadTest, AnswersArriveOnTheOwnerThread) {
    FakeHidLayer hid;
    hid.setContinuousEmpty(true);
    test::FakeDevice device;
    device.path = "/dev/hidraw0";
    hid.addDevice(device);
    Bytes reply{0x64, 0x03, 24};
    for (int i = 0; i < 24; ++i) reply.push_back(static_cast<std::uint8_t>(i));
    modbus::AppendCrc(reply);
    // The calibrator answers once the request's last data report is written.
    hid.setOnWrite([&](const std::string& path, const Bytes& report) {
        if (report[1] == 0x00 && (report[3] & 0x80))
            hid.queueFrame(path, reply);
    });

    ManualDispatcher dispatcher;
    TMiniModbusMaster master{TransportEnv{hid, dispatcher, ReaderMode::Threaded}};
    master.Node = lcx3::kSlave;
    const auto owner = std::this_thread::get_id();
    int arrivals = 0;
    master.OnDataArrival = [&](TObject*, TDataType, int address, int data) {
        EXPECT_EQ(std::this_thread::get_id(), owner);
        EXPECT_EQ(data, reply[static_cast<std::size_t>(3 + 2 * (address - 16))] * 256 +
                            reply[static_cast<std::size_t>(4 + 2 * (address - 16))]);
        ++arrivals;
    };
    ASSERT_TRUE(master.OpenDevice(1));
    master.ReadHoldingRegisters(16, 12);

    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (arrivals < 12 && std::chrono::steady_clock::now() < deadline) {
        dispatcher.waitForWork(50ms);
        dispatcher.pump();
    }
    EXPECT_EQ(arrivals, 12);
    EXPECT_EQ(master.ExpectedFunction(), -1);
    master.CloseDevice();
}

}  // namespace
}  // namespace vadero
