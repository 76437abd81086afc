#include "gateway/GatewayLine.h"

#include <algorithm>

#include "calibrator/LCX.h"
#include "transport/Identity.h"

namespace vadero::gateway {

GatewayLine::GatewayLine(HidLayer& hid, EventLoop& loop, const Note& note)
    : loop_(loop), master_(TransportEnv{hid, loop}), timer_(loop.CreateTimer()) {
    // The calibrator's own device component, as the session sets it up.
    master_.SetProductIdent(std::string(lcx3::kProduct));
    master_.Node = lcx3::kSlave;
    master_.SetTick(TCustomLCX::kTick);
    master_.OnAnswerFrame = [this](TObject*) { received(); };
    master_.OnLineFree = [this](TObject*) { postNext(); };
    if (note)
        master_.NoteDebugStream = [note](TObject*, const std::string& text) { note(text); };
    master_.OnConnect = [this](TObject*) {
        const bool back = everConnected_ && !connected_;
        connected_ = everConnected_ = true;
        if (back && OnConnection)
            OnConnection(true);
    };
    master_.OnDisconnect = [this](TObject*) {
        const bool lost = connected_;
        connected_ = false;
        if (lost && OnConnection)
            OnConnection(false);
    };
}

bool GatewayLine::Open(int number) {
    // OpenDevice keeps its last result when nothing matches: count first.
    if (master_.GetDeviceCount() < number || !master_.OpenDevice(number))
        return false;
    opened_ = true;
    path_ = master_.Reader() ? master_.Reader()->DevicePath : "";
    serial_.clear();
    for (int k = 0; k < master_.DeviceList().Count(); ++k)
        if (master_.DeviceList().Get(k) == path_)
            serial_ = master_.GetSerialNumber(k + 1);
    return true;
}

void GatewayLine::Enqueue(Job job) {
    waiting_.push_back(std::move(job));
    next();
}

void GatewayLine::next() {
    while (!current_ && !waiting_.empty()) {
        if (!Gone() && !master_.LineFree()) {
            // Woken by the last late answer (OnLineFree), or when the window ends.
            timer_->Start(std::max(master_.LineFreeIn(), std::chrono::milliseconds(1)), [this] {
                timer_->Stop();
                next();
            });
            return;
        }
        current_.emplace(std::move(waiting_.front()));
        waiting_.pop_front();
        sends_ = 0;
        master_.NewRequest();
        if (Gone())
            finish(ExceptionPdu(current_->forward.function, kPathUnavailable));
        else
            send();
    }
}

void GatewayLine::send() {
    ++sends_;
    timer_->Start(TCustomLCX::kTick, [this] { expired(); });
    master_.SendFrame(current_->forward.frame);
}

void GatewayLine::expired() {
    if (!current_)
        return;
    if (Gone())
        finish(ExceptionPdu(current_->forward.function, kPathUnavailable));
    else if (sends_ < kSends)
        send();
    else
        finish(ExceptionPdu(current_->forward.function, kTargetFailed));
}

void GatewayLine::received() {
    if (!current_)
        return;
    const std::string& frame = master_.RxData();
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size());
    if (auto reply = ReplyOf(current_->forward, bytes, master_.Node)) {
        master_.RequestAnswered();
        finish(std::move(*reply));
    }
}

void GatewayLine::finish(Bytes reply) {
    timer_->Stop();
    Job job = std::move(*current_);
    current_.reset();
    job.done(std::move(reply));
    postNext();
}

// The next request after the frame handler has returned.
void GatewayLine::postNext() {
    if (waiting_.empty() || nextPosted_)
        return;
    nextPosted_ = true;
    loop_.post([this] {
        nextPosted_ = false;
        next();
    });
}

}  // namespace vadero::gateway
