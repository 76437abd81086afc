#include "tests/soak/Soak.h"

#include <algorithm>

namespace vadero::soak {

using namespace std::chrono_literals;
using std::chrono::milliseconds;

namespace {

constexpr int kMaxTicks = 16;  // read-all, three steps of three sends each, with room to spare
constexpr double kCleanShare = 0.3;
constexpr double kLateChance = 0.18;
constexpr double kCutChance = 0.22;

milliseconds Below(emu::FaultDice& dice, milliseconds bound) {
    return milliseconds(
        static_cast<long long>(dice.Below(static_cast<std::uint64_t>(bound.count()))));
}

// The quiet spell after a transfer: the last send's answer, however late,
// has arrived, and the reader has found a calibrator plugged in again.
milliseconds Settle(const Plan& plan) {
    return std::chrono::duration_cast<milliseconds>(plan.faults.extraDelay) + 400ms;
}

}  // namespace

Plan DrawPlan(emu::FaultDice& dice, milliseconds tick) {
    Plan plan;
    if (dice.Next() < kCleanShare)
        return plan;
    const auto share = [&dice](double chance, double top) {
        return dice.Next() < chance ? 0.1 + dice.Next() * (top - 0.1) : 0.0;
    };
    plan.faults.corruptShare = share(0.45, 0.6);
    plan.faults.dropShare = share(0.45, 0.6);
    plan.faults.duplicateShare = share(0.45, 0.8);
    // Half just after the re-send, so that an answer crosses the next step's
    // request; the others up to well after the third send's time-out.
    if (dice.Next() < kLateChance)
        plan.faults.extraDelay = dice.Next() < 0.5 ? tick + 10ms + Below(dice, 100ms)
                                                   : tick + 50ms + Below(dice, tick * 5 / 2);
    if (dice.Next() < kCutChance) {
        plan.cut = dice.Next() < 0.5 ? Plan::Cut::Unplug : Plan::Cut::Power;
        plan.cutAt = Below(dice, tick * 3);
        plan.cutFor = 10ms + Below(dice, tick * 2);
    }
    return plan;
}

Soak::Soak(Clockwork& clock, std::uint64_t seed)
    : clock_(clock),
      calibrator_(clock.Hid().AddDevice()),
      lcx_(LCXEnv{clock.Env(), clock.Timers()}),
      dice_(seed) {
    calibrator_.SetSeed(seed * 0x9E3779B97F4A7C15ULL + 1);
    installHandlers();
}

void Soak::installHandlers() {
    lcx_.OnConnect = [this](TObject*) { connected_ = true; };
    lcx_.OnDisconnect = [this](TObject*) { connected_ = false; };
    lcx_.OnReadAllCompleted = [this](TObject*) { completed(Kind::ReadAll); };
    lcx_.OnWriteAllCompleted = [this](TObject*) { completed(Kind::WriteAll); };
    lcx_.OnReadMeasure = [this](TObject*) { completed(Kind::Measure); };
    // The output step has no event of its own: its block answer ends it.
    lcx_.OnWordBlockWriting = [this](TObject*) {
        if (record_.kind == Kind::Output)
            completed(Kind::Output);
    };
    // Register 0 in idle: the first block's answer after a read-all timed out.
    lcx_.OnReadOutput = [this](TObject*) {
        if (record_.kind == Kind::ReadAll && record_.ended)
            ++tally_.lateEvents;
        else
            stray("read-output raised");
    };
    lcx_.OnTimeOut = [this](TObject*) {
        if (record_.ended)
            stray("a second time-out");
        ++record_.timeOuts;
        record_.ended = true;
        record_.idleAtEnd = lcx_.Step() == StepIdle;
    };
}

void Soak::completed(Kind kind) {
    if (kind != record_.kind) {
        stray(std::string(KindName(kind)) + " completion raised");
        return;
    }
    if (record_.ended) {
        ++tally_.lateEvents;  // an answer that came after the time-out
        return;
    }
    ++record_.completions;
    record_.ended = true;
    record_.idleAtEnd = lcx_.Step() == StepIdle;
    record_.imageAtCompletion = image();
    record_.deviceAtCompletion = device();
    record_.writesAtCompletion = writes();
    record_.measureAtCompletion = lcx_.MeasureRaw();
}

void Soak::stray(const std::string& what) {
    tally_.Violation(number_, record_.kind, what + " during the transfer");
}

bool Soak::Open() {
    if (lcx_.DeviceCount() != 1 || !lcx_.OpenDevice(1))
        return false;
    for (int i = 0; i < 20 && !connected_; ++i) clock_.RunFor(lcx_.Master().Reader(), 50ms);
    return connected_;
}

Kind Soak::drawKind() {
    const double x = dice_.Next();
    if (x < 0.3)
        return Kind::ReadAll;
    if (x < 0.55)
        return Kind::WriteAll;
    if (x < 0.75)
        return Kind::Output;
    return Kind::Measure;
}

// Any word, but a range code (register 1) and a loop power (register 2) the
// calibrator knows, so that input register 0 follows the range.
std::uint16_t Soak::drawWord(int k) {
    if (k == 1)
        return static_cast<std::uint16_t>(dice_.Below(6));
    if (k == 2)
        return static_cast<std::uint16_t>(dice_.Below(4));
    return static_cast<std::uint16_t>(dice_.Below(0x10000));
}

void Soak::varyCalibrator() {
    for (int k = 0; k < kRegisters; ++k)
        if (dice_.Next() < 0.5)
            calibrator_.SetHolding(k, drawWord(k));
    calibrator_.SetMeasuredInput(static_cast<std::int16_t>(dice_.Below(0x10000)));
}

void Soak::varyImage() {
    for (int k = 0; k < kRegisters; ++k)
        if (dice_.Next() < 0.5)
            lcx_.Params().SetWord(k, drawWord(k));
}

void Soak::start(Kind kind) {
    switch (kind) {
        case Kind::ReadAll:
            lcx_.ReadAll();
            break;
        case Kind::WriteAll:
            lcx_.WriteAll();
            break;
        case Kind::Output: {
            const auto unit = static_cast<TValueUnit>(dice_.Below(3));
            lcx_.SetOutput(unit, static_cast<float>(-10.0 + 140.0 * dice_.Next()));
            break;
        }
        case Kind::Measure:
            lcx_.ReadMeasure();
            break;
    }
}

void Soak::cut(const Plan& plan, bool on) {
    if (plan.cut == Plan::Cut::Unplug) {
        if (on)
            calibrator_.Unplug();
        else
            calibrator_.Plug();
    } else if (plan.cut == Plan::Cut::Power) {
        if (on)
            calibrator_.PowerOff();
        else
            calibrator_.PowerOn();
    }
}

bool Soak::runTicks(const Plan& plan) {
    const auto begin = clock_.Now();
    bool cutDone = false;
    bool restored = plan.cut == Plan::Cut::None;
    const auto due = [&] {
        const auto elapsed = clock_.Now() - begin;
        if (!cutDone && !restored && elapsed >= plan.cutAt) {
            cut(plan, true);
            cutDone = true;
        }
        if (cutDone && !restored && elapsed >= plan.cutAt + plan.cutFor) {
            cut(plan, false);
            restored = true;
        }
    };
    for (int t = 0; t < kMaxTicks && !record_.ended; ++t) {
        due();
        clock_.Fire();
        const auto periodEnd = clock_.Now() + clock_.TickPeriod();
        while (!record_.ended && clock_.Now() < periodEnd) {
            auto next = periodEnd;
            if (!restored)
                next = std::min(next, begin + (cutDone ? plan.cutAt + plan.cutFor : plan.cutAt));
            const auto step =
                std::max(1ms, std::chrono::duration_cast<milliseconds>(next - clock_.Now()));
            clock_.RunFor(lcx_.Master().Reader(), step);
            due();
        }
    }
    if (cutDone && !restored)
        cut(plan, false);
    return cutDone;
}

void Soak::RunTransfer(std::uint64_t number) {
    number_ = number;
    const Kind kind = drawKind();
    varyCalibrator();
    if (kind == Kind::WriteAll || kind == Kind::Output)
        varyImage();
    const Plan plan = DrawPlan(dice_, clock_.TickPeriod());

    const emu::DeviceStats statsBefore = calibrator_.Stats();
    const Words deviceBefore = device();
    const Counts writesBefore = writes();
    const std::uint16_t deviceInput = calibrator_.Input(0);
    const std::uint16_t inputImageBefore = lcx_.Master().InputRegisters[0];

    record_ = Record{};
    record_.kind = kind;
    calibrator_.SetFaults(plan.faults);
    start(kind);
    // After the start: write-all sets the loop power, set-output register 0.
    const Words imageBefore = image();
    const bool cutDone = runTicks(plan);
    calibrator_.SetFaults({});
    clock_.RunFor(lcx_.Master().Reader(), Settle(plan));
    if (lcx_.Step() != StepIdle) {
        ++tally_.revived;
        lcx_.StopSequence();
    }

    const auto i = static_cast<std::size_t>(kind);
    ++tally_.transfers[i];
    tally_.completions[i] += record_.completions > 0;
    tally_.timeOuts[i] += record_.completions == 0 && record_.timeOuts > 0;
    const emu::DeviceStats stats = calibrator_.Stats();
    tally_.faults.corrupted += stats.corrupted - statsBefore.corrupted;
    tally_.faults.dropped += stats.dropped - statsBefore.dropped;
    tally_.faults.duplicated += stats.duplicated - statsBefore.duplicated;
    if (plan.faults.extraDelay > emu::Duration::zero())
        tally_.faults.late += stats.answers - statsBefore.answers;
    if (cutDone) {
        if (plan.cut == Plan::Cut::Unplug)
            ++tally_.faults.unplugs;
        else
            ++tally_.faults.powerCuts;
    }

    const bool done = record_.completions > 0;
    const Words imageAfter = image();
    const Words deviceAfter = device();
    const Counts writesAfter = writes();
    report(CheckEnding({record_.completions, record_.timeOuts, record_.idleAtEnd}));
    report(CheckImageChanges(kind, imageBefore, imageAfter, deviceBefore));
    report(CheckImageTail(lcx_.Master().HoldingRegisters.data(),
                          lcx_.Master().InputRegisters.data(),
                          static_cast<int>(lcx_.Master().HoldingRegisters.size())));
    report(CheckCalibrator(kind, imageBefore, deviceBefore, deviceAfter, writesBefore, writesAfter,
                           done));
    if (done && (kind == Kind::WriteAll || kind == Kind::Output))
        report(CheckCalibrator(kind, imageBefore, deviceBefore, record_.deviceAtCompletion,
                               writesBefore, record_.writesAtCompletion, true));
    if (done && kind == Kind::ReadAll)
        report(CheckReadAllImage(record_.imageAtCompletion, deviceBefore));
    if (kind == Kind::Measure)
        report(CheckMeasure(done, record_.measureAtCompletion, deviceInput, inputImageBefore,
                            lcx_.Master().InputRegisters[0]));
    else if (lcx_.Master().InputRegisters[0] != inputImageBefore)
        tally_.Violation(number_, kind, "the input image changed outside a measure");
}

Words Soak::image() const {
    Words w{};
    for (int k = 0; k < kRegisters; ++k) w[static_cast<std::size_t>(k)] = lcx_.Params().Word(k);
    return w;
}

Words Soak::device() const {
    const auto bank = calibrator_.Bank();
    Words w{};
    std::copy_n(bank.holding.begin(), kRegisters, w.begin());
    return w;
}

Counts Soak::writes() const {
    Counts c{};
    for (int k = 0; k < kRegisters; ++k) c[static_cast<std::size_t>(k)] = calibrator_.WriteCount(k);
    return c;
}

void Soak::report(const Findings& findings) {
    for (const auto& f : findings) tally_.Violation(number_, record_.kind, f);
}

}  // namespace vadero::soak
