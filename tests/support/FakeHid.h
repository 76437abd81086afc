#pragma once
// A scripted HID access layer for tests: devices are added by hand, input
// reports are queued by the test, output reports are recorded.

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "transport/HidLayer.h"
#include "transport/Identity.h"

namespace vadero::test {

using Bytes = std::vector<std::uint8_t>;

struct FakeDevice {
    std::string path;
    HidAttributes attributes{lcx3::kVendorId, lcx3::kProductId};
    std::optional<std::string> manufacturer = std::string(lcx3::kManufacturer);
    std::optional<std::string> product = std::string(lcx3::kProduct);
    std::optional<std::string> serial = std::string("0001");
    std::optional<HidCaps> caps = HidCaps{65, 65};
    bool present = true;
    int refusal = 0;  // an errno (EACCES ...) that every open fails with; 0: it opens
};

class FakeHidLayer : public HidLayer {
  public:
    // Real time: reads block until a report is queued. Virtual time: nothing
    // blocks; reads and pauses move the layer's clock instead.
    enum class Time { Real, Virtual };
    explicit FakeHidLayer(Time time = Time::Real) : time_(time) {}

    void addDevice(FakeDevice device);
    void setPresent(const std::string& path, bool present);
    void queueInput(const std::string& path, Bytes report);
    // A 65-byte bridge input report carrying payload (at most 60 bytes).
    static Bytes bridgeReport(const Bytes& payload);
    // Queues a frame as the bridge returns it: 60-byte chunks, then an empty report.
    void queueFrame(const std::string& path, const Bytes& frame);
    // When no report is queued, the device sends an empty bridge report every
    // `interval` (the calibrator's bridge does so continually).
    void setContinuousEmpty(bool on,
                            std::chrono::milliseconds interval = std::chrono::milliseconds(1));
    // Called (outside the layer's lock) with every output report written.
    void setOnWrite(std::function<void(const std::string& path, const Bytes& report)> hook);
    void setWriteFails(bool fails);
    // While held, a write waits before it reaches the device until the hold is
    // lifted, so a test can act while a report is being written.
    void holdWrites(bool hold);
    bool waitForHeldWrite(std::chrono::milliseconds timeout) const;

    std::vector<Bytes> written(const std::string& path) const;
    std::size_t writtenCount(const std::string& path) const;  // without copying them
    void clearWritten(const std::string& path);
    bool waitForWritten(const std::string& path, std::size_t count,
                        std::chrono::milliseconds timeout) const;
    int openCount(const std::string& path) const;
    int blockedReads() const;
    bool waitForBlockedRead(std::chrono::milliseconds timeout) const;

    std::vector<std::string> enumerate(bool includeRegistered) override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;
    std::string openError(const std::string& path) const override;
    std::optional<HidAttributes> identify(const std::string& path) override;
    std::unique_ptr<HidWake> makeWake() override;
    void pause(std::chrono::milliseconds duration, HidWake& wake) override;
    std::chrono::steady_clock::time_point now() const override;

  private:
    class Handle;
    class Wake;
    struct State {
        FakeDevice device;
        std::shared_ptr<const FakeDevice> identity;  // what handles opened since addDevice report
        std::deque<Bytes> input;
        std::vector<Bytes> written;
        int opens = 0;
        std::string openError;  // of the last open
    };
    int read(const std::string& path, std::uint8_t* buffer, int length, HidWake& wake);
    int write(const std::string& path, const std::uint8_t* data, int length);
    State* find(const std::string& path);

    const Time time_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::string> order_;
    std::map<std::string, State> devices_;
    bool continuousEmpty_ = false;
    std::chrono::milliseconds interval_{1};
    bool writeFails_ = false;
    bool holdWrites_ = false;
    int heldWrites_ = 0;
    int blockedReads_ = 0;
    std::chrono::steady_clock::time_point virtualNow_{};
    std::function<void(const std::string&, const Bytes&)> onWrite_;
};

}  // namespace vadero::test
