#pragma once
// The calibrator's parameter set: a view onto holding registers 0 to 71 of the
// master's image. Reading a field reads the register; writing it writes the
// register the next write-all sends.

#include <array>
#include <cstdint>

namespace vadero {

using RegisterImage = std::array<std::uint16_t, 1025>;

// Memory tables, by the range whose values they hold.
enum TMemoryTable : std::uint8_t { Memory020mA = 0, Memory420mA = 1, Memory010V = 2 };

class TLCXParams {
public:
    static constexpr int kCount = 72;

    explicit TLCXParams(RegisterImage& registers) : r_(registers) {}

    std::int16_t OutputValue() const { return static_cast<std::int16_t>(r_[0]); }
    void SetOutputValue(std::int16_t v) { r_[0] = static_cast<std::uint16_t>(v); }
    std::uint16_t Range() const { return r_[1]; }
    void SetRange(std::uint16_t v) { r_[1] = v; }
    std::uint16_t LoopPower() const { return r_[2]; }
    void SetLoopPower(std::uint16_t v) { r_[2] = v; }
    std::uint16_t Filter() const { return r_[3]; }
    void SetFilter(std::uint16_t v) { r_[3] = v; }
    float UserFullScale() const { return floatAt(4); }
    void SetUserFullScale(float v) { setFloatAt(4, v); }
    float UserZero() const { return floatAt(6); }
    void SetUserZero(float v) { setFloatAt(6, v); }
    std::uint16_t UserFormat() const { return r_[8]; }
    void SetUserFormat(std::uint16_t v) { r_[8] = v; }
    std::int16_t OutputDecimals() const { return static_cast<std::int16_t>(r_[9]); }
    void SetOutputDecimals(std::int16_t v) { r_[9] = static_cast<std::uint16_t>(v); }
    std::uint16_t Language() const { return r_[11]; }
    void SetLanguage(std::uint16_t v) { r_[11] = v; }

    // Ramp: times t1..t4 (registers 16-19), levels L1, L2 (20-21).
    std::uint16_t RampTime(int index) const { return r_[at(15, index, 4)]; }
    void SetRampTime(int index, std::uint16_t v) { r_[at(15, index, 4)] = v; }
    std::uint16_t RampLevel(int index) const { return r_[at(19, index, 2)]; }
    void SetRampLevel(int index, std::uint16_t v) { r_[at(19, index, 2)] = v; }
    std::uint16_t RampDelay() const { return r_[22]; }
    void SetRampDelay(std::uint16_t v) { r_[22] = v; }
    std::uint16_t RampRepeat() const { return r_[23]; }
    void SetRampRepeat(std::uint16_t v) { r_[23] = v; }

    // Memories 1..8 of a table (registers 48-55, 56-63, 64-71).
    std::uint16_t Memory(int table, int index) const { return r_[memoryAt(table, index)]; }
    void SetMemory(int table, int index, std::uint16_t v) { r_[memoryAt(table, index)] = v; }

    // Register k (0 to 71) as a word.
    std::uint16_t Word(int k) const { return r_[at(-1, k + 1, kCount)]; }
    void SetWord(int k, std::uint16_t v) { r_[at(-1, k + 1, kCount)] = v; }

private:
    // Register base + index for a 1-based index up to count; throws outside.
    static std::size_t at(int base, int index, int count);
    static std::size_t memoryAt(int table, int index);
    float floatAt(int k) const;
    void setFloatAt(int k, float v);

    RegisterImage& r_;
};

}  // namespace vadero
