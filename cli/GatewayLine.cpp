#include "cli/GatewayLine.h"

namespace vadero::cli {

GatewayLine::GatewayLine(SessionRunner& runner, EventLoop& loop)
    : runner_(runner), loop_(loop), timer_(loop.CreateTimer()) {
    // Every frame is looked at here first; the master still sees it (for its
    // debug text) and drops it, as it awaits no request of its own.
    TMiniModbusMaster& master = runner_.Lcx().Master();
    master.OnRXFrame = [this, &master, inner = master.OnRXFrame](TObject* sender) {
        received(master.RxData());
        if (inner)
            inner(sender);
    };
}

void GatewayLine::Enqueue(Job job) {
    waiting_.push_back(std::move(job));
    next();
}

void GatewayLine::next() {
    while (!current_ && !waiting_.empty()) {
        current_.emplace(std::move(waiting_.front()));
        waiting_.pop_front();
        sends_ = 0;
        if (runner_.Gone())
            finish(ExceptionPdu(current_->forward.function, kPathUnavailable));
        else
            send();
    }
}

void GatewayLine::send() {
    ++sends_;
    timer_->Start(TCustomLCX::kTick, [this] { expired(); });
    runner_.Lcx().Master().SendFrame(current_->forward.frame);
}

void GatewayLine::expired() {
    if (!current_)
        return;
    if (runner_.Gone())
        finish(ExceptionPdu(current_->forward.function, kPathUnavailable));
    else if (sends_ < kSends)
        send();
    else
        finish(ExceptionPdu(current_->forward.function, kTargetFailed));
}

void GatewayLine::received(const std::string& frame) {
    if (!current_)
        return;
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size());
    if (auto reply = ReplyOf(current_->forward, bytes, runner_.Lcx().Master().Node))
        finish(std::move(*reply));
}

void GatewayLine::finish(Bytes reply) {
    timer_->Stop();
    Job job = std::move(*current_);
    current_.reset();
    job.done(std::move(reply));
    // The next request after the frame handler has returned.
    if (!waiting_.empty() && !nextPosted_) {
        nextPosted_ = true;
        loop_.post([this] {
            nextPosted_ = false;
            next();
        });
    }
}

}  // namespace vadero::cli
