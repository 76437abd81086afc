#pragma once
// A register image: one word per register address, as the master stores what
// it reads and sends what it writes. Shared by every layer above.

#include <array>
#include <cstdint>

namespace vadero {

constexpr int kMaxRegisterAddress = 1024;
using RegisterImage = std::array<std::uint16_t, kMaxRegisterAddress + 1>;

}  // namespace vadero
