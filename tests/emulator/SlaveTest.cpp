// The calibrator's Modbus slave: answers byte for byte, writes, exceptions
// and silence, and what input register 0 measures.
#include <gtest/gtest.h>

#include "emulator/ModbusSlave.h"

namespace vadero::emu {
namespace {

Bytes Hex(std::initializer_list<int> bytes) {
    Bytes out;
    for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
    return out;
}

// An answer to a read: address, function, byte count, values high byte first, CRC.
Bytes ReadAnswer(std::uint8_t function, const std::vector<std::uint16_t>& values) {
    Bytes body{kSlaveAddress, function, static_cast<std::uint8_t>(2 * values.size())};
    for (const std::uint16_t v : values) {
        body.push_back(static_cast<std::uint8_t>(v >> 8));
        body.push_back(static_cast<std::uint8_t>(v & 0xFF));
    }
    return WithCrc(body);
}

std::vector<std::uint16_t> Holding(const RegisterBank& bank, int first, int count) {
    return {bank.holding.begin() + first, bank.holding.begin() + first + count};
}

TEST(Slave, AnswersTheWorkedReadRequestsWithTheBank) {
    RegisterBank bank = FactoryBank();
    const RegisterBank before = bank;
    // Written out in full once: register 0 holds 5600 (4 mA) at the factory.
    EXPECT_EQ(Serve(Hex({0x64, 0x03, 0x00, 0x00, 0x00, 0x01, 0x8D, 0xFF}), bank).answer,
              Hex({0x64, 0x03, 0x02, 0x15, 0xE0, 0xFB, 0x54}));
    EXPECT_EQ(Serve(Hex({0x64, 0x03, 0x00, 0x00, 0x00, 0x0C, 0x4C, 0x3A}), bank).answer,
              ReadAnswer(3, Holding(bank, 0, 12)));
    EXPECT_EQ(Serve(Hex({0x64, 0x03, 0x00, 0x10, 0x00, 0x08, 0x4C, 0x3C}), bank).answer,
              ReadAnswer(3, Holding(bank, 16, 8)));
    const auto memories = Serve(Hex({0x64, 0x03, 0x00, 0x30, 0x00, 0x18, 0x4C, 0x3A}), bank);
    ASSERT_TRUE(memories.answer);
    EXPECT_EQ(memories.answer->size(), 53u);
    EXPECT_EQ(*memories.answer, ReadAnswer(3, Holding(bank, 48, 24)));
    // In a generating range input register 0 reads the output being generated.
    EXPECT_EQ(Serve(Hex({0x64, 0x04, 0x00, 0x00, 0x00, 0x01, 0x38, 0x3F}), bank).answer,
              ReadAnswer(4, {bank.holding[0]}));
    EXPECT_EQ(bank, before);
    EXPECT_EQ(memories.writtenCount, 0);
}

TEST(Slave, InputRegisterZeroIsTheMeasuredInputInTheMeasuringRanges) {
    RegisterBank bank = FactoryBank();
    bank.input[0] = 14000;
    bank.holding[0] = 5600;
    const Bytes request = Hex({0x64, 0x04, 0x00, 0x00, 0x00, 0x01, 0x38, 0x3F});
    for (std::uint16_t range = 0; range <= 5; ++range) {
        bank.holding[1] = range;
        EXPECT_EQ(Serve(request, bank).answer,
                  ReadAnswer(4, {std::uint16_t(range >= 3 ? 14000 : 5600)}))
            << "range " << range;
    }
    bank.input[0] = 0xFF38;  // a negative measurement travels as its 16-bit pattern
    EXPECT_EQ(Serve(request, bank).answer, ReadAnswer(4, {0xFF38}));
}

TEST(Slave, WritesLandInTheBank) {
    RegisterBank bank = FactoryBank();
    // Function 16 values arrive low byte first: 34 12 is 0x1234.
    const SlaveReply block = Serve(Hex({0x64, 0x10, 0x00, 0x00, 0x00, 0x03, 0x06, 0x34, 0x12, 0x01,
                                        0x00, 0x02, 0x00, 0xD7, 0xCE}),
                                   bank);
    EXPECT_EQ(block.answer, Hex({0x64, 0x10, 0x00, 0x00, 0x00, 0x03, 0x89, 0xFD}));
    EXPECT_EQ(Holding(bank, 0, 4), (std::vector<std::uint16_t>{0x1234, 1, 2, 0}));
    EXPECT_EQ(block.writtenFirst, 0);
    EXPECT_EQ(block.writtenCount, 3);

    // The last register of the bank, by function 16 and function 6 (high byte first).
    Bytes last{0x64, 0x10, 0x00, 71, 0x00, 0x01, 0x02, 0xCD, 0xAB};
    EXPECT_TRUE(Serve(WithCrc(last), bank).answer);
    EXPECT_EQ(bank.holding[71], 0xABCD);
    const Bytes single = WithCrc({0x64, 0x06, 0x00, 0x05, 0x12, 0x34});
    const SlaveReply echo = Serve(single, bank);
    EXPECT_EQ(echo.answer, single);
    EXPECT_EQ(bank.holding[5], 0x1234);
    EXPECT_EQ(echo.writtenFirst, 5);
    EXPECT_EQ(echo.writtenCount, 1);
}

TEST(Slave, StuckRegistersAreAcknowledgedButKept) {
    RegisterBank bank = FactoryBank();
    bank.stuck[1] = bank.stuck[71] = true;
    const RegisterBank before = bank;
    const Bytes block =
        WithCrc({0x64, 0x10, 0x00, 0x00, 0x00, 0x03, 0x06, 0x34, 0x12, 0x05, 0x00, 0x02, 0x00});
    EXPECT_EQ(Serve(block, bank).answer, Hex({0x64, 0x10, 0x00, 0x00, 0x00, 0x03, 0x89, 0xFD}));
    EXPECT_EQ(Holding(bank, 0, 3), (std::vector<std::uint16_t>{0x1234, before.holding[1], 2}));
    const Bytes single = WithCrc({0x64, 0x06, 0x00, 71, 0x12, 0x34});
    EXPECT_EQ(Serve(single, bank).answer, single);
    EXPECT_EQ(bank.holding[71], before.holding[71]);
}

TEST(Slave, RefusesIllegalFunctionsAndAddressesWithExceptions) {
    RegisterBank bank = FactoryBank();
    const RegisterBank before = bank;
    struct Case {
        Bytes body;
        Bytes answer;
    };
    const std::vector<Case> cases{
        {{0x64, 0x05, 0x00, 0x00, 0xFF, 0x00}, Hex({0x64, 0x85, 0x01, 0x93, 0x4F})},
        {{0x64, 0x03, 0x00, 70, 0x00, 0x03}, Hex({0x64, 0x83, 0x02, 0xD0, 0xEE})},
        {{0x64, 0x03, 0x00, 72, 0x00, 0x01}, WithCrc({0x64, 0x83, 0x02})},
        {{0x64, 0x04, 0x00, 0x01, 0x00, 0x01}, Hex({0x64, 0x84, 0x02, 0xD2, 0xDE})},
        {{0x64, 0x04, 0x00, 0x00, 0x00, 0x02}, WithCrc({0x64, 0x84, 0x02})},
        {{0x64, 0x06, 0x00, 72, 0x00, 0x01}, WithCrc({0x64, 0x86, 0x02})},
        {{0x64, 0x10, 0x00, 71, 0x00, 0x02, 0x04, 1, 0, 2, 0}, WithCrc({0x64, 0x90, 0x02})},
        // A count of 0, or a byte count that is not twice the count: illegal data value.
        {{0x64, 0x03, 0x00, 0x00, 0x00, 0x00}, WithCrc({0x64, 0x83, 0x03})},
        {{0x64, 0x10, 0x00, 0x00, 0x00, 0x02, 0x02, 1, 0}, WithCrc({0x64, 0x90, 0x03})},
    };
    for (const Case& c : cases) {
        const SlaveReply reply = Serve(WithCrc(c.body), bank);
        EXPECT_EQ(reply.answer, c.answer) << "function " << int(c.body[1]);
        EXPECT_EQ(reply.writtenCount, 0);
    }
    EXPECT_EQ(bank, before);
}

TEST(Slave, StaysSilentForOtherSlavesBadCrcsAndBrokenFrames) {
    RegisterBank bank = FactoryBank();
    const RegisterBank before = bank;
    const Bytes good = Hex({0x64, 0x03, 0x00, 0x00, 0x00, 0x0C, 0x4C, 0x3A});
    for (std::size_t byte = 0; byte < good.size(); ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes bad = good;
            bad[byte] ^= static_cast<std::uint8_t>(1 << bit);
            EXPECT_FALSE(Serve(bad, bank).answer) << byte << ":" << bit;
        }
    }
    const std::vector<Bytes> silent{
        WithCrc({0x02, 0x03, 0x00, 0x00, 0x00, 0x0C}),              // another slave
        WithCrc({0x00, 0x10, 0x00, 0x00, 0x00, 0x01, 0x02, 9, 9}),  // broadcast
        {},
        Hex({0x64, 0x03, 0x4C}),
        WithCrc({0x64}),
        WithCrc({0x64, 0x03, 0x00, 0x00, 0x00}),                    // a read cut short
        WithCrc({0x64, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00}),        // one byte too many
        WithCrc({0x64, 0x10, 0x00, 0x00, 0x00, 0x02, 0x04, 1, 0}),  // values missing
    };
    for (const Bytes& frame : silent) EXPECT_FALSE(Serve(frame, bank).answer) << frame.size();
    EXPECT_EQ(bank, before);
}

}  // namespace
}  // namespace vadero::emu
