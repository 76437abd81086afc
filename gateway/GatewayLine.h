#pragma once
// One calibrator's serial line as the gateway uses it: its device component,
// and requests sent one at a time in the order they were queued, each re-sent
// at every unanswered tick and given up after its third send (exception
// 0x0B); while the calibrator is unplugged, each is answered 0x0A at once. A
// request that follows a re-sent one waits until the master finds the line
// free (the late answers to the re-sends in, or past). Loop thread only.

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "calibrator/EventLoop.h"
#include "gateway/GatewayFrames.h"
#include "modbus/MiniModbus.h"

namespace vadero::gateway {

class GatewayLine {
  public:
    struct Job {
        Forward forward;
        std::function<void(Bytes reply)> done;
    };
    using Note = std::function<void(const std::string& text)>;

    // The master's notes (late answers dropped) go to `note` when it is bound.
    GatewayLine(HidLayer& hid, EventLoop& loop, const Note& note);
    GatewayLine(const GatewayLine&) = delete;
    GatewayLine& operator=(const GatewayLine&) = delete;

    // Points the line at calibrator `number` of the matching ones (1-based);
    // false when there is none or it cannot be opened.
    bool Open(int number);
    bool Opened() const { return opened_; }
    // Unplugged after it was connected, and not back.
    bool Gone() const { return everConnected_ && !connected_; }
    const std::string& Path() const { return path_; }
    const std::string& Serial() const { return serial_; }
    // Raised on the loop when the calibrator goes away or comes back.
    std::function<void(bool connected)> OnConnection;

    void Enqueue(Job job);
    bool Idle() const { return !current_ && waiting_.empty(); }

    static constexpr int kSends = modbus::AnswerLedger::kSends;

  private:
    void next();
    void send();
    void expired();
    void received();
    void finish(Bytes reply);
    void postNext();

    EventLoop& loop_;
    TMiniModbusMaster master_;
    std::unique_ptr<Timer> timer_;
    std::deque<Job> waiting_;
    std::optional<Job> current_;
    std::string path_;
    std::string serial_;
    int sends_ = 0;
    bool opened_ = false;
    bool connected_ = false;
    bool everConnected_ = false;
    bool nextPosted_ = false;
};

}  // namespace vadero::gateway
