#include "transport/hidraw/HidrawLayer.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <mutex>
#include <thread>

#include "tests/support/ScratchDir.h"
#include "transport/USB.h"
#include "transport/hidraw/SysfsText.h"
#include "transport/hidraw/SystemNodeSource.h"

namespace vadero {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// Devices that the test plugs, feeds and unplugs; each open of a path makes
// a packet socket pair whose far end the test writes reports into, and as
// with the kernel, nothing is queued for a device no one has open.
class FakeDevices {
  public:
    void plug(const std::string& path, dev_t id, bool numbered = false) {
        const std::lock_guard lock(mutex_);
        if (const auto it = present_.find(path); it != present_.end() && it->second.first != id)
            far_.erase(path);  // another device now: the old one's node hangs up
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
    bool open(const std::string& path) {
        const std::lock_guard lock(mutex_);
        return far_.contains(path);
    }

    class Source : public NodeSource {
      public:
        explicit Source(FakeDevices& devices) : devices_(devices) {}
        std::optional<dev_t> identify(const std::string& path, int& error) override {
            const std::lock_guard lock(devices_.mutex_);
            const auto it = devices_.present_.find(path);
            if (it == devices_.present_.end()) {
                error = ENOENT;
                return std::nullopt;
            }
            return it->second.first;
        }
        std::optional<Probed> probe(const std::string& path, int& error) override {
            const std::lock_guard lock(devices_.mutex_);
            const auto it = devices_.present_.find(path);
            if (it == devices_.present_.end()) {
                error = ENOENT;
                return std::nullopt;
            }
            return Probed{it->second.first, ReportLengths{65, 65, it->second.second}};
        }
        UniqueFd open(const std::string& path, dev_t device) override {
            const std::lock_guard lock(devices_.mutex_);
            const auto it = devices_.present_.find(path);
            if (it == devices_.present_.end() || it->second.first != device)
                return UniqueFd();
            std::array<int, 2> fds{};
            if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0, fds.data()) != 0)
                return UniqueFd();
            devices_.far_[path].reset(fds[1]);
            ++devices_.opens_;
            return UniqueFd(fds[0]);
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
    // The first read of a node opens it: the report goes out once it is open.
    Bytes readSent(HidHandle& handle, const Bytes& report) {
        auto reading = std::async(std::launch::async, [&] { return read(handle); });
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!devices.open(path) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        devices.send(path, report);
        return reading.get();
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
        EXPECT_EQ(readSent(*pass, {0x11}), (Bytes{0x00, 0x11}));
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

// usbhid sleeps 50 ms in each first open of a device, and a scan looks at
// every node several times: identity and enumeration open no descriptor.
TEST_F(HidrawLayerTest, IdentityOpensNoDescriptorAndIsNotKeptOpen) {
    devices.plug(path, 0x1F03);
    {
        auto first = layer.open(path);
        auto second = layer.open(path);
        ASSERT_TRUE(first && second);
        EXPECT_EQ(first->caps()->InputReportByteLength, 65);
        EXPECT_EQ(first->caps()->OutputReportByteLength, 65);
    }
    EXPECT_FALSE(layer.holds(path));
    EXPECT_TRUE(layer.open(path));
    EXPECT_EQ(devices.opens(), 0);
    // A write alone opens the node, and lets it go with its handle.
    auto direct = layer.open(path);
    EXPECT_EQ(direct->write(Bytes{0x00, 0x42}.data(), 2), 2);
    EXPECT_EQ(devices.received(path), (Bytes{0x00, 0x42}));
    EXPECT_EQ(devices.opens(), 1);
    direct.reset();
    EXPECT_FALSE(layer.holds(path));
}

TEST_F(HidrawLayerTest, ADeviceGoneBeforeItsFirstReadFailsTheRead) {
    devices.plug(path, 0x1F03);
    auto pass = layer.open(path);
    ASSERT_TRUE(pass);
    devices.plug(path, 0x1F04);  // replugged as another device before any read
    EXPECT_EQ(pass->read(Bytes(65).data(), 65, *wake), HidHandle::kFailed);
    EXPECT_EQ(pass->write(Bytes{0x00, 0x01}.data(), 2), -1);
    EXPECT_FALSE(layer.holds(path));
    EXPECT_EQ(devices.opens(), 0);
}

TEST_F(HidrawLayerTest, AGoneDeviceIsOpenedAgainOnlyOnceItIsBack) {
    devices.plug(path, 0x1F03);
    auto pass = layer.open(path);
    ASSERT_EQ(readSent(*pass, {0x01}).size(), 2u);
    devices.unplug(path);
    EXPECT_EQ(pass->read(Bytes(65).data(), 65, *wake), HidHandle::kFailed);
    EXPECT_FALSE(layer.holds(path));
    EXPECT_FALSE(layer.open(path));

    devices.plug(path, 0x1F03, true);
    pass = layer.open(path);
    ASSERT_TRUE(pass);
    // Numbered: the ID is the device's own.
    EXPECT_EQ(readSent(*pass, {0x07, 0x33}), (Bytes{0x07, 0x33}));
    EXPECT_EQ(devices.opens(), 2);
}

TEST_F(HidrawLayerTest, AnotherDeviceBehindTheSamePathIsOpenedAfresh) {
    const auto holdOpen = [&] {
        auto pass = layer.open(path);
        if (devices.open(path)) {
            devices.send(path, {0x01});
            ASSERT_EQ(read(*pass).size(), 2u);
        } else {
            ASSERT_EQ(readSent(*pass, {0x01}).size(), 2u);
        }
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
    while (!devices.open(path)) std::this_thread::yield();  // the first read began
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

// The node is probed from sysfs alone: the subsystem link says hidraw, the
// hid device's report_descriptor gives the lengths. /dev/null stands in for
// the character device, a temporary tree for sysfs.
TEST(SystemNodeSource, ProbesFromSysfsAndOpensOnlyTheProbedDevice) {
    namespace fs = std::filesystem;
    struct stat info {};
    ASSERT_EQ(::stat("/dev/null", &info), 0);
    const vadero::test::ScratchDir scratch("vadero-sysfs");
    const fs::path& sysfs = scratch.Path();
    const fs::path node =
        sysfs / "dev" / "char" /
        (std::to_string(major(info.st_rdev)) + ":" + std::to_string(minor(info.st_rdev)));
    fs::create_directories(node / "device");
    SystemNodeSource source(sysfs.string());
    int error = 0;
    EXPECT_FALSE(source.probe("/dev/null", error));  // no subsystem: no hidraw node
    EXPECT_EQ(error, ENODEV);

    fs::create_symlink("../../../class/mem", node / "subsystem");
    EXPECT_FALSE(source.probe("/dev/null", error));
    fs::remove(node / "subsystem");
    fs::create_symlink("../../../class/hidraw", node / "subsystem");
    auto probed = source.probe("/dev/null", error);
    ASSERT_TRUE(probed);
    EXPECT_EQ(probed->device, info.st_rdev);
    EXPECT_FALSE(probed->lengths);  // no descriptor to read

    // 64-byte input and output reports, no report IDs.
    const Bytes descriptor{0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08,
                           0x95, 0x40, 0x81, 0x02, 0x95, 0x40, 0x91, 0x02, 0xC0};
    {
        std::ofstream out(node / "device" / "report_descriptor", std::ios::binary);
        out.write(reinterpret_cast<const char*>(descriptor.data()),
                  static_cast<std::streamsize>(descriptor.size()));
    }
    probed = source.probe("/dev/null", error);
    ASSERT_TRUE(probed && probed->lengths);
    EXPECT_EQ(probed->lengths->InputReportByteLength, 65);
    EXPECT_EQ(probed->lengths->OutputReportByteLength, 65);
    EXPECT_FALSE(probed->lengths->NumberedReports);

    EXPECT_TRUE(source.open("/dev/null", info.st_rdev));
    EXPECT_FALSE(source.open("/dev/null", info.st_rdev + 1));  // another device by now
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

// A refused open says why, as the system did; identify() opens nothing.
TEST(HidrawSystem, AFailedOpenKeepsTheSystemsReason) {
    HidrawLayer layer;
    EXPECT_EQ(layer.openError("/dev/hidraw-nonexistent"), "");
    EXPECT_FALSE(layer.open("/dev/hidraw-nonexistent"));
    EXPECT_EQ(layer.openError("/dev/hidraw-nonexistent"), std::strerror(ENOENT));
    EXPECT_FALSE(layer.identify("/dev/hidraw-nonexistent"));
    EXPECT_FALSE(layer.open("/dev/null"));
    EXPECT_EQ(layer.openError("/dev/null"), std::strerror(ENODEV));  // no hidraw node
}

}  // namespace
}  // namespace vadero
