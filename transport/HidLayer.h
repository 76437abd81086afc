#pragma once
// The HID access layer: the few operations the transport needs from the
// platform. One backend talks to the kernel's hidraw nodes, another to the
// emulated calibrator.

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vadero {

struct HidAttributes {
    std::uint16_t VendorID = 0;
    std::uint16_t ProductID = 0;
};

// Report lengths of a device, report-ID byte included.
struct HidCaps {
    int InputReportByteLength = 0;
    int OutputReportByteLength = 0;
};

// Wakes the blocked read (or pause) of one reader. Made by the layer whose
// reads it wakes; signal() may be called from any thread.
class HidWake {
  public:
    virtual ~HidWake() = default;
    virtual void signal() = 0;
    virtual void clear() = 0;
    virtual bool signalled() const = 0;
};

// An open device; closed when destroyed.
class HidHandle {
  public:
    static constexpr int kFailed = -1;  // the device failed or is gone
    static constexpr int kWoken = -2;   // the wake was signalled

    virtual ~HidHandle() = default;
    virtual std::optional<HidAttributes> attributes() = 0;
    // Identity strings as 8-bit texts, byte for byte (trailing blanks kept).
    virtual std::optional<std::string> manufacturer() = 0;
    virtual std::optional<std::string> product() = 0;
    virtual std::optional<std::string> serialNumber() = 0;
    virtual std::optional<HidCaps> caps() = 0;
    // Blocks until one input report arrives and copies at most `length`
    // bytes of it, report-ID byte first. Returns the count, kFailed or kWoken.
    virtual int read(std::uint8_t* buffer, int length, HidWake& wake) = 0;
    // Writes one output report, report-ID byte first; bytes written or -1.
    virtual int write(const std::uint8_t* data, int length) = 0;
};

class HidLayer {
  public:
    virtual ~HidLayer() = default;
    // Identifier of the interface class enumerated (kept for the record).
    virtual std::array<std::uint8_t, 16> interfaceClassId() const;
    // Interface paths in the layer's order; with includeRegistered, also
    // paths of devices known to the system but absent.
    virtual std::vector<std::string> enumerate(bool includeRegistered) = 0;
    // nullptr when the path cannot be opened (an empty path never opens).
    virtual std::unique_ptr<HidHandle> open(const std::string& path) = 0;
    // Why the last open of the path failed, in the system's words (the
    // strerror text, e.g. "Permission denied"); empty when it opened, or was
    // never tried, or the layer cannot tell.
    virtual std::string openError(const std::string& path) const;
    // Vendor and product id of a path without opening it, as the system
    // knows them; empty when the layer cannot tell (here: never).
    virtual std::optional<HidAttributes> identify(const std::string& path);
    virtual std::unique_ptr<HidWake> makeWake() = 0;
    // Waits for the duration, or less when the wake is signalled.
    virtual void pause(std::chrono::milliseconds duration, HidWake& wake) = 0;
    // The layer's clock: real time, or the emulator's hand-driven time.
    virtual std::chrono::steady_clock::time_point now() const;
};

}  // namespace vadero
