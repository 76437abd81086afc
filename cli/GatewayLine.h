#pragma once
// One calibrator's serial line as the gateway uses it: requests sent one at
// a time in the order they were queued, each re-sent at every unanswered
// tick and given up after the session's third send (exception 0x0B); while
// the calibrator is unplugged, each is answered 0x0A at once. Loop thread only.

#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "cli/GatewayFrames.h"
#include "cli/SessionRunner.h"

namespace vadero::cli {

class GatewayLine {
  public:
    struct Job {
        Forward forward;
        std::function<void(Bytes reply)> done;
    };

    // The runner has opened its calibrator and lives longer than the line.
    GatewayLine(SessionRunner& runner, EventLoop& loop);
    GatewayLine(const GatewayLine&) = delete;
    GatewayLine& operator=(const GatewayLine&) = delete;

    void Enqueue(Job job);
    bool Idle() const { return !current_ && waiting_.empty(); }

    static constexpr int kSends = 3;

  private:
    void next();
    void send();
    void expired();
    void received(const std::string& frame);
    void finish(Bytes reply);

    SessionRunner& runner_;
    EventLoop& loop_;
    std::unique_ptr<Timer> timer_;
    std::deque<Job> waiting_;
    std::optional<Job> current_;
    int sends_ = 0;
    bool nextPosted_ = false;
};

}  // namespace vadero::cli
