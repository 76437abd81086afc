#include "emulator/ModbusSlave.h"

#include "modbus/Crc.h"

namespace vadero::emu {

namespace {

constexpr std::uint8_t kIllegalFunction = 0x01;
constexpr std::uint8_t kIllegalAddress = 0x02;
constexpr std::uint8_t kIllegalValue = 0x03;
constexpr int kMaxReadCount = 125;  // 250 data bytes fit a 256-byte frame
constexpr int kMaxWriteCount = 123;

int Word(std::span<const std::uint8_t> f, std::size_t at) {
    return f[at] << 8 | f[at + 1];
}

void PutWord(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

// A stuck register keeps its value; the request is acknowledged all the same.
void Store(RegisterBank& bank, int address, std::uint16_t value) {
    const auto at = static_cast<std::size_t>(address);
    if (!bank.stuck[at])
        bank.holding[at] = value;
}

SlaveReply Exception(std::uint8_t function, std::uint8_t code) {
    return {WithCrc({kSlaveAddress, static_cast<std::uint8_t>(function | 0x80), code})};
}

SlaveReply Read(std::span<const std::uint8_t> f, const RegisterBank& bank) {
    if (f.size() != 8)
        return {};  // malformed: no answer
    const std::uint8_t function = f[1];
    const int start = Word(f, 2);
    const int count = Word(f, 4);
    if (count < 1 || count > kMaxReadCount)
        return Exception(function, kIllegalValue);
    const int size = function == 3 ? kHoldingCount : static_cast<int>(bank.input.size());
    if (start + count > size)
        return Exception(function, kIllegalAddress);
    Bytes out{kSlaveAddress, function, static_cast<std::uint8_t>(2 * count)};
    for (int i = 0; i < count; ++i) {
        const auto address = static_cast<std::size_t>(start + i);
        PutWord(out, function == 3 ? bank.holding[address] : InputValue(bank, address));
    }
    return {WithCrc(std::move(out))};
}

SlaveReply WriteSingle(std::span<const std::uint8_t> f, RegisterBank& bank) {
    if (f.size() != 8)
        return {};
    const int address = Word(f, 2);
    if (address >= kHoldingCount)
        return Exception(6, kIllegalAddress);
    Store(bank, address, static_cast<std::uint16_t>(Word(f, 4)));
    return {WithCrc(Bytes(f.begin(), f.end() - 2)), address, 1};
}

SlaveReply WriteMultiple(std::span<const std::uint8_t> f, RegisterBank& bank) {
    if (f.size() < 9 || f.size() != 9u + f[6])
        return {};
    const int start = Word(f, 2);
    const int count = Word(f, 4);
    if (count < 1 || count > kMaxWriteCount || f[6] != 2 * count)
        return Exception(16, kIllegalValue);
    if (start + count > kHoldingCount)
        return Exception(16, kIllegalAddress);
    for (int i = 0; i < count; ++i) {
        const std::size_t at = 7 + 2 * static_cast<std::size_t>(i);
        // The master sends the values of this function low byte first.
        Store(bank, start + i, static_cast<std::uint16_t>(f[at] | f[at + 1] << 8));
    }
    return {WithCrc(Bytes(f.begin(), f.begin() + 6)), start, count};
}

}  // namespace

Bytes WithCrc(Bytes body) {
    const std::uint16_t crc = Crc16(body.data(), body.size());
    body.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    body.push_back(static_cast<std::uint8_t>(crc >> 8));
    return body;
}

SlaveReply Serve(std::span<const std::uint8_t> frame, RegisterBank& bank) {
    if (frame.size() < 4)
        return {};
    const std::size_t body = frame.size() - 2;
    const unsigned crc = frame[body] | frame[body + 1] << 8;
    if (Crc16(frame.data(), body) != crc || frame[0] != kSlaveAddress)
        return {};
    switch (frame[1]) {
        case 3:
        case 4:
            return Read(frame, bank);
        case 6:
            return WriteSingle(frame, bank);
        case 16:
            return WriteMultiple(frame, bank);
        default:
            return Exception(frame[1], kIllegalFunction);
    }
}

}  // namespace vadero::emu
