#include "gateway/GatewayQueue.h"

namespace vadero::gateway {

std::optional<Bytes> GatewayQueue::Ask(std::uint8_t unit, Forward forward) {
    auto call = std::make_shared<Call>();
    call->unit = unit;
    call->forward = std::move(forward);
    std::unique_lock lock(mutex_);
    if (refusing_ || closed_)
        return std::nullopt;
    // Posted under the lock: the loop takes the calls in the order they came.
    loop_.post([this, call] { take_(call); });
    answered_.wait(lock, [&] { return call->answered || closed_; });
    if (!call->answered)
        return std::nullopt;
    return std::move(call->reply);
}

void GatewayQueue::Answer(Call& call, Bytes reply) {
    {
        const std::lock_guard lock(mutex_);
        call.reply = std::move(reply);
        call.answered = true;
    }
    answered_.notify_all();
}

void GatewayQueue::Refuse() {
    const std::lock_guard lock(mutex_);
    refusing_ = true;
}

void GatewayQueue::Close() {
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    answered_.notify_all();
}

}  // namespace vadero::gateway
