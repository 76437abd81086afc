#pragma once
// The session's surroundings in a Qt program: work posted by the reader
// thread runs on the GUI thread in posting order, and the 750 ms tick is a
// QTimer.

#include <QObject>
#include <QTimer>

#include "calibrator/Timer.h"
#include "transport/Dispatcher.h"

namespace vadero {

// Must live on the GUI thread and outlive every reader that posts to it.
class QtDispatcher : public Dispatcher {
  public:
    void post(std::function<void()> work) override;

  private:
    QObject context_;  // queued calls die with it
};

class QtTimer : public Timer {
  public:
    void Start(std::chrono::milliseconds interval, std::function<void()> tick) override;
    void Stop() override { timer_.stop(); }

  private:
    QTimer timer_;
    std::function<void()> tick_;
};

class QtTimerFactory : public TimerFactory {
  public:
    std::unique_ptr<Timer> CreateTimer() override { return std::make_unique<QtTimer>(); }
};

}  // namespace vadero
