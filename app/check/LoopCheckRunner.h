#pragma once
// A loop check run on the window's session, point by point, as lcx3 check
// runs it: the calibrator generates the point and reads it back (source), or
// measures the loop after the technician applied the input (measure); the
// reading comes from the dialog; at the end, whatever ended it, the output
// goes to the loop's lower value. Every transfer starts through the window,
// once the session is free, so that none ever replaces another's; the window
// passes the session's events on. No Qt: the dialog shows what it does.

#include <functional>
#include <string>

#include "calibrator/LCX.h"
#include "check/Evaluate.h"
#include "check/Record.h"

namespace vadero {

// The calibrator the session has open, as the record names it, with its
// parameters as they stand.
check::CalibratorSeen SeenOf(TCustomLCX& lcx);

class LoopCheckRunner {
  public:
    // What the run waits for.
    enum class Phase { Idle, Transfer, Dwell, Reading, Lowering, Done };
    // Why it ended.
    enum class End { Complete, Stopped, NoAnswer, Disconnected, Mismatch, Replaced };
    enum class Transfer { None, WriteOutput, ReadOutput, Measure };

    // `start` runs a transfer's start now, or once the trend's measurement
    // on the line is answered.
    using StartFn = std::function<void(std::function<void()>)>;
    LoopCheckRunner(TCustomLCX& lcx, StartFn start);

    // Runs the record's plan (its settings, plan, calibrator and tool filled);
    // nothing while a run goes on.
    void Begin(check::Record record);
    // The reading asked for: what the instrument shows (source), or the
    // input applied to it (measure), in its unit.
    void Reading(double value);
    // Ends the run once the transfer on the line is answered; the points
    // taken stay, the record says incomplete.
    void Stop();

    // The session's events, as the window passes them on. Those with a
    // result are true when the answer was the run's own.
    void Tick();
    void BlockWritten();
    bool OutputRead();
    bool Measured();
    bool TimedOut();
    void Disconnected();

    // Begun, and not yet ended (the output's return included).
    bool Running() const { return phase_ != Phase::Idle && phase_ != Phase::Done; }
    Phase CurrentPhase() const { return phase_; }
    Transfer OnTheLine() const { return transfer_; }
    const check::Record& Record() const { return record_; }
    // The point being taken; nullptr when none is.
    const check::PlannedPoint* Current() const;
    // Source: what the calibrator generates at the current point, once read back.
    double Generated() const { return value_; }
    // Measure: measurements of the current point taken so far.
    int SamplesTaken() const { return samples_.Count(); }
    int DwellTicksLeft() const { return dwellTicks_; }
    End Ending() const { return end_; }
    // The output went back to the loop's lower value (source).
    bool Lowered() const { return lowered_; }
    // Mismatch: what the calibrator holds, and what it was sent, raw.
    int HeldRaw() const { return heldRaw_; }
    int CommandedRaw() const { return commandedRaw_; }

    // After each change of what the run shows: a point asked, taken, the end.
    std::function<void()> OnChanged;

  private:
    void BeginPoint();
    void Send(Transfer transfer);
    void Launch();
    void Settled();
    void Dwell(Phase then);
    void AfterDwell();
    void Measure();
    void Take(check::PointResult result);
    void Fail(End end);
    void Finish();
    void Ended();
    void Changed();
    bool Mine(Transfer transfer) const;

    TCustomLCX& lcx_;
    StartFn start_;
    check::Record record_;
    Phase phase_ = Phase::Idle;
    Phase afterDwell_ = Phase::Idle;
    Transfer transfer_ = Transfer::None;
    bool started_ = false;  // the transfer's start ran
    bool waiting_ = false;  // for the session to be free
    int sends_ = 0;         // a start that comes late belongs to a send still wanted
    bool stopping_ = false;
    bool lowered_ = false;
    End end_ = End::Complete;
    int dwellTicks_ = 0;
    int commandedRaw_ = 0;
    int heldRaw_ = 0;
    double value_ = 0;
    double applied_ = 0;
    check::Samples samples_;
};

}  // namespace vadero
