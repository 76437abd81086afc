#pragma once
// Where the calibrator keeps what: its holding registers, the blocks each
// transfer moves, the limits of the values and the codes of the range
// register. Plain constants, so that the session, lcx3, the window and the
// emulated calibrator all take a register or a block from here.

#include <array>
#include <cstdint>

namespace vadero {

// Holding registers 0 to 71: the parameter set and the calibration block.
inline constexpr int kRegisterCount = 72;

// The holding registers, by what they hold.
namespace reg {
inline constexpr int kOutputValue = 0;
inline constexpr int kRange = 1;
inline constexpr int kLoopPower = 2;
inline constexpr int kFilter = 3;
inline constexpr int kUserFullScale = 4;  // a float over two registers, low word first
inline constexpr int kUserZero = 6;       // the same
inline constexpr int kUserFormat = 8;
inline constexpr int kOutputDecimals = 9;
inline constexpr int kCarried = 10;  // carried along by the transfers, not interpreted
inline constexpr int kLanguage = 11;
inline constexpr int kRampTime1 = 16;   // t1 to t4
inline constexpr int kRampLevel1 = 20;  // L1 and L2
inline constexpr int kRampDelay = 22;
inline constexpr int kRampRepeat = 23;
// Memory 1 of each table (0-20 mA, 4-20 mA, 0-10 V); memory k is k - 1 further.
inline constexpr std::array<int, 3> kMemory1{48, 56, 64};
}  // namespace reg

// Input register 0: the measurement.
inline constexpr int kMeasureRegister = 0;

inline constexpr int kRampTimeCount = 4;
inline constexpr int kRampLevelCount = 2;
inline constexpr int kMemoryCount = 8;  // in each table

// Registers first to first + count - 1.
struct RegisterBlock {
    int first = 0;
    int count = 0;

    constexpr int Last() const { return first + count - 1; }
    constexpr int End() const { return first + count; }
    constexpr bool Holds(int address) const { return address >= first && address < End(); }
};

// Read-all and write-all, block by block in the order they travel. Write-all
// leaves out the output value, which the output write sends.
inline constexpr std::array<RegisterBlock, 3> kReadAllBlocks{{{0, 12}, {16, 8}, {48, 24}}};
inline constexpr std::array<RegisterBlock, 3> kWriteAllBlocks{{{1, 11}, {16, 8}, {48, 24}}};
inline constexpr RegisterBlock kReadOutputBlock{reg::kOutputValue, 1};
// The output value with the range and loop power it is generated in.
inline constexpr RegisterBlock kWriteOutputBlock{reg::kOutputValue, 3};
inline constexpr RegisterBlock kMeasureBlock{kMeasureRegister, 1};  // input registers
// The factory's trim of the outputs and inputs: never transferred.
inline constexpr RegisterBlock kCalibrationBlock{32, 14};
// The last register read-all stores; progress is counted against it.
inline constexpr int kLastTransferred = kReadAllBlocks.back().Last();

// Registers that read-all stores (and a backup holds).
constexpr bool IsTransferred(int address) {
    for (const RegisterBlock& b : kReadAllBlocks)
        if (b.Holds(address))
            return true;
    return false;
}
// Registers that write-all sends (and a verification compares).
constexpr bool IsWritten(int address) {
    for (const RegisterBlock& b : kWriteAllBlocks)
        if (b.Holds(address))
            return true;
    return false;
}

// Output values, ramp levels and memories in raw counts: this is 100 % of the
// range's full scale, and the tool writes at most 110 %.
inline constexpr float kRawFullScale = 28000;
inline constexpr std::uint16_t kRawMax = 30800;

// Loop power: nonzero is on; write-all sends this for on, and read-all keeps
// only this bit of what the calibrator holds.
inline constexpr std::uint16_t kLoopPowerOn = 2;

// What the window's editors and lcx3 set let a person give.
inline constexpr int kFilterMax = 16;             // filter positions 0 to 16
inline constexpr std::uint16_t kRampLimit = 99;   // ramp times, delay, repetitions: 0 to 99
inline constexpr float kUserValueMin = -9999.0F;  // user full scale and zero
inline constexpr float kUserValueMax = 99999.0F;

// Codes of the range register.
enum RangeCode : int {
    rgGenerate020mA = 0,
    rgGenerate420mA = 1,
    rgGenerate010V = 2,
    rgMeasureCurrent = 3,
    rgMeasureVoltage = 4,
    rgMeasureResistance = 5,
};
inline constexpr int kRangeCount = 6;

constexpr bool IsGenerating(int range) {
    return range >= rgGenerate020mA && range <= rgGenerate010V;
}
constexpr bool IsMeasuring(int range) {
    return range >= rgMeasureCurrent && range <= rgMeasureResistance;
}

// Language register: the calibrator's own display.
inline constexpr std::uint16_t kLanguageFrench = 0;
inline constexpr std::uint16_t kLanguageEnglish = 1;

}  // namespace vadero
