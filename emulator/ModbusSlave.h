#pragma once
// The calibrator's Modbus RTU slave as a pure function: one complete request
// frame in, the answer out (none for another slave or a bad CRC).
//
// Requests (CRC low byte first):
//   3, 4  addr fn start(hi lo) count(hi lo)            -> addr fn 2N values(hi lo)...
//   6     addr 06 register(hi lo) value(hi lo)         -> the request echoed
//   16    addr 10 start(hi lo) N(hi lo) 2N values(LO hi)... -> addr 10 start N
// Exceptions: addr fn|0x80 code; 01 illegal function, 02 illegal address,
// 03 illegal data value (a count of 0, above the frame limit, or a byte count
// that is not 2N). A stuck register of the bank is acknowledged but kept.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "emulator/RegisterBank.h"
#include "transport/Identity.h"

namespace vadero::emu {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kSlaveAddress = lcx3::kSlave;

struct SlaveReply {
    std::optional<Bytes> answer;  // empty: the slave stays silent
    // The holding registers the request wrote.
    int writtenFirst = 0;
    int writtenCount = 0;
};

SlaveReply Serve(std::span<const std::uint8_t> frame, RegisterBank& bank);

// The frame with its CRC appended, low byte first.
Bytes WithCrc(Bytes body);

}  // namespace vadero::emu
