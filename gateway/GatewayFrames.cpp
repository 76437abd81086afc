#include "gateway/GatewayFrames.h"

#include <array>

#include "modbus/ModbusFrame.h"

namespace vadero::gateway {

namespace {

constexpr int kMaxReadCount = 125;
constexpr std::size_t kReadPdu = 5;       // fn, address, count
constexpr std::size_t kWritePduHead = 6;  // fn, address, N, byte count

std::uint16_t Word(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

void PutWord(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8 & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

Translation Refuse(std::uint8_t function, std::uint8_t code) {
    return {std::nullopt, ExceptionPdu(function, code)};
}

}  // namespace

Framing CheckFraming(std::span<const std::uint8_t> received) {
    if (received.size() < kMbapLength)
        return {Framing::Kind::Short, kMbapLength - received.size(), {}};
    const unsigned protocol = Word(received, 2);
    if (protocol != 0)
        return {Framing::Kind::Malformed, 0,
                "protocol identifier " + std::to_string(protocol) + ", not 0 (Modbus)"};
    const std::size_t length = Word(received, 4);
    if (length < 2)
        return {Framing::Kind::Malformed, 0,
                "length " + std::to_string(length) + ", below a unit and a function code"};
    if (length > kMaxPdu + 1)
        return {Framing::Kind::Malformed, 0,
                "length " + std::to_string(length) + ", beyond the 254 bytes a request may hold"};
    const std::size_t announced = kMbapLength - 1 + length;
    if (announced == received.size())
        return {Framing::Kind::Whole, 0, {}};
    if (received.size() < announced)
        return {Framing::Kind::Short, announced - received.size(), {}};
    return {Framing::Kind::Malformed, 0,
            "length " + std::to_string(length) + " for a request of " +
                std::to_string(received.size() - kMbapLength + 1) + " bytes"};
}

Adu SplitAdu(std::span<const std::uint8_t> whole) {
    return {Word(whole, 0), whole[6], Bytes(whole.begin() + kMbapLength, whole.end())};
}

Bytes JoinAdu(std::uint16_t transaction, std::uint8_t unit, std::span<const std::uint8_t> pdu) {
    Bytes adu;
    adu.reserve(kMbapLength + pdu.size());
    PutWord(adu, transaction);
    PutWord(adu, 0);
    PutWord(adu, static_cast<unsigned>(pdu.size() + 1));
    adu.push_back(unit);
    adu.insert(adu.end(), pdu.begin(), pdu.end());
    return adu;
}

Bytes ExceptionPdu(std::uint8_t function, std::uint8_t code) {
    return {static_cast<std::uint8_t>(function | 0x80), code};
}

int RouteUnit(std::uint8_t unit, int calibrators, bool bench) {
    if (bench)
        return unit >= 1 && unit <= calibrators ? unit : 0;
    const bool reaches = unit == kCalibratorUnit || unit == 255 || unit == 0;
    return reaches && calibrators >= 1 ? 1 : 0;
}

Translation Translate(std::span<const std::uint8_t> pdu, std::uint8_t node, bool readOnly) {
    const std::uint8_t function = pdu.empty() ? 0 : pdu[0];
    const bool writes = function == modbus::kWriteSingle || function == modbus::kWriteMultiple;
    const bool reads = function == modbus::kReadHolding || function == modbus::kReadInput;
    if ((!writes && !reads) || (writes && readOnly))
        return Refuse(function, kIllegalFunction);
    if (pdu.size() < kReadPdu)
        return Refuse(function, kIllegalValue);
    Forward f;
    f.function = function;
    f.address = Word(pdu, 1);
    if (reads) {
        f.count = Word(pdu, 3);
        if (pdu.size() != kReadPdu || f.count < 1 || f.count > kMaxReadCount)
            return Refuse(function, kIllegalValue);
    } else if (function == modbus::kWriteSingle) {
        if (pdu.size() != kReadPdu)
            return Refuse(function, kIllegalValue);
        f.count = 1;
        f.value = Word(pdu, 3);
    } else {
        f.count = Word(pdu, 3);
        if (pdu.size() < kWritePduHead || f.count < 1 || f.count > modbus::kMaxWriteCount ||
            pdu[5] != 2 * f.count || pdu.size() != kWritePduHead + 2 * std::size_t(f.count))
            return Refuse(function, kIllegalValue);
    }
    if (f.address + f.count > 0x10000)
        return Refuse(function, kIllegalAddress);
    if (reads) {
        const auto request = modbus::BuildRequest(node, function, f.address, f.count);
        f.frame.assign(request.begin(), request.end());
    } else {
        // Read high byte first; the builder lays each value low byte first,
        // as the calibrator takes them. A single write goes as one of 16.
        std::array<std::uint16_t, modbus::kMaxWriteCount> values{};
        if (function == modbus::kWriteSingle)
            values[0] = f.value;
        else
            for (int i = 0; i < f.count; ++i)
                values[std::size_t(i)] = Word(pdu, kWritePduHead + 2 * std::size_t(i));
        f.frame = modbus::BuildWriteMultiple(node, f.address,
                                             std::span(values.data(), std::size_t(f.count)));
    }
    return {std::move(f), {}};
}

std::optional<Bytes> ReplyOf(const Forward& forward, std::span<const std::uint8_t> frame,
                             std::uint8_t node) {
    const bool single = forward.function == modbus::kWriteSingle;
    const int sent = single ? modbus::kWriteMultiple : forward.function;
    const auto checked = modbus::CheckResponse(frame, 0, node, sent, forward.count);
    if (checked.result == modbus::FrameCheck::Exception) {
        if (frame.size() < 5)  // node, function, code, CRC
            return std::nullopt;
        return ExceptionPdu(forward.function, frame[2]);
    }
    if (checked.result != modbus::FrameCheck::Taken)
        return std::nullopt;
    const auto body = checked.body;
    if (sent != modbus::kWriteMultiple)  // the calibrator's answer as it came
        return Bytes(body.begin() + 1, body.begin() + 3 + 2 * std::ptrdiff_t(forward.count));
    if (!modbus::EchoesBlock(body, forward.address, forward.count))
        return std::nullopt;
    Bytes reply{forward.function};
    PutWord(reply, unsigned(forward.address));
    PutWord(reply, single ? forward.value : unsigned(forward.count));
    return reply;
}

std::string DescribeReply(std::span<const std::uint8_t> pdu) {
    if (pdu.size() < 2 || (pdu[0] & 0x80) == 0)
        return "answered";
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "exception 0x";
    text += kDigits[pdu[1] >> 4];
    text += kDigits[pdu[1] & 0x0F];
    switch (pdu[1]) {
        case kIllegalFunction:
            return text + " (illegal function)";
        case kIllegalAddress:
            return text + " (illegal data address)";
        case kIllegalValue:
            return text + " (illegal data value)";
        case kPathUnavailable:
            return text + " (gateway path unavailable)";
        case kTargetFailed:
            return text + " (gateway target failed to respond)";
        default:
            return text;
    }
}

}  // namespace vadero::gateway
