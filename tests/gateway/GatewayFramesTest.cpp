// The gateway's translation, byte for byte: the framing of a received
// request, the RTU request it becomes (function-16 values low byte first, a
// function 6 as one register of 16), the reply a calibrator frame becomes,
// and the unit identifiers that reach a calibrator.
#include "gateway/GatewayFrames.h"

#include <gtest/gtest.h>

#include "modbus/ModbusFrame.h"

namespace vadero::gateway {
namespace {

Bytes Crc(Bytes frame) {
    modbus::AppendCrc(frame);
    return frame;
}

TEST(GatewayFrames, Framing) {
    using Kind = Framing::Kind;
    struct Case {
        Bytes received;
        Kind kind;
        std::size_t missing;
    };
    const std::vector<Case> cases = {
        {{0, 1, 0, 0, 0, 6, 100, 3, 0, 0, 0, 12}, Kind::Whole, 0},
        {{0, 1, 0, 0, 0, 2, 100, 0x11}, Kind::Whole, 0},  // no data
        {{}, Kind::Short, 7},                             // nothing yet: a header
        {{0, 1, 0}, Kind::Short, 4},
        {{0, 1, 0, 0, 0, 6, 100}, Kind::Short, 5},                      // the header alone
        {{0, 1, 0, 0, 0, 5, 100, 0x03}, Kind::Short, 3},                // its rest to come
        {{0, 1, 0, 1, 0, 6, 100, 3, 0, 0, 0, 12}, Kind::Malformed, 0},  // protocol 1
        {{0, 1, 0, 0, 0, 1, 100}, Kind::Malformed, 0},                  // length 1: no function
        {{0, 1, 0, 0, 0, 5, 100, 3, 0, 0, 0, 12}, Kind::Malformed, 0},  // one byte beyond it
        {{0, 1, 0, 0, 0, 255, 100}, Kind::Malformed, 0},                // oversized
        {{0, 1, 0, 0, 0, 254, 100, 0x2B}, Kind::Short, 252},            // the largest
    };
    for (const Case& c : cases) {
        const Framing f = CheckFraming(c.received);
        EXPECT_EQ(f.kind, c.kind) << testing::PrintToString(c.received);
        EXPECT_EQ(f.missing, c.missing) << testing::PrintToString(c.received);
        EXPECT_EQ(f.why.empty(), c.kind != Kind::Malformed);
    }
}

TEST(GatewayFrames, AduInAndOut) {
    const Adu adu = SplitAdu(Bytes{0x12, 0x34, 0, 0, 0, 6, 255, 3, 0, 0, 0, 1});
    EXPECT_EQ(adu.transaction, 0x1234);
    EXPECT_EQ(adu.unit, 255);
    EXPECT_EQ(adu.pdu, (Bytes{3, 0, 0, 0, 1}));
    EXPECT_EQ(JoinAdu(0xBEEF, 7, Bytes{0x83, 0x02}), (Bytes{0xBE, 0xEF, 0, 0, 0, 3, 7, 0x83, 2}));
}

TEST(GatewayFrames, RequestsToTheCalibratorAndWhatIsAnsweredAtOnce) {
    struct Case {
        Bytes pdu;
        bool readOnly;
        Bytes frame;  // to the calibrator, or
        Bytes reply;  // the exception answered at once
    };
    const std::vector<Case> cases = {
        {{3, 0, 0, 0, 12}, false, {0x64, 3, 0, 0, 0, 0x0C, 0x4C, 0x3A}, {}},
        {{4, 0, 0, 0, 1}, true, {0x64, 4, 0, 0, 0, 1, 0x38, 0x3F}, {}},
        // High byte first from the client, low byte first to the calibrator.
        {{6, 0, 5, 0x12, 0x34}, false, {0x64, 0x10, 0, 5, 0, 1, 2, 0x34, 0x12, 0xA7, 0x9A}, {}},
        {{16, 0, 0, 0, 3, 6, 0x12, 0x34, 0, 1, 0, 2},
         false,
         {0x64, 0x10, 0, 0, 0, 3, 6, 0x34, 0x12, 1, 0, 2, 0, 0xD7, 0xCE},
         {}},
        {{6, 0, 5, 0x12, 0x34}, true, {}, {0x86, 0x01}},
        {{16, 0, 0, 0, 1, 2, 0, 1}, true, {}, {0x90, 0x01}},
        {{1, 0, 0, 0, 1}, false, {}, {0x81, 0x01}},
        {{0x2B, 0x0E, 1, 0}, false, {}, {0xAB, 0x01}},
        {{3, 0, 0, 0, 0}, false, {}, {0x83, 0x03}},
        {{3, 0, 0, 0, 126}, false, {}, {0x83, 0x03}},
        {{3, 0, 0, 0, 125}, false, Crc({0x64, 3, 0, 0, 0, 125}), {}},
        {{3, 0, 0, 0, 1, 0}, false, {}, {0x83, 0x03}},
        {{4, 0, 0}, false, {}, {0x84, 0x03}},
        {{3, 0xFF, 0xFF, 0, 2}, false, {}, {0x83, 0x02}},
        {{6, 0, 5, 0x12}, false, {}, {0x86, 0x03}},
        {{16, 0, 0, 0, 1, 4, 0, 1, 0, 2}, false, {}, {0x90, 0x03}},  // 2 values for 1
        {{16, 0, 0, 0, 0, 0}, false, {}, {0x90, 0x03}},
        {{16, 0, 0, 0, 124, 248}, false, {}, {0x90, 0x03}},
    };
    for (const Case& c : cases) {
        const Translation t = Translate(c.pdu, 100, c.readOnly);
        EXPECT_EQ(t.forward ? t.forward->frame : Bytes{}, c.frame) << testing::PrintToString(c.pdu);
        EXPECT_EQ(t.reply, c.reply) << testing::PrintToString(c.pdu);
    }
}

TEST(GatewayFrames, TheCalibratorsAnswerBecomesTheReply) {
    struct Case {
        Bytes request;  // the client's PDU
        Bytes frame;    // from the calibrator
        std::optional<Bytes> reply;
    };
    const std::vector<Case> cases = {
        {{3, 0, 0, 0, 2},
         Crc({0x64, 3, 4, 0x12, 0x34, 0xAB, 0xCD}),
         Bytes{3, 4, 0x12, 0x34, 0xAB, 0xCD}},
        {{4, 0, 0, 0, 1}, Crc({0x64, 4, 2, 0xFF, 0x38}), Bytes{4, 2, 0xFF, 0x38}},
        {{3, 0, 0, 0, 2}, Crc({0x64, 0x83, 0x02}), Bytes{0x83, 0x02}},
        {{6, 0, 5, 0x12, 0x34}, Crc({0x64, 0x10, 0, 5, 0, 1}), Bytes{6, 0, 5, 0x12, 0x34}},
        {{6, 0, 5, 0x12, 0x34}, Crc({0x64, 0x90, 0x02}), Bytes{0x86, 0x02}},
        {{16, 0, 16, 0, 2, 4, 0, 1, 0, 2}, Crc({0x64, 0x10, 0, 16, 0, 2}), Bytes{16, 0, 16, 0, 2}},
        // Not the answer: the request is still awaited.
        {{3, 0, 0, 0, 2}, {0x64, 3, 4, 0x12, 0x34, 0xAB, 0xCD, 0, 0}, std::nullopt},  // CRC
        {{3, 0, 0, 0, 2}, Crc({0x65, 3, 4, 0x12, 0x34, 0xAB, 0xCD}), std::nullopt},   // node
        {{3, 0, 0, 0, 2}, Crc({0x64, 3, 2, 0x12, 0x34}), std::nullopt},  // another count
        {{3, 0, 0, 0, 2}, Crc({0x64, 4, 4, 0x12, 0x34, 0xAB, 0xCD}), std::nullopt},
        {{16, 0, 16, 0, 2, 4, 0, 1, 0, 2}, Crc({0x64, 0x10, 0, 1, 0, 11}), std::nullopt},
        {{3, 0, 0, 0, 2}, Crc({0x64, 0x83}), std::nullopt},  // an exception without a code
        {{3, 0, 0, 0, 2}, {0x64}, std::nullopt},
    };
    for (const Case& c : cases) {
        const Translation t = Translate(c.request, 100, false);
        ASSERT_TRUE(t.forward);
        EXPECT_EQ(ReplyOf(*t.forward, c.frame, 100), c.reply) << testing::PrintToString(c.frame);
    }
}

TEST(GatewayFrames, UnitsThatReachACalibrator) {
    struct Case {
        int unit, calibrators;
        bool bench;
        int reached;
    };
    const std::vector<Case> cases = {
        {100, 1, false, 1}, {255, 1, false, 1}, {0, 1, false, 1},  {1, 1, false, 0},
        {99, 1, false, 0},  {1, 3, true, 1},    {3, 3, true, 3},   {4, 3, true, 0},
        {0, 3, true, 0},    {100, 3, true, 0},  {255, 3, true, 0}, {100, 100, true, 100},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RouteUnit(std::uint8_t(c.unit), c.calibrators, c.bench), c.reached)
            << c.unit << " of " << c.calibrators;
}

}  // namespace
}  // namespace vadero::gateway
