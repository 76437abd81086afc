#include "transport/USB.h"

#include <algorithm>
#include <cstring>

namespace vadero {

// ---------------------------------------------------------------- TUSBThread

TUSBThread::TUSBThread(HidLayer& hid, ReaderMode mode)
    : hid_(hid), mode_(mode), wake_(hid.makeWake()) {
    if (mode_ == ReaderMode::Threaded)
        thread_ = std::thread([this] { loop(); });
}

TUSBThread::~TUSBThread() {
    Stop();
    // A writer still waiting on the slot must leave before the slot goes.
    std::unique_lock lock(slotMutex_);
    slotResolved_.wait(lock, [this] { return writers_ == 0; });
}

void TUSBThread::loop() {
    for (;;) {
        {
            std::unique_lock lock(stateMutex_);
            stateChanged_.wait(lock, [this] { return !paused_ || stop_; });
            if (stop_)
                break;
            wake_->clear();  // a wake meant for an earlier pause must not end this pass
            passing_ = true;
        }
        RunPass();
        {
            const std::lock_guard lock(stateMutex_);
            passing_ = false;
            stateChanged_.notify_all();
            if (stop_)
                break;
        }
    }
    const std::lock_guard lock(stateMutex_);
    ended_ = true;
    stateChanged_.notify_all();
}

void TUSBThread::Pause() {
    std::unique_lock lock(stateMutex_);
    paused_ = true;
    if (passing_)
        wake_->signal();
    stateChanged_.wait(lock, [this] { return !passing_; });
}

void TUSBThread::Resume() {
    {
        const std::lock_guard lock(stateMutex_);
        if (stop_)
            return;
        paused_ = false;
    }
    noteOpen(true);  // the target may have changed: nothing is known of it yet
    stateChanged_.notify_all();
}

bool TUSBThread::Paused() const {
    const std::lock_guard lock(stateMutex_);
    return paused_;
}

bool TUSBThread::StopRequested() const {
    const std::lock_guard lock(stateMutex_);
    return stop_;
}

bool TUSBThread::Ended() const {
    const std::lock_guard lock(stateMutex_);
    return ended_;
}

void TUSBThread::Stop() {
    {
        const std::lock_guard lock(stateMutex_);
        stop_ = true;
        paused_ = false;
        wake_->signal();
        if (mode_ == ReaderMode::Manual)
            ended_ = true;
    }
    stateChanged_.notify_all();
    if (thread_.joinable())
        thread_.join();
    // No pass will take a report any more: a waiting writer learns it now.
    const std::lock_guard lock(slotMutex_);
    if (pendingWrite_ > 0) {
        pendingWrite_ = 0;
        resolve(ticket_, HandOverResult::Dropped);
    }
}

void TUSBThread::RunPass() {
    bool io = false;
    std::unique_ptr<HidHandle> handle;
    if (!DevicePath.empty())
        handle = hid_.open(DevicePath);
    if (!handle) {
        if (Connected && OnDeviceLost)
            OnDeviceLost();
        Connected = false;
        noteOpen(false);
        dropPending();
        hid_.pause(kRetryPause, *wake_);
    } else {
        noteOpen(true);
        if (!Connected && OnDeviceFound)
            OnDeviceFound();
        Connected = true;
        bool woken = false;
        if (ReadLength > 0) {
            io = true;
            const int n =
                handle->read(InputBuffer.data(), std::min(ReadLength, kBufferSize), *wake_);
            if (n == HidHandle::kWoken) {
                woken = true;
            } else if (n >= 0 && OnReport) {
                OnReport(this, n);
            }
        }
        // A woken pass ends at once: the pause or stop that woke it is waiting.
        if (!woken)
            io = writePending(*handle) || io;
        // Nothing to read or write: do not spin on open and close.
        if (!io && !woken)
            hid_.pause(kIdlePause, *wake_);
    }
    priority_ = io ? Priority::Normal : Priority::Idle;
    ++passes_;
}

void TUSBThread::noteOpen(bool opened) {
    const std::lock_guard lock(slotMutex_);
    absent_ = !opened;
}

void TUSBThread::dropPending() {
    const std::lock_guard lock(slotMutex_);
    if (pendingWrite_ > 0) {
        pendingWrite_ = 0;
        resolve(ticket_, HandOverResult::Dropped);
    }
}

bool TUSBThread::writePending(HidHandle& handle) {
    std::array<std::uint8_t, kBufferSize> report;
    int length = 0;
    std::uint64_t ticket = 0;
    {
        const std::lock_guard lock(slotMutex_);
        length = pendingWrite_;
        ticket = ticket_;
        // Most passes have nothing to write: copy only what is pending.
        if (length <= 0)
            return false;
        std::copy_n(outputBuffer_.begin(), length, report.begin());
    }
    const int written = handle.write(report.data(), length);
    const std::lock_guard lock(slotMutex_);
    // A report replaced meanwhile stays pending: the new one was not written.
    if (written == length && ticket == ticket_ && pendingWrite_ == length) {
        pendingWrite_ = 0;
        resolve(ticket, HandOverResult::Taken);
    }
    return true;
}

void TUSBThread::resolve(std::uint64_t ticket, HandOverResult outcome) {
    resolvedTicket_ = ticket;
    resolvedOutcome_ = outcome;
    slotResolved_.notify_all();
}

TUSBThread::HandOverResult TUSBThread::HandOver(const std::uint8_t* data, int count) {
    count = std::clamp(count, 0, kBufferSize - 1);
    std::unique_lock lock(slotMutex_);
    if (count > 0)
        std::memcpy(outputBuffer_.data(), data, static_cast<std::size_t>(count));
    pendingWrite_ = count;
    const std::uint64_t ticket = ++ticket_;
    if (count == 0)
        return HandOverResult::TimedOut;  // no pass writes an empty report
    if (absent_) {
        pendingWrite_ = 0;
        resolve(ticket, HandOverResult::Dropped);
        return HandOverResult::Dropped;
    }

    if (mode_ == ReaderMode::Threaded) {
        ++writers_;
        const bool done =
            slotResolved_.wait_for(lock, kWriteTimeOut, [&] { return resolved(ticket); });
        --writers_;
        slotResolved_.notify_all();
        return done ? resolvedOutcome_ : HandOverResult::TimedOut;
    }
    // Manual: the passes run here, on the layer's clock.
    const auto deadline = hid_.now() + kWriteTimeOut;
    while (!resolved(ticket)) {
        const auto now = hid_.now();
        if (now >= deadline)
            return HandOverResult::TimedOut;
        lock.unlock();
        const bool running = !Paused() && !Ended();
        if (running) {
            RunPass();
        } else {
            hid_.pause(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now),
                       *wake_);
        }
        lock.lock();
    }
    return resolvedOutcome_;
}

