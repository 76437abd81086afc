#include "emulator/RegisterBank.h"

#include <bit>

namespace vadero::emu {

namespace {

constexpr std::uint16_t Raw(double percent) {
    // Never negative here, so adding a half rounds to nearest (std::lround is not constexpr).
    // NOLINTNEXTLINE(bugprone-incorrect-roundings)
    return static_cast<std::uint16_t>(percent * kRawFullScale / 100.0 + 0.5);
}

// A float over two registers, low 16 bits of its pattern first.
void PutFloat(RegisterBank& bank, int first, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    bank.holding[static_cast<std::size_t>(first)] = static_cast<std::uint16_t>(bits & 0xFFFF);
    bank.holding[static_cast<std::size_t>(first) + 1] = static_cast<std::uint16_t>(bits >> 16);
}

}  // namespace

RegisterBank FactoryBank() {
    RegisterBank bank;
    auto& h = bank.holding;
    h[reg::kOutputValue] = Raw(20);  // 4 mA
    h[reg::kRange] = rgGenerate420mA;
    h[reg::kLoopPower] = 0;  // off
    h[reg::kFilter] = 0;     // off
    PutFloat(bank, reg::kUserFullScale, 100.0F);
    PutFloat(bank, reg::kUserZero, 0.0F);
    h[reg::kUserFormat] = 0x39A;  // " #0.00"
    h[reg::kOutputDecimals] = 0;  // "#0.000"
    h[reg::kCarried] = 0;
    h[reg::kLanguage] = kLanguageFrench;

    // Ramp: t1..t4 in seconds, levels L1 and L2, delay, repetitions.
    const std::array<std::uint16_t, 8> ramp{10, 5, 10, 5, Raw(20), Raw(100), 2, 1};
    for (std::size_t i = 0; i < ramp.size(); ++i) h[reg::kRampTime1 + i] = ramp[i];

    // Gain and offset pairs of the outputs and inputs, as the factory trimmed them.
    const std::array<std::uint16_t, kCalibrationBlock.count> calibration{
        32791, 118, 32702, 97, 32855, 65, 32744, 203, 32810, 41, 32689, 77, 32780, 150};
    for (std::size_t i = 0; i < calibration.size(); ++i)
        h[kCalibrationBlock.first + i] = calibration[i];

    // Memories: 0-20 mA, 4-20 mA (in mA: 0 4 6 8 10 12 16 20 and 4 6 8 10 12 14 16 20),
    // 0-10 V (0 1 2 3 5 7 9 10 V).
    const std::array<double, 24> memories{0,  20, 30, 40, 50, 60, 80, 100,  //
                                          20, 30, 40, 50, 60, 70, 80, 100,  //
                                          0,  10, 20, 30, 50, 70, 90, 100};
    for (std::size_t i = 0; i < memories.size(); ++i) h[reg::kMemory1[0] + i] = Raw(memories[i]);

    bank.input = {Raw(50)};  // 10 mA on the current input
    return bank;
}

std::uint16_t InputValue(const RegisterBank& bank, std::size_t address) {
    if (address == kMeasureRegister && !IsMeasuring(bank.holding[reg::kRange]))
        return bank.holding[reg::kOutputValue];
    return address < bank.input.size() ? bank.input[address] : 0;
}

}  // namespace vadero::emu
