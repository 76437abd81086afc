#include "tests/support/FakeHid.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vadero::test {

class FakeHidLayer::Wake : public HidWake {
  public:
    Wake(std::mutex& mutex, std::condition_variable& changed) : mutex_(mutex), changed_(changed) {}
    void signal() override {
        {
            const std::lock_guard lock(mutex_);
            signalled_ = true;
        }
        changed_.notify_all();
    }
    void clear() override {
        const std::lock_guard lock(mutex_);
        signalled_ = false;
    }
    bool signalled() const override {
        const std::lock_guard lock(mutex_);
        return signalled_;
    }
    // Caller holds the layer's mutex.
    bool signalledLocked() const { return signalled_; }

  private:
    std::mutex& mutex_;
    std::condition_variable& changed_;
    bool signalled_ = false;
};

class FakeHidLayer::Handle : public HidHandle {
  public:
    Handle(FakeHidLayer& layer, std::shared_ptr<const FakeDevice> device)
        : layer_(layer), device_(std::move(device)) {}
    std::optional<HidAttributes> attributes() override { return device_->attributes; }
    std::optional<std::string> manufacturer() override { return device_->manufacturer; }
    std::optional<std::string> product() override { return device_->product; }
    std::optional<std::string> serialNumber() override { return device_->serial; }
    std::optional<HidCaps> caps() override { return device_->caps; }
    int read(std::uint8_t* buffer, int length, HidWake& wake) override {
        return layer_.read(device_->path, buffer, length, wake);
    }
    int write(const std::uint8_t* data, int length) override {
        return layer_.write(device_->path, data, length);
    }

  private:
    FakeHidLayer& layer_;
    const std::shared_ptr<const FakeDevice>
        device_;  // the identity as added, shared: no copy per open
};

FakeHidLayer::State* FakeHidLayer::find(const std::string& path) {
    const auto it = devices_.find(path);
    return it == devices_.end() ? nullptr : &it->second;
}

void FakeHidLayer::addDevice(FakeDevice device) {
    const std::lock_guard lock(mutex_);
    order_.push_back(device.path);
    State& state = devices_[device.path];
    state.identity = std::make_shared<const FakeDevice>(device);
    state.device = std::move(device);
}

void FakeHidLayer::setPresent(const std::string& path, bool present) {
    {
        const std::lock_guard lock(mutex_);
        if (State* state = find(path)) {
            state->device.present = present;
            if (!present)
                state->input.clear();
        }
    }
    changed_.notify_all();
}

void FakeHidLayer::queueInput(const std::string& path, Bytes report) {
    {
        const std::lock_guard lock(mutex_);
        if (State* state = find(path))
            state->input.push_back(std::move(report));
    }
    changed_.notify_all();
}

Bytes FakeHidLayer::bridgeReport(const Bytes& payload) {
    Bytes report(65, 0);
    const std::size_t n = std::min<std::size_t>(payload.size(), 60);
    report[3] = static_cast<std::uint8_t>(n);
    std::copy_n(payload.begin(), n, report.begin() + 5);
    return report;
}

void FakeHidLayer::queueFrame(const std::string& path, const Bytes& frame) {
    for (std::size_t at = 0; at < frame.size(); at += 60) {
        const auto end =
            frame.begin() + static_cast<std::ptrdiff_t>(std::min(frame.size(), at + 60));
        queueInput(path, bridgeReport(Bytes(frame.begin() + static_cast<std::ptrdiff_t>(at), end)));
    }
    queueInput(path, bridgeReport({}));
}

void FakeHidLayer::setContinuousEmpty(bool on, std::chrono::milliseconds interval) {
    {
        const std::lock_guard lock(mutex_);
        continuousEmpty_ = on;
        interval_ = interval;
    }
    changed_.notify_all();
}

void FakeHidLayer::setOnWrite(std::function<void(const std::string&, const Bytes&)> hook) {
    const std::lock_guard lock(mutex_);
    onWrite_ = std::move(hook);
}

void FakeHidLayer::setWriteFails(bool fails) {
    const std::lock_guard lock(mutex_);
    writeFails_ = fails;
}

void FakeHidLayer::holdWrites(bool hold) {
    {
        const std::lock_guard lock(mutex_);
        holdWrites_ = hold;
    }
    changed_.notify_all();
}

bool FakeHidLayer::waitForHeldWrite(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return heldWrites_ > 0; });
}

std::vector<Bytes> FakeHidLayer::written(const std::string& path) const {
    const std::lock_guard lock(mutex_);
    const auto it = devices_.find(path);
    return it == devices_.end() ? std::vector<Bytes>{} : it->second.written;
}

std::size_t FakeHidLayer::writtenCount(const std::string& path) const {
    const std::lock_guard lock(mutex_);
    const auto it = devices_.find(path);
    return it == devices_.end() ? 0 : it->second.written.size();
}

void FakeHidLayer::clearWritten(const std::string& path) {
    const std::lock_guard lock(mutex_);
    if (State* state = find(path))
        state->written.clear();
}

bool FakeHidLayer::waitForWritten(const std::string& path, std::size_t count,
                                  std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        const auto it = devices_.find(path);
        return it != devices_.end() && it->second.written.size() >= count;
    });
}

