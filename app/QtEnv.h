#pragma once
// The session's surroundings in a Qt program: work posted by the reader
// thread runs on the GUI thread in posting order, and the 750 ms tick is a
// QTimer.

#include <QObject>
#include <QTimer>
#include <deque>
#include <mutex>

#include "calibrator/Timer.h"
#include "transport/Dispatcher.h"

namespace vadero {

// Must live on the GUI thread and outlive every reader that posts to it.
// The work itself travels through a queue of ours, one Qt event per item:
// Qt's own locking is invisible to ThreadSanitizer, and every posted function
// is run and destroyed on the GUI thread, never freed by the poster.
class QtDispatcher : public Dispatcher {
  public:
    QtDispatcher();
    void post(std::function<void()> work) override;

  private:
    class Receiver : public QObject {
      public:
        explicit Receiver(QtDispatcher& owner) : owner_(owner) {}
        bool event(QEvent* e) override;

      private:
        QtDispatcher& owner_;
    };
    bool runNext(const QEvent& e);  // false: not ours

    std::mutex mutex_;
    std::deque<std::function<void()>> queue_;
    Receiver receiver_;  // pending events die with it, before the queue
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
