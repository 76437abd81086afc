#include "cli/SessionRunner.h"

namespace vadero::cli {

using namespace std::chrono_literals;

namespace {
constexpr auto kConnectWait = 2s;
constexpr auto kTransferLimit = 60s;  // the session's own time-out comes far sooner
}  // namespace

void Waiter::arm(std::coroutine_handle<> h, std::chrono::milliseconds limit) {
    waiting_ = h;
    notified_ = false;
    limit_->Start(limit, [this] { wake(false); });
}

void Waiter::wake(bool notified) {
    if (!waiting_)
        return;
    limit_->Stop();
    notified_ = notified;
    // Posted: the caller is an event handler that has not returned yet.
    loop_.post([h = std::exchange(waiting_, {})] { h.resume(); });
}

SessionRunner::SessionRunner(HidLayer& hid, Pace pace, RunnerHooks hooks)
    : SessionRunner(hid, std::make_unique<EventLoop>(), nullptr, pace, std::move(hooks)) {}

SessionRunner::SessionRunner(HidLayer& hid, EventLoop& loop, Pace pace, RunnerHooks hooks)
    : SessionRunner(hid, nullptr, &loop, pace, std::move(hooks)) {}

SessionRunner::SessionRunner(HidLayer& hid, std::unique_ptr<EventLoop> own, EventLoop* shared,
                             Pace pace, RunnerHooks hooks)
    : ownLoop_(std::move(own)),
      loop_(shared ? *shared : *ownLoop_),
      lcx_(LCXEnv{TransportEnv{hid, loop_}, loop_}),
      pace_(pace),
      hooks_(std::move(hooks)),
      waiter_(loop_) {
    lcx_.OnConnect = [this](TObject*) {
        connected_ = everConnected_ = true;
        if (!transferring_)
            waiter_.Notify();  // Open waits for it
    };
    lcx_.OnDisconnect = [this](TObject*) { connected_ = false; };
    lcx_.OnTimeOut = [this](TObject*) { settle(false); };
    lcx_.OnReadAllCompleted = [this](TObject*) { settle(true); };
    lcx_.OnWriteAllCompleted = [this](TObject*) { settle(true); };
    lcx_.OnReadMeasure = [this](TObject*) {
        settle(true);
        kick();
    };
    lcx_.OnReadOutput = [this](TObject*) {
        if (readingOutput_)
            settle(true);
        kick();
    };
    lcx_.OnWordBlockWriting = [this](TObject*) {
        if (!writingOutput_)
            ++blocksWritten_;
        if (writingOutput_ && lcx_.Step() == StepIdle)
            settle(true);
        kick();
    };
    lcx_.OnLoadProgressEvent = [this](int percent) {
        if (hooks_.progress)
            hooks_.progress(percent);
        kick();
    };
    lcx_.OnSaveProgressEvent = [this](int percent) {
        if (hooks_.progress)
            hooks_.progress(std::min(percent, 100));
    };
    // The line came free early (the last late answer is in): the step waiting for it goes now.
    lcx_.Master().OnLineFree = [this](TObject*) { kick(); };
    if (hooks_.trace) {
        lcx_.TxDebugStream = [this](TObject*, const std::string& text) { hooks_.trace(text); };
        lcx_.RxDebugStream = [this](TObject*, const std::string& text) { hooks_.trace(text); };
        lcx_.NoteDebugStream = [this](TObject*, const std::string& text) { hooks_.trace(text); };
    }
}

SessionRunner::~SessionRunner() {
    lcx_.CloseDevice();
}

Task<bool> SessionRunner::Open(int number) {
    if (!lcx_.OpenDevice(number))
        co_return false;
    TMiniModbusMaster& device = lcx_.Master();
    opened_.number = number;
    opened_.path = device.Reader() ? device.Reader()->DevicePath : "";
    for (int k = 0; k < device.DeviceList().Count(); ++k)
        if (device.DeviceList().Get(k) == opened_.path)
            opened_.serial = device.GetSerialNumber(k + 1);
    if (!connected_)
        co_await waiter_.Until(kConnectWait);
    co_return true;
}

void SessionRunner::kick() {
    if (pace_ != Pace::Fast || kickPending_)
        return;
    // Posted: the answer that moved the step is still being parsed. One at a
    // time: two sends in a row would run together on the line as one request.
    kickPending_ = true;
    // The tick starts again now: one already due would otherwise send the
    // same step before the posted send does (after a start slower than a tick).
    lcx_.RestartTick();
    loop_.post([this] {
        kickPending_ = false;
        if (lcx_.Step() == StepIdle)
            return;
        lcx_.StepNow();
    });
}

void SessionRunner::settle(bool completed) {
    if (!transferring_)
        return;
    transferring_ = false;
    completed_ = completed;
    waiter_.Notify();
}

Task<bool> SessionRunner::run(std::function<void()> start) {
    completed_ = false;
    transferring_ = true;
    start();
    kick();
    const bool settled = co_await waiter_.Until(kTransferLimit);
    if (!settled)
        transferring_ = false;
    writingOutput_ = false;
    readingOutput_ = false;
    if (!completed_)
        lcx_.StopSequence();
    co_return completed_;
}

Task<bool> SessionRunner::ReadAll() {
    return run([this] { lcx_.ReadAll(); });
}

Task<bool> SessionRunner::WriteAll() {
    blocksWritten_ = 0;
    return run([this] { lcx_.WriteAll(); });
}

Task<bool> SessionRunner::ReadMeasure() {
    return run([this] { lcx_.ReadMeasure(); });
}

Task<bool> SessionRunner::SetOutput(TValueUnit unit, float value) {
    writingOutput_ = true;
    return run([this, unit, value] { lcx_.SetOutput(unit, value); });
}

Task<bool> SessionRunner::ReadOutput() {
    readingOutput_ = true;
    return run([this] { lcx_.ReadOutput(); });
}

}  // namespace vadero::cli
