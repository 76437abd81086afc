#include "modbus/ModbusFrame.h"

#include <stdexcept>

#include "modbus/Crc.h"

namespace vadero::modbus {

namespace {

std::uint8_t High(int value) {
    return static_cast<std::uint8_t>((value >> 8) & 0xFF);
}
std::uint8_t Low(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// A 16-bit field, high byte first.
std::uint16_t WordAt(std::span<const std::uint8_t> bytes, std::size_t at) {
    if (at + 1 >= bytes.size())
        throw std::out_of_range("field beyond the frame");
    return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

constexpr std::size_t kCrcLength = 2;
constexpr std::size_t kMinResponse = 4;      // node, function, CRC
constexpr std::size_t kReadHeader = 3;       // node, function, byte count
constexpr std::size_t kSingleWriteBody = 6;  // node, function, address, value

}  // namespace

void AppendCrc(std::vector<std::uint8_t>& frame) {
    const std::uint16_t crc = Crc16(frame.data(), frame.size());
    frame.push_back(Low(crc));
    frame.push_back(High(crc));
}

Request BuildRequest(std::uint8_t node, int function, int address, int value) {
    Request request{node, Low(function), High(address), Low(address), High(value), Low(value), 0,
                    0};
    const std::uint16_t crc = Crc16(request.data(), kRequestLength - kCrcLength);
    request[6] = Low(crc);
    request[7] = High(crc);
    return request;
}

std::vector<std::uint8_t> BuildWriteMultiple(std::uint8_t node, int address,
                                             std::span<const std::uint16_t> values) {
    if (values.size() > static_cast<std::size_t>(kMaxWriteCount))
        throw std::invalid_argument("more registers than a frame holds");
    const int count = static_cast<int>(values.size());
    std::vector<std::uint8_t> frame{node,        Low(kWriteMultiple), High(address), Low(address),
                                    High(count), Low(count),          Low(2 * count)};
    frame.reserve(kMaxFrame);
    // The calibrator expects these values low byte first, unlike every other field.
    for (const std::uint16_t value : values) {
        frame.push_back(Low(value));
        frame.push_back(High(value));
    }
    AppendCrc(frame);
    return frame;
}

CheckedFrame CheckResponse(std::span<const std::uint8_t> received, std::size_t start,
                           std::uint8_t node, int function, int count) {
    const std::size_t length = received.size();
    if (start >= length)
        return {FrameCheck::Ignored, {}};
    if (length - start < kMinResponse)
        return {FrameCheck::TooShort, {}};

    const auto body = received.subspan(start, length - start - kCrcLength);
    const auto sent = static_cast<std::uint16_t>(received[length - 1] << 8 | received[length - 2]);
    if (Crc16(body.data(), body.size()) != sent)
        return {FrameCheck::BadCrc, {}};
    if (body[0] != node)
        return {FrameCheck::WrongNode, {}};
    if ((body[1] & 0x7F) != function)
        return {FrameCheck::WrongFunction, {}};
    if (body[1] & 0x80)
        return {FrameCheck::Exception, {}};

    if (function == kReadHolding || function == kReadInput) {
        if (body.size() < kReadHeader)
            return {FrameCheck::TooShort, {}};
        const int byteCount = body[2];
        // Compared without doubling: count may be anything the caller asked for.
        if (byteCount % 2 != 0 || byteCount / 2 != count)
            return {FrameCheck::WrongByteCount, {}};
        if (body.size() < kReadHeader + static_cast<std::size_t>(byteCount))
            return {FrameCheck::TooShort, {}};
    } else if (function == kWriteSingle) {
        if (body.size() < kSingleWriteBody)
            return {FrameCheck::TooShort, {}};
    }
    return {FrameCheck::Taken, body};
}

bool EchoesBlock(std::span<const std::uint8_t> body, int address, int count) {
    if (body.size() < kSingleWriteBody)
        return true;  // nothing echoed to compare
    return WordAt(body, 2) == (address & 0xFFFF) && WordAt(body, 4) == (count & 0xFFFF);
}

std::uint16_t RegisterValue(std::span<const std::uint8_t> body, int i) {
    if (i < 0)
        throw std::out_of_range("negative register index");
    return WordAt(body, kReadHeader + 2 * static_cast<std::size_t>(i));
}

SingleWrite SingleWriteOf(std::span<const std::uint8_t> body) {
    return {WordAt(body, 2), WordAt(body, 4)};
}

std::string DebugText(std::string_view prefix, std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(prefix.substr(0, kMaxDebugText));
    for (const std::uint8_t byte : bytes) {
        if (text.size() >= kMaxDebugText)
            break;
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
        text += ' ';
    }
    if (text.size() > kMaxDebugText)
        text.resize(kMaxDebugText);
    return text;
}

}  // namespace vadero::modbus
