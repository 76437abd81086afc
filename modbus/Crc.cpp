#include "modbus/Crc.h"

namespace vadero {

// Bit by bit, without a table: the frames are short.
std::uint16_t Crc16(const std::uint8_t* data, std::size_t length) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            if (crc & 1)
                crc = static_cast<std::uint16_t>((crc >> 1) ^ 0xA001);
            else
                crc = static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

}  // namespace vadero
