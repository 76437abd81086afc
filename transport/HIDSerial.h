#pragma once
// The HID-serial bridge: the calibrator's USB chip carries a serial line in
// 65-byte reports. Outgoing bytes leave in data reports of at most 60 bytes;
// incoming payloads form a frame that ends at the first empty input report.

#include <cstdint>
#include <string>
#include <vector>

#include "transport/Identity.h"
#include "transport/USB.h"

namespace vadero {

// Pure report layouts of the bridge, apart from the I/O.
namespace bridge {
constexpr int kChunk = 60;
constexpr int kHeader = 4;  // command, 0, length byte, 0 (after the report ID)

// The length byte of a data report that carries n of `remaining` bytes.
std::uint8_t DataLengthByte(int n, unsigned remaining);
// The four bytes after the report ID of the configuration report.
std::vector<std::uint8_t> ConfigurationBytes(TPortFormat format, bool bit6, bool bit7);
}  // namespace bridge

class THIDSerial : public THIDDevice {
  public:
    explicit THIDSerial(const TransportEnv& env);
    ~THIDSerial() override;

    // Raised once per received frame, on the owner thread; RxData and RxCount
    // are valid inside the call.
    NotifyEvent OnRXFrame;

    const std::string& VendorIdent() const { return vendorIdent_; }
    void SetVendorIdent(const std::string& value);
    const std::string& ProductIdent() const { return productIdent_; }
    void SetProductIdent(const std::string& value);
    TPortFormat PortFormat() const { return portFormat_; }
    void SetPortFormat(TPortFormat value);
    bool ConfigBit7() const { return configBit7_; }
    bool ConfigBit6() const { return configBit6_; }
    void SetConfigBit7(bool value);
    void SetConfigBit6(bool value);
    void SendConfiguration();

    int GetDeviceCount();
    // Entry Number (1-based) of the latest enumeration carries VendorIdent
    // and ProductIdent: the test GetDeviceCount and OpenDevice count by.
    bool Matches(int Number);
    bool OpenDevice(int Number);
    std::string OpenListedDevice(int Number);
    void CloseDevice();
    bool Opened() const { return opened_; }

    // True only when every chunk was taken; stops at the first that was not.
    bool SendBytes(const std::uint8_t* Data, unsigned Count);

    const std::string& RxData() const { return delivered_; }
    unsigned RxCount() const { return static_cast<unsigned>(delivered_.size()); }

    // A frame is being gathered (its empty report has not come yet).
    bool FrameActive() const { return frameActive_; }

  private:
    static constexpr std::size_t kRxCapacity = 254;

    // Reader thread: gathers payloads and hands each complete frame over.
    void FrameReportReceived(TObject* Sender);
    void deliver(std::string frame);

    std::string vendorIdent_{lcx3::kManufacturer};
    std::string productIdent_ = "*";
    TPortFormat portFormat_ = TPortFormat::_9600_8N2;
    bool configBit7_ = false;
    bool configBit6_ = false;
    bool opened_ = false;

    // Touched by the reader thread only.
    bool frameActive_ = false;
    std::string rxBuffer_;
    std::uint32_t frameTotal_ = 0;

    // The frame being delivered, owner thread only.
    std::string delivered_;
};

}  // namespace vadero
