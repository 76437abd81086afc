#include "app/check/LoopCheckRunner.h"

#include <chrono>
#include <cmath>

#include "calibrator/LocalTime.h"

namespace vadero {

namespace {

int StepOf(LoopCheckRunner::Transfer transfer) {
    switch (transfer) {
        case LoopCheckRunner::Transfer::WriteOutput:
            return WriteOutputStep;
        case LoopCheckRunner::Transfer::ReadOutput:
            return ReadOutputStep;
        case LoopCheckRunner::Transfer::Measure:
            return ReadMeasureStep;
        case LoopCheckRunner::Transfer::None:
            break;
    }
    return StepIdle;
}

std::string Now() {
    return IsoLocalTime(std::chrono::system_clock::now());
}

}  // namespace

check::CalibratorSeen SeenOf(TCustomLCX& lcx) {
    check::CalibratorSeen seen;
    TMiniModbusMaster& master = lcx.Master();
    seen.path = master.Reader() ? master.Reader()->DevicePath : std::string();
    for (int k = 0; k < master.DeviceList().Count(); ++k)
        if (master.DeviceList().Get(k) == seen.path) {
            seen.number = k + 1;
            seen.serial = master.GetSerialNumber(k + 1);
        }
    seen.holding = master.HoldingRegisters;
    return seen;
}

LoopCheckRunner::LoopCheckRunner(TCustomLCX& lcx, StartFn start)
    : lcx_(lcx), start_(std::move(start)) {}

void LoopCheckRunner::Begin(check::Record record) {
    if (Running())
        return;
    record_ = std::move(record);
    record_.points.clear();
    record_.complete = false;
    record_.start = std::chrono::system_clock::now();
    stopping_ = lowered_ = false;
    end_ = End::Complete;
    transfer_ = Transfer::None;
    heldRaw_ = commandedRaw_ = 0;
    BeginPoint();
}

const check::PlannedPoint* LoopCheckRunner::Current() const {
    return phase_ == Phase::Lowering || !Running() ? nullptr : record_.Next();
}

void LoopCheckRunner::BeginPoint() {
    const check::PlannedPoint* point = record_.Next();
    if (stopping_ || point == nullptr)
        return Finish();
    value_ = 0;
    if (record_.settings.mode == check::Mode::Source) {
        Send(Transfer::WriteOutput);
    } else {
        phase_ = Phase::Reading;  // the input applied, first
    }
    Changed();
}

void LoopCheckRunner::Send(Transfer transfer) {
    transfer_ = transfer;
    started_ = false;
    waiting_ = true;
    ++sends_;
    if (phase_ != Phase::Lowering)
        phase_ = Phase::Transfer;
    // A transfer started while another is on the line would replace it.
    if (lcx_.Step() == StepIdle)
        Launch();
}

void LoopCheckRunner::Launch() {
    waiting_ = false;
    start_([this, send = sends_] {
        if (send != sends_ || transfer_ == Transfer::None)
            return;  // the run no longer wants it
        started_ = true;
        switch (transfer_) {
            case Transfer::WriteOutput:
                if (phase_ == Phase::Lowering) {
                    lcx_.SetOutput(TValueUnit::uPhysical, float(record_.plan.loop.lower));
                } else {
                    lcx_.SetOutput(TValueUnit::uPhysical, float(record_.Next()->loopValue));
                    commandedRaw_ = lcx_.Params().OutputValue();
                }
                break;
            case Transfer::ReadOutput:
                lcx_.ReadOutput();
                break;
            case Transfer::Measure:
                lcx_.ReadMeasure();
                break;
            case Transfer::None:
                break;
        }
    });
}

bool LoopCheckRunner::Mine(Transfer transfer) const {
    return transfer_ == transfer && started_;
}

void LoopCheckRunner::Tick() {
    if (!Running())
        return;
    if (waiting_ && lcx_.Step() == StepIdle)
        return Launch();  // sent in this very tick
    if (transfer_ != Transfer::None && started_ && lcx_.Step() != StepOf(transfer_)) {
        // Another transfer took the session over: its answer is not the run's.
        transfer_ = Transfer::None;
        return Fail(End::Replaced);
    }
    if (phase_ == Phase::Dwell && --dwellTicks_ <= 0)
        AfterDwell();
}

void LoopCheckRunner::BlockWritten() {
    if (!Mine(Transfer::WriteOutput) || lcx_.Step() != StepIdle)
        return;
    transfer_ = Transfer::None;
    if (phase_ == Phase::Lowering) {
        lowered_ = true;
        return Ended();
    }
    if (stopping_)
        return Finish();
    // The calibrator's own value is what the point records.
    Send(Transfer::ReadOutput);
}

bool LoopCheckRunner::OutputRead() {
    if (!Mine(Transfer::ReadOutput))
        return false;
    transfer_ = Transfer::None;
    heldRaw_ = lcx_.Params().OutputValue();
    if (heldRaw_ != commandedRaw_) {
        Fail(End::Mismatch);
        return true;
    }
    value_ = check::CalibratorValue(lcx_.GetOutput(TValueUnit::uPhysical));
    if (stopping_)
        Finish();
    else
        Dwell(Phase::Reading);
    return true;
}

bool LoopCheckRunner::Measured() {
    if (!Mine(Transfer::Measure))
        return false;
    transfer_ = Transfer::None;
    float value = 0;
    const int state = lcx_.GetMeasure(value);
    samples_.Add(value, lcx_.MeasureRaw(), state);
    if (stopping_) {
        Finish();
    } else if (samples_.Count() < record_.settings.samples) {
        Send(Transfer::Measure);
        Changed();
    } else {
        Take(check::Evaluate(record_.settings, record_.plan.loop, *record_.Next(), samples_.Value(),
                             samples_.Raw(), samples_.State(), applied_));
    }
    return true;
}

bool LoopCheckRunner::TimedOut() {
    if (transfer_ == Transfer::None || !started_)
        return false;
    transfer_ = Transfer::None;
    if (phase_ == Phase::Lowering)
        Ended();
    else
        Fail(End::NoAnswer);
    return true;
}

void LoopCheckRunner::Disconnected() {
    if (!Running())
        return;
    if (transfer_ != Transfer::None && started_ && lcx_.Step() == StepOf(transfer_))
        lcx_.StopSequence();  // into the void: nothing is there to answer
    transfer_ = Transfer::None;
    waiting_ = false;
    if (end_ == End::Complete || end_ == End::Stopped)
        end_ = End::Disconnected;
    Ended();
}

void LoopCheckRunner::Reading(double value) {
    if (phase_ != Phase::Reading)
        return;
    if (record_.settings.mode == check::Mode::Source) {
        Take(check::Evaluate(record_.settings, record_.plan.loop, *record_.Next(), value_,
                             commandedRaw_, 0, value));
        return;
    }
    applied_ = value;
    Dwell(Phase::Transfer);
}

void LoopCheckRunner::Stop() {
    if (!Running() || phase_ == Phase::Lowering)
        return;
    stopping_ = true;
    if (end_ == End::Complete)
        end_ = End::Stopped;
    if (transfer_ != Transfer::None && (started_ || !waiting_))
        return;  // its answer or time-out ends the run
    transfer_ = Transfer::None;
    waiting_ = false;
    Finish();
}

void LoopCheckRunner::Dwell(Phase then) {
    afterDwell_ = then;
    // Counted in the session's ticks: the first may come at once, so one more.
    const double seconds = record_.settings.dwellSeconds;
    const auto tick = std::chrono::duration<double>(TCustomLCX::kTick).count();
    dwellTicks_ = seconds > 0 ? int(std::ceil(seconds / tick - 1e-9)) + 1 : 0;
    if (dwellTicks_ <= 0)
        return AfterDwell();
    phase_ = Phase::Dwell;
    Changed();
}

void LoopCheckRunner::AfterDwell() {
    dwellTicks_ = 0;
    if (afterDwell_ == Phase::Reading) {
        phase_ = Phase::Reading;
        return Changed();
    }
    Measure();
}

void LoopCheckRunner::Measure() {
    samples_ = {};
    Send(Transfer::Measure);
    Changed();
}

void LoopCheckRunner::Take(check::PointResult result) {
    result.time = Now();
    record_.points.push_back(std::move(result));
    BeginPoint();
}

void LoopCheckRunner::Fail(End end) {
    if (end_ == End::Complete || end_ == End::Stopped)
        end_ = end;
    Finish();
}

void LoopCheckRunner::Finish() {
    record_.complete = record_.Next() == nullptr;
    // Whatever ended the run, the loop is left at its lower range value.
    if (record_.settings.mode == check::Mode::Source && phase_ != Phase::Lowering) {
        phase_ = Phase::Lowering;
        Send(Transfer::WriteOutput);
        return Changed();
    }
    Ended();
}

void LoopCheckRunner::Ended() {
    transfer_ = Transfer::None;
    waiting_ = false;
    record_.complete = record_.Next() == nullptr;
    record_.end = std::chrono::system_clock::now();
    phase_ = Phase::Done;
    Changed();
}

void LoopCheckRunner::Changed() {
    if (OnChanged)
        OnChanged();
}

}  // namespace vadero
