#pragma once
// CRC-16/MODBUS: reflected polynomial 0xA001, initial 0xFFFF, no final xor.

#include <cstddef>
#include <cstdint>

namespace vadero {

std::uint16_t Crc16(const std::uint8_t* data, std::size_t length);

}  // namespace vadero
