#include "emulator/EmulatedLcx3.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "emulator/BankJson.h"

namespace vadero::emu {

namespace {

std::size_t Checked(int address) {
    if (address < 0 || address >= kHoldingCount)
        throw std::out_of_range("holding register " + std::to_string(address) +
                                " is outside 0 to " + std::to_string(kHoldingCount - 1));
    return static_cast<std::size_t>(address);
}

Duration PositiveInterval(Duration interval) {
    if (interval <= Duration::zero())
        throw std::invalid_argument("the report interval must be above zero");
    return interval;
}

}  // namespace

EmulatedLcx3::EmulatedLcx3(EmuClock& clock, std::string path, DeviceOptions options)
    : clock_(clock),
      path_(std::move(path)),
      identity_(options),
      origin_(clock.now()),
      interval_(PositiveInterval(options.reportInterval)),
      core_(std::move(options.bank)),
      plugged_(options.plugged) {
    core_.turnaround = options.turnaround;
    core_.SetPowered(options.powered);
    lastTick_ = origin_;
}

DeviceCore& EmulatedLcx3::synced() const {
    core_.Advance(clock_.now());
    return core_;
}

void EmulatedLcx3::Plug() {
    const std::lock_guard lock(mutex_);
    plugged_ = true;
}

void EmulatedLcx3::Unplug() {
    const std::lock_guard lock(mutex_);
    if (!plugged_)
        return;
    synced().Unplugged();
    plugged_ = false;
    ++generation_;
}

bool EmulatedLcx3::Plugged() const {
    const std::lock_guard lock(mutex_);
    return plugged_;
}

void EmulatedLcx3::PowerOn() {
    const std::lock_guard lock(mutex_);
    synced().SetPowered(true);
}

void EmulatedLcx3::PowerOff() {
    const std::lock_guard lock(mutex_);
    synced().SetPowered(false);
}

bool EmulatedLcx3::Powered() const {
    const std::lock_guard lock(mutex_);
    return core_.Powered();
}

void EmulatedLcx3::SetMeasuredInput(std::int16_t raw) {
    const std::lock_guard lock(mutex_);
    synced().Bank().input[0] = static_cast<std::uint16_t>(raw);
}

std::int16_t EmulatedLcx3::MeasuredInput() const {
    const std::lock_guard lock(mutex_);
    return static_cast<std::int16_t>(core_.Bank().input[0]);
}

std::uint16_t EmulatedLcx3::Holding(int address) const {
    const std::size_t at = Checked(address);
    const std::lock_guard lock(mutex_);
    return synced().Bank().holding[at];
}

void EmulatedLcx3::SetHolding(int address, std::uint16_t value) {
    const std::size_t at = Checked(address);
    const std::lock_guard lock(mutex_);
    synced().Bank().holding[at] = value;
}

std::uint16_t EmulatedLcx3::Input(int address) const {
    const std::lock_guard lock(mutex_);
    const RegisterBank& bank = synced().Bank();
    if (address < 0 || static_cast<std::size_t>(address) >= bank.input.size())
        throw std::out_of_range("input register " + std::to_string(address) + " does not exist");
    return InputValue(bank, static_cast<std::size_t>(address));
}

RegisterBank EmulatedLcx3::Bank() const {
    const std::lock_guard lock(mutex_);
    return synced().Bank();
}

void EmulatedLcx3::SetBank(const RegisterBank& bank) {
    if (bank.input.empty() || bank.input.size() > kMaxInputCount)
        throw std::invalid_argument("a bank holds 1 to 1025 input registers");
    const std::lock_guard lock(mutex_);
    synced().Bank() = bank;
}

std::uint32_t EmulatedLcx3::WriteCount(int address) const {
    const std::size_t at = Checked(address);
    const std::lock_guard lock(mutex_);
    return synced().WriteCount(static_cast<int>(at));
}

WriteCounts EmulatedLcx3::AllWriteCounts() const {
    const std::lock_guard lock(mutex_);
    return synced().AllWriteCounts();
}

void EmulatedLcx3::ResetWriteCounts() {
    const std::lock_guard lock(mutex_);
    synced().ResetWriteCounts();
}

void EmulatedLcx3::LoadBank(const std::string& path) {
    SetBank(LoadBankFile(path));  // parsed in full before anything changes
}

void EmulatedLcx3::SaveBank(const std::string& path) const {
    SaveBankFile(Bank(), path);
}

void EmulatedLcx3::SetFaults(const Faults& faults) {
    const std::lock_guard lock(mutex_);
    synced().faults = faults;
}

Faults EmulatedLcx3::CurrentFaults() const {
    const std::lock_guard lock(mutex_);
    return core_.faults;
}

void EmulatedLcx3::SetSeed(std::uint64_t seed) {
    const std::lock_guard lock(mutex_);
    synced().Dice().Reseed(seed);
}

void EmulatedLcx3::SetTurnaround(Duration turnaround) {
    const std::lock_guard lock(mutex_);
    synced().turnaround = std::max(turnaround, Duration::zero());
}

TPortFormat EmulatedLcx3::LineFormat() const {
    const std::lock_guard lock(mutex_);
    return synced().LineFormat();
}

std::uint8_t EmulatedLcx3::LineOptions() const {
    const std::lock_guard lock(mutex_);
    return synced().LineOptions();
}

DeviceStats EmulatedLcx3::Stats() const {
    const std::lock_guard lock(mutex_);
    return synced().Stats();
}

std::uint64_t EmulatedLcx3::Generation() const {
    const std::lock_guard lock(mutex_);
    return generation_;
}

bool EmulatedLcx3::Present(std::uint64_t generation) const {
    const std::lock_guard lock(mutex_);
    return presentLocked(generation);
}

int EmulatedLcx3::Read(std::uint64_t generation, std::uint8_t* buffer, int length, HidWake& wake) {
    TimePoint tick;
    {
        const std::lock_guard lock(mutex_);
        if (!presentLocked(generation))
            return HidHandle::kFailed;
        tick = NextTick(origin_, interval_, std::max(clock_.now(), lastTick_));
    }
    // Not under the lock: the control side stays free while a read waits.
    if (!clock_.waitUntil(tick, wake))
        return HidHandle::kWoken;
    const std::lock_guard lock(mutex_);
    if (!presentLocked(generation))
        return HidHandle::kFailed;
    lastTick_ = std::max(lastTick_, tick);
    const Report report = core_.NextInputReport(tick);
    const int n = std::clamp(length, 0, kReportLength);
    std::memcpy(buffer, report.data(), static_cast<std::size_t>(n));
    return n;
}

int EmulatedLcx3::Write(std::uint64_t generation, const std::uint8_t* data, int length) {
    if (length < 0)
        return -1;
    const auto report = ParseOutputReport({data, static_cast<std::size_t>(length)});
    const std::lock_guard lock(mutex_);
    if (!presentLocked(generation) || !report)
        return -1;
    core_.TakeOutputReport(clock_.now(), *report);
    return length;
}

}  // namespace vadero::emu
