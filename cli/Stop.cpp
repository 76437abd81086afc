#include "cli/Stop.h"

namespace vadero::cli {

namespace {

// SIGUSR1 ends the waiting thread itself.
sigset_t Taken() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGUSR1);
    return set;
}

}  // namespace

StopSignals::StopSignals(EventLoop& loop, Stop& stop) {
    const sigset_t set = Taken();
    pthread_sigmask(SIG_BLOCK, &set, &previous_);
    thread_ = std::thread([set, &loop, &stop] {
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) != 0 || signal == SIGUSR1)
                return;
            loop.post([&stop] { stop.Request(); });
        }
    });
}

StopSignals::~StopSignals() {
    pthread_kill(thread_.native_handle(), SIGUSR1);
    thread_.join();
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace vadero::cli
