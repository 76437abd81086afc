// A function-16 answer is taken only for the block it echoes: Modbus RTU has
// no transaction number, so the late answer to an earlier block (or to its
// re-send) must not pass for the answer to the block awaited now.
#include <gtest/gtest.h>

#include "modbus/MiniModbus.h"
#include "modbus/ModbusFrame.h"
#include "tests/support/FakeHid.h"
#include "tests/support/ManualDispatcher.h"
#include "transport/Identity.h"

namespace vadero {
namespace {

using test::Bytes;

constexpr const char* kPath = "/dev/hidraw0";

Bytes WithCrc(Bytes body) {
    modbus::AppendCrc(body);
    return body;
}

// The echo of a block write: start and quantity, high byte first.
Bytes Echo(int address, int count) {
    return WithCrc({0x64, 0x10, static_cast<std::uint8_t>(address >> 8),
                    static_cast<std::uint8_t>(address & 0xFF),
                    static_cast<std::uint8_t>(count >> 8),
                    static_cast<std::uint8_t>(count & 0xFF)});
}

TEST(BlockEcho, ComparesTheEchoedStartAndQuantityWhenTheBodyHoldsThem) {
    const Bytes b = Echo(16, 8);
    const std::span<const std::uint8_t> body(b.data(), b.size() - 2);
    EXPECT_TRUE(modbus::EchoesBlock(body, 16, 8));
    EXPECT_FALSE(modbus::EchoesBlock(body, 1, 11));
    EXPECT_FALSE(modbus::EchoesBlock(body, 16, 9));
    const Bytes shortAnswer{0x64, 0x10};
    EXPECT_TRUE(modbus::EchoesBlock(shortAnswer, 48, 24)) << "nothing echoed to compare";
}

class BlockEchoMaster : public ::testing::Test {
  protected:
    test::FakeHidLayer hid{test::FakeHidLayer::Time::Virtual};
    ManualDispatcher dispatcher;
    TMiniModbusMaster master{TransportEnv{hid, dispatcher, ReaderMode::Manual}};
    int blocks = 0;

    void SetUp() override {
        hid.setContinuousEmpty(true);
        master.Node = lcx3::kSlave;
        master.OnWordBlockWriting = [this](TObject*) { ++blocks; };
        test::FakeDevice device;
        device.path = kPath;
        hid.addDevice(device);
        ASSERT_TRUE(master.OpenDevice(1));
    }
    void answer(const Bytes& frame) {
        hid.queueFrame(kPath, frame);
        for (int i = 0; i < 3; ++i) master.Reader()->RunPass();
        dispatcher.pump();
    }
};

TEST_F(BlockEchoMaster, AnEarlierBlocksAnswerIsDroppedAndTheAwaitedOneForgotten) {
    master.WriteMultipleRegisters(1, 11, master.HoldingRegisters);
    answer(Echo(1, 11));
    EXPECT_EQ(blocks, 1);
    master.WriteMultipleRegisters(16, 8, master.HoldingRegisters);
    answer(Echo(1, 11));  // the first block's re-send, answered late
    EXPECT_EQ(blocks, 1);
    EXPECT_EQ(master.ExpectedFunction(), -1);
    answer(Echo(16, 8));  // nothing awaited any more: the re-send will be answered
    EXPECT_EQ(blocks, 1);
    master.WriteMultipleRegisters(16, 8, master.HoldingRegisters);
    answer(Echo(16, 8));
    EXPECT_EQ(blocks, 2);
}

TEST_F(BlockEchoMaster, AnAnswerTooShortToEchoIsStillTaken) {
    master.WriteMultipleRegisters(48, 24, master.HoldingRegisters);
    answer(WithCrc({0x64, 0x10}));
    EXPECT_EQ(blocks, 1);
}

}  // namespace
}  // namespace vadero
