// The master over a scripted bridge: requests on the wire, the awaited request,
// answers taken or dropped, register images and events.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "modbus/MiniModbus.h"
#include "modbus/ModbusFrame.h"
#include "tests/support/FakeHid.h"
#include "tests/support/ManualDispatcher.h"
#include "transport/Identity.h"

namespace vadero {
namespace {

using test::Bytes;
using test::FakeDevice;
using test::FakeHidLayer;

constexpr const char* kPath = "/dev/hidraw0";

Bytes WithCrc(Bytes body) {
    modbus::AppendCrc(body);
    return body;
}

// A read answer carrying `values`, high byte first.
Bytes ReadAnswer(int function, const std::vector<std::uint16_t>& values) {
    Bytes body{0x64, static_cast<std::uint8_t>(function),
               static_cast<std::uint8_t>(2 * values.size())};
    for (const std::uint16_t v : values) {
        body.push_back(static_cast<std::uint8_t>(v >> 8));
        body.push_back(static_cast<std::uint8_t>(v & 0xFF));
    }
    return WithCrc(body);
}

struct Arrival {
    TDataType type;
    int address;
    int data;
    std::uint16_t stored;     // the image entry when the event ran
    std::uint16_t following;  // the next entry at that moment
};

// Reader passes run by hand on the layer's virtual clock.
class MasterTest : public ::testing::Test {
  protected:
    FakeHidLayer hid{FakeHidLayer::Time::Virtual};
    ManualDispatcher dispatcher;
    TMiniModbusMaster master{TransportEnv{hid, dispatcher, ReaderMode::Manual}};
    std::vector<Arrival> arrivals;
    std::vector<std::string> rxTexts;
    std::vector<std::string> txTexts;
    int blocks = 0;

    void SetUp() override {
        hid.setContinuousEmpty(true);
        master.Node = lcx3::kSlave;
        master.OnDataArrival = [this](TObject* sender, TDataType type, int address, int data) {
            EXPECT_EQ(sender, &master);
            const auto& image = type == TDataType::dtInputRegister ? master.InputRegisters
                                                                   : master.HoldingRegisters;
            const auto at = static_cast<std::size_t>(address);
            const std::uint16_t following = at + 1 < image.size() ? image[at + 1] : 0;
            arrivals.push_back({type, address, data, image.at(at), following});
        };
        master.RxDebugStream = [this](TObject*, const std::string& text) {
            rxTexts.push_back(text);
        };
        master.TxDebugStream = [this](TObject*, const std::string& text) {
            txTexts.push_back(text);
        };
        master.OnWordBlockWriting = [this](TObject* sender) {
            EXPECT_EQ(sender, &master);
            ++blocks;
        };
        FakeDevice device;
        device.path = kPath;
        hid.addDevice(device);
        ASSERT_TRUE(master.OpenDevice(1));
    }

    // The Modbus frames sent so far: each follows a configuration report.
    std::vector<Bytes> sentFrames() const {
        std::vector<Bytes> frames;
        for (const Bytes& report : hid.written(kPath)) {
            if (report[1] == 0x01) {
                EXPECT_EQ(report[3], 0x40) << "option bit 6 set for every transmission";
                frames.emplace_back();
            } else if (!frames.empty()) {
                const int n = report[3] & 0x3F;
                frames.back().insert(frames.back().end(), report.begin() + 5,
                                     report.begin() + 5 + n);
            }
        }
        return frames;
    }
    void answer(const Bytes& frame) {
        hid.queueFrame(kPath, frame);
        for (std::size_t i = 0; i < frame.size() / 60 + 2; ++i) master.Reader()->RunPass();
        dispatcher.pump();
    }
};

TEST_F(MasterTest, RequestsRecordTheAwaitedAnswerAndGoOutWhole) {
    EXPECT_TRUE(master.EchoPending());
    EXPECT_EQ(master.ExpectedFunction(), -1);
    master.ReadHoldingRegisters(0, 12);
    EXPECT_FALSE(master.EchoPending());
    EXPECT_EQ(master.ExpectedFunction(), 3);
    EXPECT_EQ(master.PendingAddress(), 0);
    EXPECT_EQ(master.PendingCount(), 12);
    EXPECT_EQ(master.ResponseOffset(), 8);
    master.ReadInputRegisters(0, 1);
    EXPECT_EQ(master.ExpectedFunction(), 4);
    master.WriteSingleRegister(5, 0x1ABCD);
    EXPECT_EQ(master.ExpectedFunction(), 6);
    EXPECT_EQ(master.PendingAddress(), 5);
    EXPECT_EQ(master.PendingCount(), 1);

    const auto frames = sentFrames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0], (Bytes{0x64, 0x03, 0x00, 0x00, 0x00, 0x0C, 0x4C, 0x3A}));
    EXPECT_EQ(frames[1], (Bytes{0x64, 0x04, 0x00, 0x00, 0x00, 0x01, 0x38, 0x3F}));
    EXPECT_EQ(frames[2], WithCrc({0x64, 0x06, 0x00, 0x05, 0xAB, 0xCD}));
    ASSERT_EQ(txTexts.size(), 3u);
    EXPECT_EQ(txTexts[0], "TX : 64 03 00 00 00 0C 4C 3A ");
}

