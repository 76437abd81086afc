#pragma once
// The calibrator's parameter set: a view onto holding registers 0 to 71 of the
// master's image. Reading a field reads the register; writing it writes the
// register the next write-all sends.

#include <cstdint>

#include "calibrator/RegisterMap.h"
#include "modbus/RegisterImage.h"

namespace vadero {

// Memory tables, by the range whose values they hold.
enum MemoryTableId : std::uint8_t { Memory020mA = 0, Memory420mA = 1, Memory010V = 2 };

class TLCXParams {
  public:
    static constexpr int kCount = kRegisterCount;

    explicit TLCXParams(RegisterImage& registers) : r_(registers) {}

    std::int16_t OutputValue() const { return static_cast<std::int16_t>(r_[reg::kOutputValue]); }
    void SetOutputValue(std::int16_t v) { r_[reg::kOutputValue] = static_cast<std::uint16_t>(v); }
    std::uint16_t Range() const { return r_[reg::kRange]; }
    void SetRange(std::uint16_t v) { r_[reg::kRange] = v; }
    std::uint16_t LoopPower() const { return r_[reg::kLoopPower]; }
    void SetLoopPower(std::uint16_t v) { r_[reg::kLoopPower] = v; }
    std::uint16_t Filter() const { return r_[reg::kFilter]; }
    void SetFilter(std::uint16_t v) { r_[reg::kFilter] = v; }
    float UserFullScale() const { return floatAt(reg::kUserFullScale); }
    void SetUserFullScale(float v) { setFloatAt(reg::kUserFullScale, v); }
    float UserZero() const { return floatAt(reg::kUserZero); }
    void SetUserZero(float v) { setFloatAt(reg::kUserZero, v); }
    std::uint16_t UserFormat() const { return r_[reg::kUserFormat]; }
    void SetUserFormat(std::uint16_t v) { r_[reg::kUserFormat] = v; }
    std::int16_t OutputDecimals() const {
        return static_cast<std::int16_t>(r_[reg::kOutputDecimals]);
    }
    void SetOutputDecimals(std::int16_t v) {
        r_[reg::kOutputDecimals] = static_cast<std::uint16_t>(v);
    }
    std::uint16_t Language() const { return r_[reg::kLanguage]; }
    void SetLanguage(std::uint16_t v) { r_[reg::kLanguage] = v; }

    // Ramp: times t1..t4, levels L1, L2.
    std::uint16_t RampTime(int index) const { return r_[rampTimeAt(index)]; }
    void SetRampTime(int index, std::uint16_t v) { r_[rampTimeAt(index)] = v; }
    std::uint16_t RampLevel(int index) const { return r_[rampLevelAt(index)]; }
    void SetRampLevel(int index, std::uint16_t v) { r_[rampLevelAt(index)] = v; }
    std::uint16_t RampDelay() const { return r_[reg::kRampDelay]; }
    void SetRampDelay(std::uint16_t v) { r_[reg::kRampDelay] = v; }
    std::uint16_t RampRepeat() const { return r_[reg::kRampRepeat]; }
    void SetRampRepeat(std::uint16_t v) { r_[reg::kRampRepeat] = v; }

    // Memories 1..8 of a table.
    std::uint16_t Memory(int table, int index) const { return r_[memoryAt(table, index)]; }
    void SetMemory(int table, int index, std::uint16_t v) { r_[memoryAt(table, index)] = v; }

    // Register k (0 to kCount - 1) as a word.
    std::uint16_t Word(int k) const { return r_[at(-1, k + 1, kCount)]; }
    void SetWord(int k, std::uint16_t v) { r_[at(-1, k + 1, kCount)] = v; }

  private:
    // Register base + index for a 1-based index up to count; throws outside.
    static std::size_t at(int base, int index, int count);
    static std::size_t rampTimeAt(int index) {
        return at(reg::kRampTime1 - 1, index, kRampTimeCount);
    }
    static std::size_t rampLevelAt(int index) {
        return at(reg::kRampLevel1 - 1, index, kRampLevelCount);
    }
    static std::size_t memoryAt(int table, int index);
    float floatAt(int k) const;
    void setFloatAt(int k, float v);

    RegisterImage& r_;
};

}  // namespace vadero
