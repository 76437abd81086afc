// The byte layer: request layouts, CRC, checks of received frames, debug texts.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "modbus/Crc.h"
#include "modbus/ModbusFrame.h"

namespace vadero::modbus {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes WithCrc(Bytes body) {
    AppendCrc(body);
    return body;
}

TEST(ModbusFrameTest, CrcOfKnownStrings) {
    const std::string digits = "123456789";
    EXPECT_EQ(Crc16(reinterpret_cast<const std::uint8_t*>(digits.data()), digits.size()), 0x4B37);
    EXPECT_EQ(Crc16(nullptr, 0), 0xFFFF);
    const Bytes head{0x64, 0x03, 0x00, 0x00, 0x00, 0x0C};
    EXPECT_EQ(Crc16(head.data(), head.size()), 0x3A4C);
    EXPECT_EQ(WithCrc(head), (Bytes{0x64, 0x03, 0x00, 0x00, 0x00, 0x0C, 0x4C, 0x3A}));
}

TEST(ModbusFrameTest, WorkedExamples) {
    struct Row {
        int function, address, value;
        Bytes bytes;
    };
    const Row rows[] = {
        {3, 0, 12, {0x64, 0x03, 0x00, 0x00, 0x00, 0x0C, 0x4C, 0x3A}},
        {3, 16, 8, {0x64, 0x03, 0x00, 0x10, 0x00, 0x08, 0x4C, 0x3C}},
        {3, 48, 24, {0x64, 0x03, 0x00, 0x30, 0x00, 0x18, 0x4C, 0x3A}},
        {3, 0, 1, {0x64, 0x03, 0x00, 0x00, 0x00, 0x01, 0x8D, 0xFF}},
        {4, 0, 1, {0x64, 0x04, 0x00, 0x00, 0x00, 0x01, 0x38, 0x3F}},
    };
    for (const Row& row : rows) {
        const Request request = BuildRequest(100, row.function, row.address, row.value);
        EXPECT_EQ(Bytes(request.begin(), request.end()), row.bytes) << row.address;
    }
    const std::uint16_t values[] = {0x1234, 1, 2};
    EXPECT_EQ(BuildWriteMultiple(100, 0, values),
              (Bytes{0x64, 0x10, 0x00, 0x00, 0x00, 0x03, 0x06, 0x34, 0x12, 0x01, 0x00, 0x02, 0x00,
                     0xD7, 0xCE}));
}

TEST(ModbusFrameTest, FieldsTravelAsTheirLowSixteenBits) {
    const Request request = BuildRequest(7, 6, 0x10203, -2);
    EXPECT_EQ(Bytes(request.begin(), request.begin() + 6),
              (Bytes{0x07, 0x06, 0x02, 0x03, 0xFF, 0xFE}));
}

TEST(ModbusFrameTest, WriteMultipleFitsTheFrameOnly) {
    const std::vector<std::uint16_t> values(124, 0xABCD);
    const auto full = BuildWriteMultiple(100, 48, std::span(values).first(123));
    ASSERT_EQ(full.size(), kMaxFrame);
    EXPECT_EQ(full[6], 246);
    EXPECT_EQ(full[7], 0xCD);  // low byte first
    EXPECT_THROW(BuildWriteMultiple(100, 48, values), std::invalid_argument);
    EXPECT_EQ(BuildWriteMultiple(100, 1, {}).size(), 9u);
}

TEST(ModbusFrameTest, ChecksRunInOrderAndNameTheFailure) {
    struct Case {
        const char* what;
        Bytes frame;
        std::size_t start;
        int function, count;
        FrameCheck result;
    };
    const Bytes read1 = WithCrc({0x64, 0x03, 0x02, 0x12, 0x34});
    Bytes badCrc = read1;
    badCrc.back() ^= 0x01;
    Bytes echoed = WithCrc({0x64, 0x03, 0x00, 0x00, 0x00, 0x01});
    echoed.insert(echoed.end(), read1.begin(), read1.end());
    Bytes twelve{0x64, 0x03, 22};
    twelve.resize(3 + 22, 0x55);
    const Case cases[] = {
        {"taken", read1, 0, 3, 1, FrameCheck::Taken},
        {"after an echo", echoed, 8, 3, 1, FrameCheck::Taken},
        {"empty", {}, 0, 3, 1, FrameCheck::Ignored},
        {"start at the end", read1, 7, 3, 1, FrameCheck::Ignored},
        {"start past the end", read1, 8, 3, 1, FrameCheck::Ignored},
        {"three bytes", {0x64, 0x03, 0x02}, 0, 3, 1, FrameCheck::TooShort},
        {"three bytes after the start", echoed, 12, 3, 1, FrameCheck::TooShort},
        {"crc", badCrc, 0, 3, 1, FrameCheck::BadCrc},
        {"crc before node", WithCrc({0x02, 0x03, 0x02, 0, 0}), 1, 3, 1, FrameCheck::BadCrc},
        {"node", WithCrc({0x02, 0x03, 0x02, 0x12, 0x34}), 0, 3, 1, FrameCheck::WrongNode},
        {"function", WithCrc({0x64, 0x04, 0x02, 0x12, 0x34}), 0, 3, 1, FrameCheck::WrongFunction},
        {"nothing awaited", read1, 0, -1, 1, FrameCheck::WrongFunction},
        {"exception", WithCrc({0x64, 0x83, 0x02}), 0, 3, 1, FrameCheck::Exception},
        {"exception to another", WithCrc({0x64, 0x84, 0x02}), 0, 3, 1, FrameCheck::WrongFunction},
        {"byte count 22 for 12", WithCrc(twelve), 0, 3, 12, FrameCheck::WrongByteCount},
        {"odd byte count", WithCrc({0x64, 0x03, 0x03, 0, 0, 0}), 0, 3, 1,
         FrameCheck::WrongByteCount},
        {"no byte count", WithCrc({0x64, 0x04}), 0, 4, 1, FrameCheck::TooShort},
        {"values cut short", WithCrc({0x64, 0x03, 0x02, 0x12}), 0, 3, 1, FrameCheck::TooShort},
        {"write single cut short", WithCrc({0x64, 0x06, 0, 1, 0}), 0, 6, 1, FrameCheck::TooShort},
        {"write single", WithCrc({0x64, 0x06, 0, 1, 0, 2}), 0, 6, 1, FrameCheck::Taken},
        {"block written", WithCrc({0x64, 0x10}), 0, 16, 0, FrameCheck::Taken},
    };
    for (const Case& c : cases) {
        const auto checked = CheckResponse(c.frame, c.start, 100, c.function, c.count);
        EXPECT_EQ(checked.result, c.result) << c.what;
        if (checked.result == FrameCheck::Taken) {
            EXPECT_EQ(checked.body.data(), c.frame.data() + c.start) << c.what;
            EXPECT_EQ(checked.body.size(), c.frame.size() - c.start - 2) << c.what;
        }
    }
}

TEST(ModbusFrameTest, ReadsValuesHighByteFirst) {
    const Bytes body{0x64, 0x04, 0x04, 0xFF, 0x38, 0x00, 0x01};
    EXPECT_EQ(RegisterValue(body, 0), 0xFF38);
    EXPECT_EQ(RegisterValue(body, 1), 1);
    EXPECT_THROW(RegisterValue(body, 2), std::out_of_range);
    const auto write = SingleWriteOf(Bytes{0x64, 0x06, 0x04, 0x00, 0x80, 0x01});
    EXPECT_EQ(write.address, 1024);
    EXPECT_EQ(write.value, 0x8001);
}

TEST(ModbusFrameTest, DebugTexts) {
    const Request request = BuildRequest(100, 3, 0, 12);
    EXPECT_EQ(TxText(request), "TX : 64 03 00 00 00 0C 4C 3A ");
    EXPECT_EQ(RxText({}), "RX : ");
    Bytes frame(100);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(0xA0 + i);
    const std::string text = RxText(frame);
    ASSERT_EQ(text.size(), 255u);
    EXPECT_EQ(text.substr(text.size() - 4), "F2 F");  // byte 84 is 0xF3
    EXPECT_EQ(RxText(std::span(frame).first(83)).size(), 254u);
}

}  // namespace
}  // namespace vadero::modbus
