#include "emulator/EmulatorHid.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace vadero::emu {

namespace {

// An open emulated device, bound to the plug-in it was opened in.
class Handle : public HidHandle {
  public:
    explicit Handle(std::shared_ptr<EmulatedLcx3> device)
        : device_(std::move(device)), generation_(device_->Generation()) {}

    std::optional<HidAttributes> attributes() override {
        return present() ? std::optional(device_->Identity().attributes) : std::nullopt;
    }
    std::optional<std::string> manufacturer() override {
        return present() ? std::optional(device_->Identity().manufacturer) : std::nullopt;
    }
    std::optional<std::string> product() override {
        return present() ? std::optional(device_->Identity().product) : std::nullopt;
    }
    std::optional<std::string> serialNumber() override {
        return present() ? std::optional(device_->Identity().serial) : std::nullopt;
    }
    std::optional<HidCaps> caps() override {
        return present() ? std::optional(HidCaps{kReportLength, kReportLength}) : std::nullopt;
    }
    int read(std::uint8_t* buffer, int length, HidWake& wake) override {
        return device_->Read(generation_, buffer, length, wake);
    }
    int write(const std::uint8_t* data, int length) override {
        return device_->Write(generation_, data, length);
    }

  private:
    bool present() const { return device_->Present(generation_); }

    const std::shared_ptr<EmulatedLcx3> device_;
    const std::uint64_t generation_;
};

}  // namespace

EmulatedLcx3& EmulatorHid::AddDevice(DeviceOptions options) {
    const std::lock_guard lock(mutex_);
    const std::size_t number = devices_.size() + 1;
    if (options.serial.empty()) {
        std::string digits = std::to_string(number);
        options.serial =
            "LCX3-" + std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
    }
    devices_.push_back(std::make_shared<EmulatedLcx3>(clock_, kPathPrefix + std::to_string(number),
                                                      std::move(options)));
    return *devices_.back();
}

EmulatedLcx3& EmulatorHid::Device(int number) {
    const std::lock_guard lock(mutex_);
    if (number < 1 || static_cast<std::size_t>(number) > devices_.size())
        throw std::out_of_range("no emulated device " + std::to_string(number));
    return *devices_[static_cast<std::size_t>(number) - 1];
}

std::shared_ptr<EmulatedLcx3> EmulatorHid::find(const std::string& path) const {
    const std::lock_guard lock(mutex_);
    for (const auto& device : devices_)
        if (device->Path() == path)
            return device;
    return nullptr;
}

EmulatedLcx3* EmulatorHid::Find(const std::string& path) {
    return find(path).get();
}

int EmulatorHid::DeviceCount() const {
    const std::lock_guard lock(mutex_);
    return static_cast<int>(devices_.size());
}

std::vector<std::string> EmulatorHid::enumerate(bool includeRegistered) {
    std::vector<std::shared_ptr<EmulatedLcx3>> devices;
    {
        const std::lock_guard lock(mutex_);
        devices = devices_;
    }
    std::vector<std::string> paths;
    for (const auto& device : devices)
        if (includeRegistered || device->Plugged())
            paths.push_back(device->Path());
    return paths;
}

std::unique_ptr<HidHandle> EmulatorHid::open(const std::string& path) {
    auto device = find(path);
    if (!device || !device->Plugged()) {
        openErrors_.record(path, std::strerror(device ? ENODEV : ENOENT));
        return nullptr;
    }
    openErrors_.record(path, {});
    return std::make_unique<Handle>(std::move(device));
}

std::string EmulatorHid::openError(const std::string& path) const {
    return openErrors_.of(path);
}

std::optional<HidAttributes> EmulatorHid::identify(const std::string& path) {
    const auto device = find(path);
    if (!device || !device->Plugged())
        return std::nullopt;
    return device->Identity().attributes;
}

void EmulatorHid::pause(std::chrono::milliseconds duration, HidWake& wake) {
    clock_.waitUntil(clock_.now() + duration, wake);
}

}  // namespace vadero::emu
