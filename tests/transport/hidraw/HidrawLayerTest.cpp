#include "transport/hidraw/HidrawLayer.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <future>
#include <map>
#include <mutex>

#include "transport/USB.h"
#include "transport/hidraw/SysfsText.h"

namespace vadero {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// Devices that the test plugs, feeds and unplugs; each open of a path makes
// a packet socket pair whose far end the test writes reports into.
class FakeDevices {
public:
    void plug(const std::string& path, dev_t id, bool numbered = false) {
        const std::lock_guard lock(mutex_);
        present_[path] = {id, numbered};
    }
    void unplug(const std::string& path) {
        const std::lock_guard lock(mutex_);
        present_.erase(path);
        far_.erase(path);  // the open node hangs up
    }
    void hangUp(const std::string& path) {
        const std::lock_guard lock(mutex_);
        far_.erase(path);
    }
    void send(const std::string& path, const Bytes& report) {
        const std::lock_guard lock(mutex_);
        ASSERT_EQ(::write(far_.at(path).get(), report.data(), report.size()),
                  static_cast<ssize_t>(report.size()));
    }
    Bytes received(const std::string& path) {
        const std::lock_guard lock(mutex_);
        Bytes report(256);
        const ssize_t n = ::read(far_.at(path).get(), report.data(), report.size());
        report.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        return report;
    }
    int opens() const { return opens_; }

    class Source : public NodeSource {
    public:
        explicit Source(FakeDevices& devices) : devices_(devices) {}
        std::optional<dev_t> identify(const std::string& path) override {
            const std::lock_guard lock(devices_.mutex_);
            const auto it = devices_.present_.find(path);
            if (it == devices_.present_.end())
                return std::nullopt;
            return it->second.first;
        }
        std::optional<Opened> open(const std::string& path) override {
            const std::lock_guard lock(devices_.mutex_);
            const auto it = devices_.present_.find(path);
            if (it == devices_.present_.end())
                return std::nullopt;
            std::array<int, 2> fds{};
            if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0, fds.data()) != 0)
                return std::nullopt;
            devices_.far_[path].reset(fds[1]);
            ++devices_.opens_;
            return Opened{UniqueFd(fds[0]), it->second.first,
                          ReportLengths{65, 65, it->second.second}};
        }

    private:
        FakeDevices& devices_;
    };

private:
    std::mutex mutex_;
    std::map<std::string, std::pair<dev_t, bool>> present_;
    std::map<std::string, UniqueFd> far_;
    std::atomic<int> opens_{0};
};

class HidrawLayerTest : public testing::Test {
protected:
    Bytes read(HidHandle& handle) {
        Bytes buffer(65);
        const int n = handle.read(buffer.data(), 65, *wake);
        buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        return buffer;
    }
    const std::string path = "/dev/hidraw3";
    FakeDevices devices;
    HidrawLayer layer{std::make_unique<FakeDevices::Source>(devices)};
    std::unique_ptr<HidWake> wake = layer.makeWake();
};

TEST_F(HidrawLayerTest, AReportArrivingBetweenPassesIsNotLost) {
    devices.plug(path, 0x1F03);
    {
        auto pass = layer.open(path);
        ASSERT_TRUE(pass);
        devices.send(path, {0x11});
        EXPECT_EQ(read(*pass), (Bytes{0x00, 0x11}));
        EXPECT_EQ(pass->write(Bytes{0x00, 0x99}.data(), 2), 2);
        EXPECT_EQ(devices.received(path), (Bytes{0x00, 0x99}));  // passed through as it is
    }
    devices.send(path, {0x22});  // the answer, while no handle is open
    {
        // Enumeration and identity opens share the node and take no report.
        auto identity = layer.open(path);
        ASSERT_TRUE(identity);
        EXPECT_EQ(identity->caps()->InputReportByteLength, 65);
    }
    auto pass = layer.open(path);
    ASSERT_TRUE(pass);
    EXPECT_EQ(read(*pass), (Bytes{0x00, 0x22}));
    EXPECT_EQ(devices.opens(), 1);
}

TEST_F(HidrawLayerTest, NodesNobodyReadFromAreNotKeptOpen) {
    devices.plug(path, 0x1F03);
    {
        auto first = layer.open(path);
        auto second = layer.open(path);
        ASSERT_TRUE(first && second);
        EXPECT_EQ(devices.opens(), 1);
    }
    EXPECT_FALSE(layer.holds(path));
    EXPECT_TRUE(layer.open(path));
    EXPECT_EQ(devices.opens(), 2);
}

