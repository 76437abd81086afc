#pragma once
// Ctrl-C (SIGINT) and SIGTERM end the demo's event loop as quitting does,
// without the window's questions, so that what follows the loop (the
// emulator's state saved) still runs. The signals are blocked from the
// construction on, before any thread starts (threads inherit the mask), and
// taken on the GUI thread through a signalfd once Watch is called.

#include <signal.h>

#include <memory>

#include "transport/UniqueFd.h"

class QSocketNotifier;

namespace vadero {

class QuitOnSignals {
  public:
    QuitOnSignals();
    ~QuitOnSignals();
    QuitOnSignals(const QuitOnSignals&) = delete;
    QuitOnSignals& operator=(const QuitOnSignals&) = delete;

    // Once the application object exists: a signal then ends its loop with `code`.
    void Watch(int code);

  private:
    sigset_t previous_{};
    UniqueFd fd_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace vadero