int TUSBThread::PendingWrite() const {
    const std::lock_guard lock(slotMutex_);
    return pendingWrite_;
}

std::uint64_t TUSBThread::HandOverCount() const {
    const std::lock_guard lock(slotMutex_);
    return ticket_;
}

// ---------------------------------------------------------------- TCustomUSB

TCustomUSB::TCustomUSB(const TransportEnv& env)
    : hid_(env.hid),
      dispatcher_(env.dispatcher),
      reader_(std::make_unique<TUSBThread>(env.hid, env.mode)) {}

TCustomUSB::~TCustomUSB() {
    StopReader();
}

void TCustomUSB::PostToOwner(std::function<void()> work) {
    dispatcher_.post([alive = std::weak_ptr<int>(alive_), work = std::move(work)] {
        if (!alive.expired())
            work();
    });
}

void TCustomUSB::ReportReceived(TObject* /*Sender*/, int Count) {
    lastReadCount_ = Count;
    Raise(OnRXFrame, this);
}

int TCustomUSB::WriteReport(const std::uint8_t* Data, int Count) {
    if (!reader_ || Count < 0 || Count > TUSBThread::kBufferSize - 1)
        return -1;
    return reader_->HandOver(Data, Count) == TUSBThread::HandOverResult::Taken ? Count : -1;
}

int TCustomUSB::WritePipe(const std::uint8_t* Data, int Count) {
    if (!reader_)
        return -1;
    auto handle = hid_.open(reader_->DevicePath + "\\PIPE01");
    if (!handle)
        return -1;
    return handle->write(Data, Count);
}

