#pragma once
// Requests handed from the clients' threads to the loop that owns the
// calibrators, in the order they arrive, each client waiting for its reply.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "gateway/GatewayFrames.h"
#include "transport/Dispatcher.h"

namespace vadero::gateway {

class GatewayQueue {
  public:
    struct Call {
        std::uint8_t unit = 0;  // routed on the loop: calibrators come and go there
        Forward forward;
        Bytes reply;
        bool answered = false;  // under the queue's lock
    };
    // Runs on the loop for every call, in arrival order.
    using Take = std::function<void(std::shared_ptr<Call>)>;

    GatewayQueue(Dispatcher& loop, Take take) : loop_(loop), take_(std::move(take)) {}
    GatewayQueue(const GatewayQueue&) = delete;
    GatewayQueue& operator=(const GatewayQueue&) = delete;

    // A client's thread: the reply, or nothing once the gateway stops.
    std::optional<Bytes> Ask(std::uint8_t unit, Forward forward);
    // The loop: the reply to a call it took.
    void Answer(Call& call, Bytes reply);
    // Asks from now on get nothing; those taken still get their reply.
    void Refuse();
    // Every ask, waiting or to come, gets nothing.
    void Close();

  private:
    Dispatcher& loop_;
    const Take take_;
    std::mutex mutex_;
    std::condition_variable answered_;
    bool refusing_ = false;
    bool closed_ = false;
};

}  // namespace vadero::gateway