int FakeHidLayer::openCount(const std::string& path) const {
    const std::lock_guard lock(mutex_);
    const auto it = devices_.find(path);
    return it == devices_.end() ? 0 : it->second.opens;
}

int FakeHidLayer::blockedReads() const {
    const std::lock_guard lock(mutex_);
    return blockedReads_;
}

bool FakeHidLayer::waitForBlockedRead(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return blockedReads_ > 0; });
}

std::vector<std::string> FakeHidLayer::enumerate(bool includeRegistered) {
    const std::lock_guard lock(mutex_);
    std::vector<std::string> paths;
    for (const std::string& path : order_)
        if (includeRegistered || devices_.at(path).device.present)
            paths.push_back(path);
    return paths;
}

std::unique_ptr<HidHandle> FakeHidLayer::open(const std::string& path) {
    const std::lock_guard lock(mutex_);
    State* state = find(path);
    if (!state)
        return nullptr;
    if (!state->device.present || state->device.refusal != 0) {
        state->openError = std::strerror(state->device.present ? state->device.refusal : ENODEV);
        return nullptr;
    }
    state->openError.clear();
    ++state->opens;
    return std::make_unique<Handle>(*this, state->identity);
}

std::string FakeHidLayer::openError(const std::string& path) const {
    const std::lock_guard lock(mutex_);
    const auto it = devices_.find(path);
    return it == devices_.end() ? std::string() : it->second.openError;
}

std::optional<HidAttributes> FakeHidLayer::identify(const std::string& path) {
    const std::lock_guard lock(mutex_);
    const State* state = find(path);
    if (!state || !state->device.present)
        return std::nullopt;
    return state->device.attributes;
}

std::unique_ptr<HidWake> FakeHidLayer::makeWake() {
    return std::make_unique<Wake>(mutex_, changed_);
}

void FakeHidLayer::pause(std::chrono::milliseconds duration, HidWake& wake) {
    std::unique_lock lock(mutex_);
    if (time_ == Time::Virtual) {
        virtualNow_ += duration;
        return;
    }
    auto& ours = static_cast<Wake&>(wake);
    changed_.wait_for(lock, duration, [&] { return ours.signalledLocked(); });
}

std::chrono::steady_clock::time_point FakeHidLayer::now() const {
    if (time_ == Time::Real)
        return std::chrono::steady_clock::now();
    const std::lock_guard lock(mutex_);
    return virtualNow_;
}

int FakeHidLayer::read(const std::string& path, std::uint8_t* buffer, int length, HidWake& wake) {
    auto& ours = static_cast<Wake&>(wake);
    std::unique_lock lock(mutex_);
    const auto take = [&]() -> int {
        State* state = find(path);
        Bytes report = std::move(state->input.front());
        state->input.pop_front();
        const int n = std::min(length, static_cast<int>(report.size()));
        // A queued report may be empty: its data() may then be null.
        if (n > 0)
            std::memcpy(buffer, report.data(), static_cast<std::size_t>(n));
        return n;
    };
    const auto emptyReport = [&]() -> int {
        static const Bytes report = bridgeReport({});  // read at every pass of a silent device
        const int n = std::min(length, static_cast<int>(report.size()));
        std::memcpy(buffer, report.data(), static_cast<std::size_t>(n));
        return n;
    };
    const auto gone = [&] {
        const State* state = find(path);
        return !state || !state->device.present;
    };

    if (time_ == Time::Virtual) {
        virtualNow_ += interval_;
        if (gone())
            return HidHandle::kFailed;
        if (!find(path)->input.empty())
            return take();
        return continuousEmpty_ ? emptyReport() : HidHandle::kFailed;
    }

    ++blockedReads_;
    changed_.notify_all();
    const auto deadline = std::chrono::steady_clock::now() + interval_;
    int result = HidHandle::kFailed;
    for (;;) {
        if (ours.signalledLocked()) {
            result = HidHandle::kWoken;
            break;
        }
        if (gone())
            break;
        if (!find(path)->input.empty()) {
            result = take();
            break;
        }
        if (continuousEmpty_) {
            if (changed_.wait_until(lock, deadline) == std::cv_status::timeout) {
                if (!ours.signalledLocked() && !gone() && find(path)->input.empty()) {
                    result = emptyReport();
                    break;
                }
            }
        } else {
            changed_.wait(lock);
        }
    }
    --blockedReads_;
    return result;
}

int FakeHidLayer::write(const std::string& path, const std::uint8_t* data, int length) {
    std::function<void(const std::string&, const Bytes&)> hook;
    Bytes report;  // the hook's copy, made only when there is a hook
    {
        std::unique_lock lock(mutex_);
        if (holdWrites_) {
            ++heldWrites_;
            changed_.notify_all();
            changed_.wait(lock, [this] { return !holdWrites_; });
            --heldWrites_;
        }
        State* state = find(path);
        if (!state || !state->device.present || writeFails_)
            return -1;
        state->written.emplace_back(data, data + length);
        if (onWrite_) {
            hook = onWrite_;
            report = state->written.back();
        }
    }
    changed_.notify_all();
    if (hook)
        hook(path, report);
    return length;
}

}  // namespace vadero::test
