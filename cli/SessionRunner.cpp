#include "cli/SessionRunner.h"

namespace vadero::cli {

using namespace std::chrono_literals;

namespace {
constexpr auto kConnectWait = 2s;
constexpr auto kTransferLimit = 60s;  // the session's own time-out comes far sooner
}  // namespace

SessionRunner::SessionRunner(HidLayer& hid, Pace pace, RunnerHooks hooks)
    : lcx_(LCXEnv{TransportEnv{hid, loop_}, loop_}), pace_(pace), hooks_(std::move(hooks)) {
    lcx_.OnConnect = [this](TObject*) { connected_ = true; };
    lcx_.OnDisconnect = [this](TObject*) { connected_ = false; };
    lcx_.OnTimeOut = [this](TObject*) { timedOut_ = true; };
    lcx_.OnReadAllCompleted = [this](TObject*) { finish(); };
    lcx_.OnWriteAllCompleted = [this](TObject*) { finish(); };
    lcx_.OnReadMeasure = [this](TObject*) {
        finish();
        kick();
    };
    lcx_.OnReadOutput = [this](TObject*) { kick(); };
    lcx_.OnWordBlockWriting = [this](TObject*) {
        if (!writingOutput_)
            ++blocksWritten_;
        if (writingOutput_ && lcx_.Step() == StepIdle)
            finish();
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
    if (hooks_.trace) {
        lcx_.TxDebugStream = [this](TObject*, const std::string& text) { hooks_.trace(text); };
        lcx_.RxDebugStream = [this](TObject*, const std::string& text) { hooks_.trace(text); };
    }
}

SessionRunner::~SessionRunner() {
    lcx_.CloseDevice();
}

bool SessionRunner::Open(int number) {
    if (!lcx_.OpenDevice(number))
        return false;
    TMiniModbusMaster& device = lcx_.Master();
    opened_.number = number;
    opened_.path = device.Reader() ? device.Reader()->DevicePath : "";
    for (int k = 0; k < device.DeviceList().Count(); ++k)
        if (device.DeviceList().Get(k) == opened_.path)
            opened_.serial = device.GetSerialNumber(k + 1);
    loop_.RunUntil([this] { return connected_; }, kConnectWait);
    return true;
}

void SessionRunner::kick() {
    if (pace_ != Pace::Fast || kickPending_)
        return;
    // Posted: the answer that moved the step is still being parsed. One at a
    // time: two sends in a row would run together on the line as one request.
    kickPending_ = true;
    // The tick starts again now: one already due would otherwise send the
    // same step before the posted send does (after a start slower than a tick).
    lcx_.PollTimer().Start(TCustomLCX::kTick, [this] { lcx_.Tick(); });
    loop_.post([this] {
        kickPending_ = false;
        if (lcx_.Step() == StepIdle)
            return;
        lcx_.PollTimer().Start(TCustomLCX::kTick, [this] { lcx_.Tick(); });
        lcx_.Tick();
    });
}

bool SessionRunner::run(const std::function<void()>& start) {
    finished_ = false;
    timedOut_ = false;
    start();
    kick();
    loop_.RunUntil([this] { return finished_ || timedOut_; }, kTransferLimit);
    writingOutput_ = false;
    if (!finished_)
        lcx_.StopSequence();
    return finished_;
}

bool SessionRunner::ReadAll() {
    return run([this] { lcx_.ReadAll(); });
}

bool SessionRunner::WriteAll() {
    blocksWritten_ = 0;
    return run([this] { lcx_.WriteAll(); });
}

bool SessionRunner::ReadMeasure() {
    return run([this] { lcx_.ReadMeasure(); });
}

bool SessionRunner::SetOutput(TValueUnit unit, float value) {
    writingOutput_ = true;
    return run([this, unit, value] { lcx_.SetOutput(unit, value); });
}

}  // namespace vadero::cli