TEST_F(MasterTest, TxTextComesBeforeTheSendAlsoWithoutADevice) {
    master.TxDebugStream = [this](TObject*, const std::string& text) {
        txTexts.push_back(text);
        EXPECT_TRUE(hid.written(kPath).empty()) << "nothing sent yet";
    };
    master.ReadHoldingRegisters(0, 1);
    EXPECT_EQ(sentFrames().size(), 1u);

    FakeHidLayer none{FakeHidLayer::Time::Virtual};
    const auto start = none.now();
    TMiniModbusMaster unplugged{TransportEnv{none, dispatcher, ReaderMode::Manual}};
    std::string text;
    unplugged.TxDebugStream = [&](TObject*, const std::string& t) { text = t; };
    unplugged.Node = lcx3::kSlave;
    unplugged.ReadInputRegisters(0, 1);
    EXPECT_EQ(text, "TX : 64 04 00 00 00 01 38 3F ");
    EXPECT_EQ(unplugged.ExpectedFunction(), 4);
    // Without a device neither the construction's option reports nor the
    // request wait for a reader that cannot take them.
    EXPECT_EQ(none.now(), start);
}

TEST_F(MasterTest, ReadBlockStoresEachRegisterBeforeItsOwnEvent) {
    std::vector<std::uint16_t> values;
    for (int i = 0; i < 12; ++i) values.push_back(static_cast<std::uint16_t>(0x0101 * (i + 1)));
    const Bytes reply = ReadAnswer(3, values);
    ASSERT_EQ(reply.size(), 29u);
    master.ReadHoldingRegisters(0, 12);
    answer(reply);

    ASSERT_EQ(arrivals.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        const Arrival& a = arrivals[static_cast<std::size_t>(i)];
        EXPECT_EQ(a.type, TDataType::dtHoldingRegister);
        EXPECT_EQ(a.address, i);
        EXPECT_EQ(a.data, values[static_cast<std::size_t>(i)]);
        EXPECT_EQ(a.stored, values[static_cast<std::size_t>(i)]);
        EXPECT_EQ(a.following, 0) << "register " << i + 1 << " stored too early";
        EXPECT_EQ(master.HoldingRegisters[static_cast<std::size_t>(i)], a.data);
    }
    EXPECT_EQ(master.ExpectedFunction(), -1);
    EXPECT_EQ(master.ResponseOffset(), 0);
    EXPECT_EQ(master.LastFrameLength(), 29);
    EXPECT_EQ(master.LastFrame(), std::string(reply.begin(), reply.end()));
    ASSERT_EQ(rxTexts.size(), 1u);
    EXPECT_EQ(rxTexts[0], modbus::RxText(reply));

    master.HoldingRegisters = {};
    answer(reply);  // the second copy
    EXPECT_EQ(arrivals.size(), 12u);
    EXPECT_EQ(master.HoldingRegisters, RegisterImage{});
    EXPECT_EQ(rxTexts.size(), 2u);
}

TEST_F(MasterTest, InputRegisterIsReportedUnsigned) {
    master.ReadInputRegisters(0, 1);
    answer(WithCrc({0x64, 0x04, 0x02, 0xFF, 0x38}));
    EXPECT_EQ(master.InputRegisters[0], 0xFF38);
    EXPECT_EQ(master.HoldingRegisters[0], 0);
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(arrivals[0].type, TDataType::dtInputRegister);
    EXPECT_EQ(arrivals[0].address, 0);
    EXPECT_EQ(arrivals[0].data, 65336);
}

