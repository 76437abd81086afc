#include "calibrator/LCXParams.h"

#include <bit>
#include <stdexcept>
#include <string>

namespace vadero {

std::size_t TLCXParams::at(int base, int index, int count) {
    if (index < 1 || index > count)
        throw std::out_of_range("parameter index " + std::to_string(index) + " outside 1.." +
                                std::to_string(count));
    return static_cast<std::size_t>(base + index);
}

std::size_t TLCXParams::memoryAt(int table, int index) {
    if (table < 0 || table >= int(reg::kMemory1.size()))
        throw std::out_of_range("memory table " + std::to_string(table));
    return at(reg::kMemory1[std::size_t(table)] - 1, index, kMemoryCount);
}

// The float's bit pattern: low 16 bits in register k, high 16 bits in k + 1.
float TLCXParams::floatAt(int k) const {
    const auto i = static_cast<std::size_t>(k);
    const std::uint32_t bits =
        static_cast<std::uint32_t>(r_[i]) | (static_cast<std::uint32_t>(r_[i + 1]) << 16);
    return std::bit_cast<float>(bits);
}

void TLCXParams::setFloatAt(int k, float v) {
    const auto i = static_cast<std::size_t>(k);
    const auto bits = std::bit_cast<std::uint32_t>(v);
    r_[i] = static_cast<std::uint16_t>(bits & 0xFFFF);
    r_[i + 1] = static_cast<std::uint16_t>(bits >> 16);
}

}  // namespace vadero
