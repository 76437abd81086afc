#pragma once
// The gateway's translation between Modbus TCP and the calibrator's Modbus
// RTU, as pure functions: the checks of a received request (MBAP header and
// PDU), the RTU request it becomes, the reply that the calibrator's answer
// becomes, and the exceptions the gateway answers itself.
//
//   MBAP + PDU:  transaction:hi lo  protocol 0:hi lo  length:hi lo  unit  PDU
//                (length counts the unit and the PDU)
//   read 3, 4:   fn  address:hi lo  count:hi lo          -> the same to the calibrator
//   write 6:     06  address:hi lo  value:hi lo           -> 16 of one register, value lo hi
//   write 16:    10  address:hi lo  N:hi lo  2N  N x (hi lo)  -> each value lo hi
//   exception:   fn|0x80  code

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "transport/Identity.h"

namespace vadero::gateway {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kMbapLength = 7;
constexpr std::size_t kMaxPdu = 253;
constexpr std::size_t kMaxAdu = kMbapLength + kMaxPdu;  // 260, as libmodbus allows

// Exception codes the gateway answers itself or passes on.
constexpr std::uint8_t kIllegalFunction = 0x01;
constexpr std::uint8_t kIllegalAddress = 0x02;
constexpr std::uint8_t kIllegalValue = 0x03;
constexpr std::uint8_t kPathUnavailable = 0x0A;
constexpr std::uint8_t kTargetFailed = 0x0B;

// Unit identifiers that reach the one calibrator served: its own address,
// and the two that Modbus TCP clients use for "the device behind".
constexpr std::uint8_t kCalibratorUnit = lcx3::kSlave;

// The bytes of a request received so far, framed by its MBAP header: whole,
// short of bytes (of the header, or of what its length announces), or
// malformed (the connection is closed). A request framed whole whose PDU is
// malformed is Translate's to answer.
struct Framing {
    enum class Kind { Whole, Short, Malformed } kind = Kind::Malformed;
    std::size_t missing = 0;  // Short: bytes still to read
    std::string why;          // Malformed: for the log
};
Framing CheckFraming(std::span<const std::uint8_t> received);

struct Adu {
    std::uint16_t transaction = 0;
    std::uint8_t unit = 0;
    Bytes pdu;  // function code first
};
// A request whose framing is whole.
Adu SplitAdu(std::span<const std::uint8_t> whole);
Bytes JoinAdu(std::uint16_t transaction, std::uint8_t unit, std::span<const std::uint8_t> pdu);

Bytes ExceptionPdu(std::uint8_t function, std::uint8_t code);

// The calibrator a unit identifier reaches, counting from 1 among those
// served; 0 for none. With a bench, unit N reaches calibrator N.
int RouteUnit(std::uint8_t unit, int calibrators, bool bench);

// A request on its way to the calibrator.
struct Forward {
    std::uint8_t function = 0;  // the client's: 3, 4, 6 or 16
    int address = 0;
    int count = 0;            // registers; 1 for function 6
    std::uint16_t value = 0;  // function 6: echoed in the reply
    Bytes frame;              // the RTU request, CRC included
};

// Either the request for the calibrator or the reply the gateway gives at
// once (an exception).
struct Translation {
    std::optional<Forward> forward;
    Bytes reply;
};
Translation Translate(std::span<const std::uint8_t> pdu, std::uint8_t node, bool readOnly);

// The reply to the client that a frame from the calibrator makes, or nothing
// when the frame answers no request of this one (bad CRC, another function or
// count, a write's answer echoing another block): the request is then still
// awaited. A late answer to a re-send never gets here: the master drops it.
std::optional<Bytes> ReplyOf(const Forward& forward, std::span<const std::uint8_t> frame,
                             std::uint8_t node);

// "answered" or "exception 0x0B (gateway target failed to respond)", for the trace.
std::string DescribeReply(std::span<const std::uint8_t> pdu);

}  // namespace vadero::gateway
