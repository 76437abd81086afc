// Request frames fed to the emulated calibrator's Modbus slave. Aborts when an
// answer is no well-formed frame of its own, when it disagrees with the request
// or the bank, or when a register changes that the request did not write.
//
// Byte 0: bit 0 fix the request's CRC; bit 1 lay down the slave address;
// bits 2-7 with byte 1 the number of input registers (1 to 1025).
// Bytes 2-3 seed the bank's values; the rest is the request frame.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "emulator/ModbusSlave.h"
#include "fuzz/FuzzCheck.h"
#include "modbus/Crc.h"

namespace {

using vadero::emu::Bytes;
using vadero::emu::RegisterBank;

constexpr std::uint8_t kSlave = vadero::emu::kSlaveAddress;

int Word(const Bytes& f, std::size_t at) {
    return f[at] << 8 | f[at + 1];
}

bool CrcHolds(const Bytes& f) {
    if (f.size() < 2)
        return false;
    const std::uint16_t crc = vadero::Crc16(f.data(), f.size() - 2);
    return f[f.size() - 2] == (crc & 0xFF) && f[f.size() - 1] == (crc >> 8);
}

RegisterBank BankOf(std::size_t inputs, std::uint16_t seed) {
    RegisterBank bank;
    std::uint32_t x = seed * 2654435761u + 1;
    const auto next = [&] {
        x = x * 1103515245u + 12345u;
        return static_cast<std::uint16_t>(x >> 16);
    };
    for (auto& h : bank.holding) h = next();
    bank.input.resize(inputs);
    for (auto& v : bank.input) v = next();
    // Now and then a measuring range, where input register 0 reads the measured input.
    bank.holding[1] = static_cast<std::uint16_t>(seed % 7);
    return bank;
}

void CheckException(const Bytes& answer, const Bytes& frame) {
    FUZZ_CHECK(answer.size() == 5);
    FUZZ_CHECK(answer[1] == (frame[1] | 0x80));
    FUZZ_CHECK(answer[2] >= 1 && answer[2] <= 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    const std::size_t inputs = 1 + ((data[0] >> 2) << 8 | data[1]) % vadero::emu::kMaxInputCount;
    const RegisterBank before = BankOf(inputs, static_cast<std::uint16_t>(data[2] << 8 | data[3]));
    Bytes frame(data + 4, data + size);
    if ((data[0] & 0x02) && !frame.empty())
        frame[0] = kSlave;
    if ((data[0] & 0x01) && frame.size() >= 2) {
        const std::uint16_t crc = vadero::Crc16(frame.data(), frame.size() - 2);
        frame[frame.size() - 2] = static_cast<std::uint8_t>(crc & 0xFF);
        frame[frame.size() - 1] = static_cast<std::uint8_t>(crc >> 8);
    }

    RegisterBank bank = before;
    const vadero::emu::SlaveReply reply = vadero::emu::Serve(frame, bank);

    // Only what the reply names as written may change, and only holding registers.
    FUZZ_CHECK(bank.input == before.input);
    FUZZ_CHECK(reply.writtenCount >= 0 && reply.writtenFirst >= 0 &&
               reply.writtenFirst + reply.writtenCount <= vadero::emu::kHoldingCount);
    for (int a = 0; a < vadero::emu::kHoldingCount; ++a)
        if (a < reply.writtenFirst || a >= reply.writtenFirst + reply.writtenCount)
            FUZZ_CHECK(bank.holding[static_cast<std::size_t>(a)] ==
                       before.holding[static_cast<std::size_t>(a)]);

    const bool addressed = frame.size() >= 4 && CrcHolds(frame) && frame[0] == kSlave;
    if (!addressed) {
        FUZZ_CHECK(!reply.answer && reply.writtenCount == 0);
        return 0;
    }
    if (!reply.answer) {
        FUZZ_CHECK(reply.writtenCount == 0);
        return 0;  // a malformed request of a known function stays unanswered
    }
    const Bytes& answer = *reply.answer;
    FUZZ_CHECK(answer.size() >= 5 && answer.size() <= 256);
    FUZZ_CHECK(CrcHolds(answer));
    FUZZ_CHECK(answer[0] == kSlave);
    const std::uint8_t function = frame[1];
    if (answer[1] & 0x80) {
        CheckException(answer, frame);
        FUZZ_CHECK(reply.writtenCount == 0);
        return 0;
    }
    FUZZ_CHECK(answer[1] == function);
    switch (function) {
        case 3:
        case 4: {
            FUZZ_CHECK(frame.size() == 8 && reply.writtenCount == 0);
            const int start = Word(frame, 2);
            const int count = Word(frame, 4);
            FUZZ_CHECK(count >= 1 && answer[2] == 2 * count);
            FUZZ_CHECK(answer.size() == 5 + 2 * static_cast<std::size_t>(count));
            for (int i = 0; i < count; ++i) {
                const auto address = static_cast<std::size_t>(start + i);
                const std::uint16_t expected = function == 3
                                                   ? before.holding.at(address)
                                                   : vadero::emu::InputValue(before, address);
                FUZZ_CHECK(address < (function == 3 ? before.holding.size() : before.input.size()));
                FUZZ_CHECK(Word(answer, 3 + 2 * static_cast<std::size_t>(i)) == expected);
            }
            break;
        }
        case 6:
            FUZZ_CHECK(answer == frame);
            FUZZ_CHECK(reply.writtenCount == 1 && reply.writtenFirst == Word(frame, 2));
            FUZZ_CHECK(bank.holding[static_cast<std::size_t>(reply.writtenFirst)] ==
                       Word(frame, 4));
            break;
        case 16: {
            FUZZ_CHECK(answer.size() == 8 &&
                       std::equal(answer.begin(), answer.begin() + 6, frame.begin()));
            const int start = Word(frame, 2);
            const int count = Word(frame, 4);
            FUZZ_CHECK(reply.writtenFirst == start && reply.writtenCount == count);
            FUZZ_CHECK(frame.size() == 9 + 2 * static_cast<std::size_t>(count) &&
                       frame[6] == 2 * count);
            for (int i = 0; i < count; ++i) {
                const std::size_t at = 7 + 2 * static_cast<std::size_t>(i);
                FUZZ_CHECK(bank.holding[static_cast<std::size_t>(start + i)] ==
                           (frame[at] | frame[at + 1] << 8));
            }
            break;
        }
        default:
            FUZZ_CHECK(false);  // every other function is refused
    }
    return 0;
}
