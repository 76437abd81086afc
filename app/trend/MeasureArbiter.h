#pragma once
// The trend's turns on the line. At each tick the session has free, the trend
// measures; every other transfer (complete read or write, output command,
// measurement of the page) goes first. One that starts while the trend's
// measurement is on the line waits for its answer or its time-out (less than
// a tick, normally): the session ends any transfer when an input register
// arrives, so starting it at once would lose it.

#include <functional>

#include "calibrator/LCX.h"

namespace vadero {

class MeasureArbiter {
  public:
    explicit MeasureArbiter(TCustomLCX& lcx) : lcx_(lcx) {}

    // Bound to the session's tick: measures when wanted and the session is idle.
    void Tick(bool wanted);
    // Another transfer: now, or once the trend's measurement is answered.
    void Start(std::function<void()> start);
    // The trend's measurement is on the line: its answer or time-out is the trend's.
    bool Owned() const { return owned_; }
    // After the trend took its answer or time-out: the waiting transfer starts.
    void Release();

  private:
    TCustomLCX& lcx_;
    bool owned_ = false;
    std::function<void()> waiting_;
};

}  // namespace vadero