TEST_F(HidrawLayerTest, AGoneDeviceIsOpenedAgainOnlyOnceItIsBack) {
    devices.plug(path, 0x1F03);
    auto pass = layer.open(path);
    devices.send(path, {0x01});
    ASSERT_EQ(read(*pass).size(), 2u);
    devices.unplug(path);
    EXPECT_EQ(pass->read(Bytes(65).data(), 65, *wake), HidHandle::kFailed);
    EXPECT_FALSE(layer.holds(path));
    EXPECT_FALSE(layer.open(path));

    devices.plug(path, 0x1F03, true);
    pass = layer.open(path);
    ASSERT_TRUE(pass);
    devices.send(path, {0x07, 0x33});  // numbered: the ID is the device's own
    EXPECT_EQ(read(*pass), (Bytes{0x07, 0x33}));
    EXPECT_EQ(devices.opens(), 2);
}

TEST_F(HidrawLayerTest, AnotherDeviceBehindTheSamePathIsOpenedAfresh) {
    const auto holdOpen = [&] {
        auto pass = layer.open(path);
        devices.send(path, {0x01});
        ASSERT_EQ(read(*pass).size(), 2u);
    };
    devices.plug(path, 0x1F03);
    holdOpen();
    devices.plug(path, 0x1F04);  // another device number
    holdOpen();
    EXPECT_EQ(devices.opens(), 2);
    devices.hangUp(path);  // same number, but the held node hung up: replugged
    holdOpen();
    EXPECT_EQ(devices.opens(), 3);
}

TEST_F(HidrawLayerTest, ReadsAreWokenByOwnAndForeignWakes) {
    struct FlagWake : HidWake {
        void signal() override { flag = true; }
        void clear() override { flag = false; }
        bool signalled() const override { return flag; }
        std::atomic<bool> flag{false};
    };
    devices.plug(path, 0x1F03);
    const auto handle = layer.open(path);
    FlagWake foreign;
    for (HidWake* w : {wake.get(), static_cast<HidWake*>(&foreign)}) {
        auto reading = std::async(std::launch::async, [&] {
            std::array<std::uint8_t, 65> buffer{};
            return handle->read(buffer.data(), 65, *w);
        });
        w->signal();
        ASSERT_EQ(reading.wait_for(10s), std::future_status::ready);
        EXPECT_EQ(reading.get(), HidHandle::kWoken);
        layer.pause(1h, *w);  // a signalled wake ends the pause at once
    }
}

// The reader thread on a silent device: pausing and stopping return although
// no report comes, and the report sent while it was paused is read after.
TEST_F(HidrawLayerTest, TheReaderPausesOnASilentDeviceAndLosesNothing) {
    devices.plug(path, 0x1F03);
    TUSBThread reader(layer, ReaderMode::Threaded);
    std::promise<Bytes> got;
    reader.DevicePath = path;
    reader.ReadLength = 65;
    reader.OnReport = [&](TUSBThread* sender, int count) {
        got.set_value(Bytes(sender->InputBuffer.begin(), sender->InputBuffer.begin() + count));
    };
    reader.Resume();
    while (!layer.holds(path)) std::this_thread::yield();  // the first read began
    reader.Pause();
    devices.send(path, {0x5A});
    auto report = got.get_future();
    EXPECT_EQ(report.wait_for(0s), std::future_status::timeout);
    reader.Resume();
    ASSERT_EQ(report.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(report.get(), (Bytes{0x00, 0x5A}));
    reader.Stop();
    EXPECT_EQ(devices.opens(), 1);
}

TEST(HidrawSystem, EnumeratesTheHidrawNodesOfSysfsInNodeOrder) {
    HidrawLayer layer;
    std::vector<std::string> expected;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/hidraw", error))
        expected.push_back("/dev/" + entry.path().filename().string());
    SortHidrawPaths(expected);
    EXPECT_EQ(layer.enumerate(false), expected);
    EXPECT_EQ(layer.enumerate(true), expected);
}

TEST(HidrawSystem, OnlyPresentHidrawNodesOpen) {
    HidrawLayer layer;
    for (const char* path : {"", "/dev/hidraw-none", "/dev/null", "/tmp"})
        EXPECT_FALSE(layer.open(path)) << path;
}

}  // namespace
}  // namespace vadero
