#pragma once
// The report transport: the reader thread that moves HID reports between the
// selected device and its component, the component base and the HID device.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "transport/Dispatcher.h"
#include "transport/HidLayer.h"
#include "transport/Identity.h"
#include "transport/Item.h"
#include "transport/Types.h"

namespace vadero {

// Threaded: the reader runs on its own thread. Manual: no thread; the owner
// runs passes (RunPass), and a writer waiting for the slot runs them itself,
// so tests on a hand-driven clock never sleep.
enum class ReaderMode { Threaded, Manual };

struct TransportEnv {
    HidLayer& hid;
    Dispatcher& dispatcher;
    ReaderMode mode = ReaderMode::Threaded;
};

class TUSBThread : public TObject {
  public:
    static constexpr int kBufferSize = 256;
    static constexpr int kMaxPathLength = 255;
    static constexpr std::chrono::milliseconds kWriteTimeOut{100};
    static constexpr std::chrono::milliseconds kRetryPause{100};
    static constexpr std::chrono::milliseconds kIdlePause{10};

    enum class Priority { Normal, Idle };
    enum class HandOverResult { Taken, Dropped, TimedOut };

    TUSBThread(HidLayer& hid, ReaderMode mode);  // created paused
    ~TUSBThread() override;                      // stops and joins

    // The target; changed only while paused, read by the passes.
    std::string DevicePath;
    bool Connected = false;
    int ReadLength = 0;
    std::function<void(TUSBThread* Sender, int Count)> OnReport;
    std::function<void()> OnDeviceLost;
    std::function<void()> OnDeviceFound;

    // The last input report, report ID in byte 0; touched by the passes only.
    std::array<std::uint8_t, kBufferSize> InputBuffer{};

    // The one-report output slot. HandOver places a report (replacing one
    // still pending) and waits up to 100 ms until a pass wrote or dropped it.
    // It does not wait when no pass can take the report: an empty one (no
    // report length known yet) times out at once, and one handed over while
    // the last pass could not open the device is dropped at once, as that
    // pass's successor would drop it.
    HandOverResult HandOver(const std::uint8_t* data, int count);
    int PendingWrite() const;
    // Reports handed over so far, so that a test knows a writer is waiting.
    std::uint64_t HandOverCount() const;

    void Pause();  // returns once no pass runs; a blocked read is woken
    void Resume();
    bool Paused() const;
    void Stop();  // final: ends the loop after the current pass, woken
    bool StopRequested() const;
    bool Ended() const;
    ReaderMode Mode() const { return mode_; }

    // One pass: open, read one report, write the pending one, close.
    void RunPass();
    Priority CurrentPriority() const { return priority_.load(); }
    std::uint64_t PassCount() const { return passes_.load(); }

  private:
    void loop();
    void noteOpen(bool opened);
    void dropPending();
    bool writePending(HidHandle& handle);
    void resolve(std::uint64_t ticket, HandOverResult outcome);  // slot mutex held
    bool resolved(std::uint64_t ticket) const { return resolvedTicket_ >= ticket; }

    HidLayer& hid_;
    const ReaderMode mode_;
    std::unique_ptr<HidWake> wake_;

    mutable std::mutex stateMutex_;
    std::condition_variable stateChanged_;
    bool paused_ = true;
    bool stop_ = false;
    bool passing_ = false;
    bool ended_ = false;

    mutable std::mutex slotMutex_;
    std::condition_variable slotResolved_;
    std::array<std::uint8_t, kBufferSize> outputBuffer_{};
    int pendingWrite_ = 0;
    std::uint64_t ticket_ = 0;
    std::uint64_t resolvedTicket_ = 0;
    HandOverResult resolvedOutcome_ = HandOverResult::TimedOut;
    int writers_ = 0;  // threads waiting in HandOver
    // The last pass on the current target failed to open it; a retarget
    // (Resume) forgets it until the next pass.
    bool absent_ = false;

    std::atomic<Priority> priority_{Priority::Normal};
    std::atomic<std::uint64_t> passes_{0};
    std::thread thread_;  // last: starts after every member above exists
};

// The transport-neutral device component: owns the reader and the device list.
//
// The reader calls into the whole object (virtual functions, the members of
// the classes above), so it must end before any part of the object goes: the
// destructor of every class that can be instantiated ends it first thing.
// Once the most-derived destructor has done so, the others find no reader.
class TCustomUSB : public TObject {
  public:
    explicit TCustomUSB(const TransportEnv& env);
    ~TCustomUSB() override;

    NotifyEvent OnRXFrame;  // per input report, on the reader thread
    NotifyEvent OnDisconnect;
    NotifyEvent OnConnect;
    bool ViewRegisteredDevices = false;
    std::array<std::uint8_t, 16> HidGuid{};

    TItemList& DeviceList() { return deviceList_; }
    const TItemList& DeviceList() const { return deviceList_; }
    // nullptr once StopReader has ended it.
    TUSBThread* Reader() { return reader_.get(); }

    virtual void ReportReceived(TObject* Sender, int Count);
    virtual int LastReadCount() const { return lastReadCount_.load(); }
    virtual int EnumerateDevices() = 0;
    virtual std::string GetDevicePath(int Index) = 0;
    virtual int ReadReport(std::uint8_t* Buffer, int Count) = 0;
    // Hands one output report to the reader: Count when it was written, -1
    // when it was not taken within 100 ms or was dropped.
    virtual int WriteReport(const std::uint8_t* Data, int Count);
    // A direct write to the device's side path; -1 when it cannot be opened.
    virtual int WritePipe(const std::uint8_t* Data, int Count);
    void StopReader();

  protected:
    HidLayer& Hid() { return hid_; }
    // Runs work on the owner thread, unless this component is gone by then.
    void PostToOwner(std::function<void()> work);
    // The reader's input buffer, report ID in byte 0; nullptr once stopped.
    const std::array<std::uint8_t, TUSBThread::kBufferSize>* InputReport() const {
        return reader_ ? &reader_->InputBuffer : nullptr;
    }

  private:
    HidLayer& hid_;
    Dispatcher& dispatcher_;
    TItemList deviceList_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    std::atomic<int> lastReadCount_{0};
    std::unique_ptr<TUSBThread> reader_;
};

// HID enumeration by vendor and product id, identity strings, selection and
// the report framing (report ID 0, zero padding).
class THIDDevice : public TCustomUSB {
  public:
    explicit THIDDevice(const TransportEnv& env);
    ~THIDDevice() override;

    int OutputReportLength = 0;
    HidCaps Capabilities{};
    std::uint16_t Vid = lcx3::kVendorId;
    std::uint16_t Pid = 0x0004;

    int EnumerateDevices() override;
    std::string GetDevicePath(int Index) override;
    // 1-based numbers into the latest enumeration.
    std::string GetManufacturer(int Number);
    std::string GetProduct(int Number);
    std::string GetSerialNumber(int Number);
    bool SelectIndex(int Index);
    bool OpenIndex(int Index);
    // Copies the bytes after the report ID; called inside the reader's pass.
    int ReadReport(std::uint8_t* Buffer, int Count) override;
    // OutputReportLength - 1 when written, -2 otherwise.
    int WriteReport(const std::uint8_t* Data, int Count) override;

  private:
    std::string identityString(int Number, std::optional<std::string> (HidHandle::*get)(),
                               std::string fallback);
};

}  // namespace vadero