TEST_F(MasterTest, RejectedFramesStoreNothingAndForgetTheRequest) {
    Bytes badCrc = ReadAnswer(3, {7});
    badCrc[4] ^= 0x01;
    Bytes node2 = ReadAnswer(3, {7});
    node2[0] = 2;
    node2 = WithCrc(Bytes(node2.begin(), node2.end() - 2));
    Bytes count22{0x64, 0x03, 22};
    count22.resize(25, 0x11);
    struct Case {
        const char* what;
        int count;
        Bytes frame;
    };
    const Case cases[] = {
        {"crc", 1, badCrc},
        {"slave address 2", 1, node2},
        {"another function", 1, ReadAnswer(4, {7})},
        {"exception", 1, WithCrc({0x64, 0x83, 0x02})},
        {"byte count 22 for 12 registers", 12, WithCrc(count22)},
        {"one byte", 1, {0x64}},
        {"three bytes", 1, {0x64, 0x03, 0x02}},
        {"no byte count", 1, WithCrc({0x64, 0x03})},
        {"values cut short", 1, WithCrc({0x64, 0x03, 0x02, 0x07})},
    };
    for (const Case& c : cases) {
        rxTexts.clear();
        master.ReadHoldingRegisters(0, c.count);
        answer(c.frame);
        EXPECT_EQ(rxTexts.size(), 1u) << c.what;
        EXPECT_TRUE(arrivals.empty()) << c.what;
        EXPECT_EQ(master.HoldingRegisters, RegisterImage{}) << c.what;
        EXPECT_EQ(master.ExpectedFunction(), -1) << c.what;
        answer(ReadAnswer(3, std::vector<std::uint16_t>(static_cast<std::size_t>(c.count), 9)));
        EXPECT_TRUE(arrivals.empty()) << c.what << ": the request was not forgotten";
    }
}

TEST_F(MasterTest, ExceptionThenTheAnswerToTheResentRequest) {
    master.ReadHoldingRegisters(0, 1);
    answer(WithCrc({0x64, 0x83, 0x02}));
    EXPECT_EQ(rxTexts.size(), 1u);
    EXPECT_TRUE(arrivals.empty());
    master.ReadHoldingRegisters(0, 1);
    answer(ReadAnswer(3, {0x0203}));
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(master.HoldingRegisters[0], 0x0203);
}

TEST_F(MasterTest, SingleWriteStoresAtTheAnsweredAddress) {
    master.WriteSingleRegister(5, 7);
    answer(WithCrc({0x64, 0x06, 0x00, 0x09, 0x00, 0x07}));
    EXPECT_EQ(master.HoldingRegisters[9], 7);
    EXPECT_EQ(master.HoldingRegisters[5], 0);
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(arrivals[0].type, TDataType::dtHoldingRegister);
    EXPECT_EQ(arrivals[0].address, 9);

    master.WriteSingleRegister(1025, 1);
    answer(WithCrc({0x64, 0x06, 0x04, 0x01, 0x00, 0x01}));
    EXPECT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(master.ExpectedFunction(), -1);
}

