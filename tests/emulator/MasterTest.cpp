// The Modbus master, the transport and the real reader thread against the
// emulated LCX3: reads return the bank, writes change it, and nothing the
// tool sends touches the calibration block.
#include <gtest/gtest.h>

#include "emulator/EmulatorHid.h"
#include "modbus/MiniModbus.h"
#include "tests/support/ManualDispatcher.h"
#include "tests/support/ManualDrive.h"
#include "transport/Identity.h"

namespace vadero::emu {
namespace {

using namespace std::chrono_literals;

constexpr auto kBound = 2s;  // generous bound for real threads

class Master : public ::testing::Test {
  protected:
    EmulatorHid hid;
    ManualDispatcher dispatcher;
    EmulatedLcx3& lcx = hid.AddDevice();
    TMiniModbusMaster master{TransportEnv{hid, dispatcher}};
    std::vector<std::pair<int, int>> arrivals;  // address, value
    int blocks = 0;

    void SetUp() override {
        bool connected = false;
        master.Node = kSlaveAddress;
        master.SetProductIdent(std::string(lcx3::kProduct));
        master.OnConnect = [&connected](TObject*) { connected = true; };
        master.OnDataArrival = [this](TObject*, TDataType, int address, int value) {
            arrivals.emplace_back(address, value);
        };
        master.OnWordBlockWriting = [this](TObject*) { ++blocks; };
        ASSERT_TRUE(master.OpenDevice(1));
        ASSERT_TRUE(test::PumpUntil(
            dispatcher, [&] { return connected; }, kBound));
        master.OnConnect = nullptr;
    }
    void TearDown() override { master.CloseDevice(); }

    bool ReadHolding(int address, int count) {
        arrivals.clear();
        master.ReadHoldingRegisters(address, count);
        return test::PumpUntil(
            dispatcher, [&] { return arrivals.size() == static_cast<std::size_t>(count); }, kBound);
    }
    bool WriteBlock(int address, int count) {
        const int before = blocks;
        master.WriteMultipleRegisters(address, count, master.HoldingRegisters);
        return test::PumpUntil(
            dispatcher, [&] { return blocks > before; }, kBound);
    }
};

TEST_F(Master, ReadsTheBank) {
    ASSERT_TRUE(ReadHolding(0, 12));
    for (int r = 0; r < 12; ++r) {
        EXPECT_EQ(master.HoldingRegisters[static_cast<std::size_t>(r)], lcx.Holding(r)) << r;
        EXPECT_EQ(arrivals[static_cast<std::size_t>(r)], std::make_pair(r, int{lcx.Holding(r)}));
    }
    lcx.SetHolding(1, rgMeasureCurrent);
    lcx.SetMeasuredInput(-200);
    arrivals.clear();
    master.ReadInputRegisters(0, 1);
    ASSERT_TRUE(test::PumpUntil(
        dispatcher, [&] { return !arrivals.empty(); }, kBound));
    EXPECT_EQ(master.InputRegisters[0], 0xFF38);
}

TEST_F(Master, WritesChangeTheBankAndNeverTheCalibrationBlock) {
    const RegisterBank factory = lcx.Bank();
    // What the tool reads and writes: the read-all blocks, then the write-all
    // blocks and the output command.
    ASSERT_TRUE(ReadHolding(0, 12));
    ASSERT_TRUE(ReadHolding(16, 8));
    ASSERT_TRUE(ReadHolding(48, 24));
    for (int r = 48; r < 72; ++r)
        master.HoldingRegisters[static_cast<std::size_t>(r)] = static_cast<std::uint16_t>(1000 + r);
    master.HoldingRegisters[3] = 7;
    master.HoldingRegisters[0] = 16800;
    ASSERT_TRUE(WriteBlock(48, 24));
    for (int r = 48; r < 72; ++r) EXPECT_EQ(lcx.Holding(r), 1000 + r) << r;
    ASSERT_TRUE(WriteBlock(1, 11));
    ASSERT_TRUE(WriteBlock(16, 8));
    ASSERT_TRUE(WriteBlock(0, 3));
    EXPECT_EQ(lcx.Holding(3), 7);
    EXPECT_EQ(lcx.Holding(0), 16800);
    arrivals.clear();
    master.WriteSingleRegister(11, 1);
    ASSERT_TRUE(test::PumpUntil(
        dispatcher, [&] { return !arrivals.empty(); }, kBound));
    EXPECT_EQ(lcx.Holding(11), 1);

    for (int r = kCalibrationBlock.first; r <= kCalibrationBlock.Last(); ++r) {
        EXPECT_EQ(lcx.WriteCount(r), 0u) << "register " << r;
        EXPECT_EQ(lcx.Holding(r), factory.holding[static_cast<std::size_t>(r)]) << r;
    }
    EXPECT_EQ(lcx.WriteCount(50), 1u);
    EXPECT_EQ(lcx.WriteCount(1), 2u);  // the parameter block and the output command
}

}  // namespace
}  // namespace vadero::emu