void TCustomUSB::StopReader() {
    if (!reader_)
        return;
    reader_->Stop();
    reader_.reset();
}

// ---------------------------------------------------------------- THIDDevice

THIDDevice::THIDDevice(const TransportEnv& env) : TCustomUSB(env) {
    HidGuid = Hid().interfaceClassId();
}

THIDDevice::~THIDDevice() {
    StopReader();
}

int THIDDevice::EnumerateDevices() {
    DeviceList().Clear();
    int counter = 0;
    for (const std::string& path : Hid().enumerate(ViewRegisteredDevices)) {
        const auto handle = Hid().open(path);
        if (!handle)
            continue;
        const auto attributes = handle->attributes();
        if (attributes && attributes->VendorID == Vid && attributes->ProductID == Pid) {
            DeviceList().Add(path);
            ++counter;
        }
    }
    return counter;
}

std::string THIDDevice::GetDevicePath(int Index) {
    return DeviceList().Get(Index);
}

std::string THIDDevice::identityString(int Number, std::optional<std::string> (HidHandle::*get)(),
                                       std::string fallback) {
    if (Number > DeviceList().Count())
        return {};
    std::string result = std::move(fallback);
    const std::string path = DeviceList().Get(Number - 1);
    if (path.empty())
        return result;
    if (const auto handle = Hid().open(path)) {
        if (auto text = ((*handle).*get)())
            result = std::move(*text);
    }
    return result;
}

std::string THIDDevice::GetManufacturer(int Number) {
    return identityString(Number, &HidHandle::manufacturer, "");
}

std::string THIDDevice::GetProduct(int Number) {
    return identityString(Number, &HidHandle::product, "");
}

std::string THIDDevice::GetSerialNumber(int Number) {
    return identityString(Number, &HidHandle::serialNumber, "unknown");
}

bool THIDDevice::SelectIndex(int Index) {
    const int n = EnumerateDevices();
    TUSBThread* reader = Reader();
    if (!reader || n <= 0 || Index < 0 || Index > n - 1)
        return false;
    reader->Pause();
    reader->DevicePath = GetDevicePath(Index).substr(0, TUSBThread::kMaxPathLength);
    reader->Connected = false;
    reader->OnReport = [this](TUSBThread* sender, int count) { ReportReceived(sender, count); };
    reader->OnDeviceLost = [this] { PostToOwner([this] { Raise(OnDisconnect, this); }); };
    reader->OnDeviceFound = [this] { PostToOwner([this] { Raise(OnConnect, this); }); };
    reader->Resume();
    return true;
}

bool THIDDevice::OpenIndex(int Index) {
    if (!SelectIndex(Index))
        return false;
    TUSBThread* reader = Reader();
    reader->Pause();
    bool result = false;
    if (const auto handle = Hid().open(reader->DevicePath)) {
        if (const auto caps = handle->caps()) {
            Capabilities = *caps;
            reader->ReadLength = caps->InputReportByteLength;
            OutputReportLength = caps->OutputReportByteLength;
            result = true;
        }
    }
    reader->Resume();
    return result;
}

int THIDDevice::ReadReport(std::uint8_t* Buffer, int Count) {
    const auto* input = InputReport();
    Count = std::clamp(Count, 0, TUSBThread::kBufferSize - 1);
    const auto n = static_cast<std::size_t>(Count);
    // One block copy, not a test per byte: this runs for every input report.
    if (input)
        std::copy_n(input->begin() + 1, n, Buffer);
    else
        std::fill_n(Buffer, n, std::uint8_t{0});
    return Count;
}

int THIDDevice::WriteReport(const std::uint8_t* Data, int Count) {
    std::array<std::uint8_t, 257> report{};
    const int copied = std::clamp(Count, 0, static_cast<int>(report.size()) - 1);
    if (copied > 0)
        std::memcpy(report.data() + 1, Data, static_cast<std::size_t>(copied));
    return TCustomUSB::WriteReport(report.data(), OutputReportLength) - 1;
}

}  // namespace vadero
