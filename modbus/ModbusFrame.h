#pragma once
// Modbus RTU frames as the master sends and takes them: the request layouts,
// the checks of a received frame and the debug texts. Pure functions; the I/O
// is the master's.
//
//   read (3, 4) / write single (6):  node fn  addr:hi lo  count|value:hi lo  crc:lo hi
//   write multiple (16):              node 10 addr:hi lo  N:hi lo  2N  N x (lo hi)  crc:lo hi
//   response 3, 4:                    node fn  B  B/2 x (hi lo)  crc:lo hi
//   response 6:                       node 06  addr:hi lo  value:hi lo  crc:lo hi
//   response 16:                      node 10  ...  crc:lo hi
//   exception:                        node fn|0x80 ...  crc:lo hi

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vadero::modbus {

constexpr int kReadHolding = 3;
constexpr int kReadInput = 4;
constexpr int kWriteSingle = 6;
constexpr int kWriteMultiple = 16;

constexpr std::size_t kMaxFrame = 255;
constexpr std::size_t kRequestLength = 8;
constexpr int kMaxWriteCount = 123;  // 9 + 2 x 123 = 255
constexpr std::size_t kMaxDebugText = 255;

using Request = std::array<std::uint8_t, kRequestLength>;

// A function 3, 4 or 6 request; `value` is the count of a read or the value of
// a write. Both travel as their low 16 bits.
Request BuildRequest(std::uint8_t node, int function, int address, int value);

// A function-16 request for values.size() registers from `address`, each value
// low byte first. Throws std::invalid_argument beyond kMaxWriteCount values.
std::vector<std::uint8_t> BuildWriteMultiple(std::uint8_t node, int address,
                                             std::span<const std::uint16_t> values);

// Appends the CRC, low byte first.
void AppendCrc(std::vector<std::uint8_t>& frame);

// The outcome of the checks, in the order they run. Ignored: the response
// would start at or after the frame's end; every other failure drops it.
enum class FrameCheck {
    Ignored,
    TooShort,
    BadCrc,
    WrongNode,
    WrongFunction,
    Exception,
    WrongByteCount,
    Taken,
};

struct CheckedFrame {
    FrameCheck result = FrameCheck::Ignored;
    // The response without its CRC; set only when taken.
    std::span<const std::uint8_t> body;
};

// Checks the response that starts at `start` of the received bytes against the
// awaited function (-1: none) and, for 3 and 4, the count of registers asked.
// Never reads outside `received`.
CheckedFrame CheckResponse(std::span<const std::uint8_t> received, std::size_t start,
                           std::uint8_t node, int function, int count);

// A taken function-16 body answers the block of `count` registers from
// `address`: a body long enough to echo the start and the quantity must echo
// those of the block, so that a late answer to an earlier block (Modbus RTU
// carries no transaction number) is not taken for the block awaited now.
bool EchoesBlock(std::span<const std::uint8_t> body, int address, int count);

// Value i of a taken function-3 or function-4 body.
std::uint16_t RegisterValue(std::span<const std::uint8_t> body, int i);

struct SingleWrite {
    int address = 0;
    std::uint16_t value = 0;
};
// Address and value of a taken function-6 body.
SingleWrite SingleWriteOf(std::span<const std::uint8_t> body);

// prefix, then "HH " per byte, cut to kMaxDebugText characters.
std::string DebugText(std::string_view prefix, std::span<const std::uint8_t> bytes);
inline std::string TxText(std::span<const std::uint8_t> bytes) {
    return DebugText("TX : ", bytes);
}
inline std::string RxText(std::span<const std::uint8_t> bytes) {
    return DebugText("RX : ", bytes);
}

}  // namespace vadero::modbus