TEST_F(MasterTest, AnswersBeyondTheImagesStoreNothing) {
    master.ReadInputRegisters(1024, 1);
    answer(ReadAnswer(4, {0x4444}));
    EXPECT_EQ(master.InputRegisters[1024], 0x4444);
    master.ReadHoldingRegisters(1020, 6);
    answer(ReadAnswer(3, {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(master.ExpectedFunction(), -1);
    master.ReadHoldingRegisters(-1, 1);
    answer(ReadAnswer(3, {1}));
    EXPECT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(master.HoldingRegisters, RegisterImage{});
}

TEST_F(MasterTest, BlockWriteAnswerRaisesWordBlockWritingOnly) {
    master.HoldingRegisters[0] = 0x1234;
    master.HoldingRegisters[1] = 1;
    master.HoldingRegisters[2] = 2;
    master.WriteMultipleRegisters(0, 3, master.HoldingRegisters);
    EXPECT_EQ(master.ExpectedFunction(), 16);
    EXPECT_EQ(master.ResponseOffset(), 15);
    EXPECT_EQ(master.LastBlockEnd(), 3);
    ASSERT_EQ(sentFrames().size(), 1u);
    EXPECT_EQ(sentFrames()[0], (Bytes{0x64, 0x10, 0x00, 0x00, 0x00, 0x03, 0x06, 0x34, 0x12, 0x01,
                                      0x00, 0x02, 0x00, 0xD7, 0xCE}));
    const RegisterImage before = master.HoldingRegisters;
    answer(WithCrc({0x64, 0x10, 0x00, 0x00, 0x00, 0x03}));
    EXPECT_EQ(blocks, 1);
    EXPECT_TRUE(arrivals.empty());
    EXPECT_EQ(master.HoldingRegisters, before);
    EXPECT_EQ(master.InputRegisters, RegisterImage{});
}

TEST_F(MasterTest, BlockWriteSendsTheEntriesOfItsAddresses) {
    for (std::size_t i = 0; i < master.HoldingRegisters.size(); ++i)
        master.HoldingRegisters[i] = static_cast<std::uint16_t>(0x0100 * i + 1);
    master.WriteMultipleRegisters(48, 24, master.HoldingRegisters);
    EXPECT_EQ(master.LastBlockEnd(), 72);
    const auto frames = sentFrames();
    ASSERT_EQ(frames.size(), 1u);
    Bytes expected{0x64, 0x10, 0x00, 48, 0x00, 24, 48};
    for (std::size_t a = 48; a < 72; ++a) {
        expected.push_back(static_cast<std::uint8_t>(master.HoldingRegisters[a] & 0xFF));
        expected.push_back(static_cast<std::uint8_t>(master.HoldingRegisters[a] >> 8));
    }
    EXPECT_EQ(frames[0], WithCrc(expected));
}

TEST_F(MasterTest, BlockWriteRefusesWhatTheValuesOrTheFrameCannotHold) {
    const std::vector<std::uint16_t> values(200, 1);
    master.ReadHoldingRegisters(0, 1);
    EXPECT_THROW(master.WriteMultipleRegisters(0, -1, values), std::invalid_argument);
    EXPECT_THROW(master.WriteMultipleRegisters(0, 124, values), std::invalid_argument);
    EXPECT_THROW(master.WriteMultipleRegisters(190, 11, values), std::out_of_range);
    EXPECT_THROW(master.WriteMultipleRegisters(-1, 2, values), std::out_of_range);
    EXPECT_EQ(sentFrames().size(), 1u);
    EXPECT_EQ(txTexts.size(), 1u);
    EXPECT_EQ(master.LastBlockEnd(), 0);
    EXPECT_EQ(master.ExpectedFunction(), 3);
    master.WriteMultipleRegisters(77, 123, values);
    EXPECT_EQ(sentFrames().back().size(), 255u);
}

TEST_F(MasterTest, EchoCancelReadsTheAnswerAfterTheEcho) {
    const Bytes reply = ReadAnswer(3, {0x0A0B});
    master.ReadHoldingRegisters(3, 1);
    Bytes echoed = sentFrames().back();
    echoed.insert(echoed.end(), reply.begin(), reply.end());
    answer(echoed);  // off: the echo is taken for the answer's start
    EXPECT_TRUE(arrivals.empty());
    EXPECT_EQ(master.ExpectedFunction(), -1);

    master.EchoCancel = true;
    master.ReadHoldingRegisters(3, 1);
    answer(Bytes(echoed.begin(), echoed.begin() + 8));  // the echo alone
    EXPECT_EQ(master.ExpectedFunction(), 3);
    EXPECT_EQ(master.ResponseOffset(), 8);
    EXPECT_EQ(rxTexts.size(), 2u);
    answer(echoed);
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(arrivals[0].address, 3);
    EXPECT_EQ(master.HoldingRegisters[3], 0x0A0B);
    EXPECT_EQ(master.ExpectedFunction(), -1);
    EXPECT_EQ(master.ResponseOffset(), 0);
}

TEST_F(MasterTest, ARequestSentFromAnEventStaysAwaited) {
    master.OnDataArrival = [this](TObject*, TDataType, int address, int) {
        if (address == 1)
            master.ReadInputRegisters(0, 1);
    };
    master.ReadHoldingRegisters(0, 2);
    answer(ReadAnswer(3, {5, 6}));
    EXPECT_EQ(master.HoldingRegisters[1], 6);
    EXPECT_EQ(master.ExpectedFunction(), 4);
    answer(ReadAnswer(4, {0x7777}));
    EXPECT_EQ(master.InputRegisters[0], 0x7777);
}

}  // namespace
}  // namespace vadero
