#include "transport/HIDSerial.h"
#include "transport/Identity.h"

#include <algorithm>
#include <array>

namespace vadero {

namespace bridge {

std::uint8_t DataLengthByte(int n, unsigned remaining) {
    auto byte = static_cast<std::uint8_t>(n & 0x3F);
    if (remaining < static_cast<unsigned>(kChunk))
        byte |= 0x80;
    return byte;
}

std::vector<std::uint8_t> ConfigurationBytes(TPortFormat format, bool bit6, bool bit7) {
    std::uint8_t options = 0;
    if (bit6)
        options |= 0x40;
    if (bit7)
        options |= 0x80;
    return {0x01, static_cast<std::uint8_t>(format), options, 0x00};
}

}  // namespace bridge

THIDSerial::THIDSerial(const TransportEnv& env) : THIDDevice(env) {
    Pid = lcx3::kProductId;
    Vid = lcx3::kVendorId;
    THIDDevice::OnRXFrame = [this](TObject* sender) { FrameReportReceived(sender); };
}

THIDSerial::~THIDSerial() {
    StopReader();
}

void THIDSerial::SetVendorIdent(const std::string& value) {
    if (value != vendorIdent_)
        vendorIdent_ = value;
}

void THIDSerial::SetProductIdent(const std::string& value) {
    if (value != productIdent_)
        productIdent_ = value;
}

void THIDSerial::SetPortFormat(TPortFormat value) {
    if (value == portFormat_)
        return;
    portFormat_ = value;
    SendConfiguration();
}

void THIDSerial::SetConfigBit7(bool value) {
    configBit7_ = value;
    SendConfiguration();
}

void THIDSerial::SetConfigBit6(bool value) {
    configBit6_ = value;
    SendConfiguration();
}

void THIDSerial::SendConfiguration() {
    const auto bytes = bridge::ConfigurationBytes(portFormat_, configBit6_, configBit7_);
    WriteReport(bytes.data(), static_cast<int>(bytes.size()));
}

bool THIDSerial::Matches(int Number) {
    if (GetManufacturer(Number) != vendorIdent_)
        return false;
    return productIdent_ == "*" || GetProduct(Number) == productIdent_;
}

int THIDSerial::GetDeviceCount() {
    const int n = EnumerateDevices();
    int count = 0;
    for (int k = 1; k <= n; ++k)
        if (Matches(k))
            ++count;
    return count;
}

bool THIDSerial::OpenDevice(int Number) {
    const int n = EnumerateDevices();
    int found = 0;
    for (int k = 1; k <= n; ++k) {
        if (Matches(k) && ++found == Number) {
            OpenListedDevice(k);
            break;
        }
    }
    return opened_;
}

std::string THIDSerial::OpenListedDevice(int Number) {
    opened_ = false;
    std::string text = "Impossible d'ouvrir le appareil USB n°" + std::to_string(Number);
    const int n = EnumerateDevices();
    if (Number > 0 && Number <= n && OpenIndex(Number - 1)) {
        text = "USB n°" + std::to_string(Number) + " : " + " " + GetManufacturer(Number) + " " +
               " " + GetProduct(Number) + " " + " {" + GetSerialNumber(Number) + "}";
        opened_ = true;
    }
    return text;
}

void THIDSerial::CloseDevice() {
    opened_ = false;
    StopReader();
}

bool THIDSerial::SendBytes(const std::uint8_t* Data, unsigned Count) {
    if (Count == 0)
        return false;
    std::array<std::uint8_t, bridge::kHeader + bridge::kChunk> report{};
    while (Count > 0) {
        const int n = Count > static_cast<unsigned>(bridge::kChunk) ? bridge::kChunk
                                                                    : static_cast<int>(Count);
        report = {};
        report[2] = bridge::DataLengthByte(n, Count);
        std::copy(Data, Data + n, report.begin() + bridge::kHeader);
        // The rest of a broken frame would reach the calibrator as garbage.
        if (WriteReport(report.data(), bridge::kHeader + n) != 64)
            return false;
        Data += n;
        Count -= static_cast<unsigned>(n);
    }
    return true;
}

void THIDSerial::FrameReportReceived(TObject* /*Sender*/) {
    constexpr int kReportBytes = 65;
    std::array<std::uint8_t, kReportBytes> d{};
    ReadReport(d.data(), kReportBytes);
    const int field = d[2] & 0x3F;
    // Never take more than the chunk size, nor bytes beyond the report read.
    const int available = std::max(0, LastReadCount() - 1 - bridge::kHeader);
    const int length = std::min({field, bridge::kChunk, available});
    if (field > 0 && length == 0)
        return;  // a truncated report: neither data nor end

    if (length > 0) {
        if (frameTotal_ + static_cast<std::uint32_t>(length) < 255)
            rxBuffer_.append(reinterpret_cast<const char*>(d.data() + 4),
                             static_cast<std::size_t>(length));
        frameTotal_ += static_cast<std::uint32_t>(length);
        frameActive_ = true;
        return;
    }
    if (frameActive_) {
        PostToOwner([this, frame = std::move(rxBuffer_)]() mutable { deliver(std::move(frame)); });
    }
    frameActive_ = false;
    rxBuffer_.clear();
    frameTotal_ = 0;
}

void THIDSerial::deliver(std::string frame) {
    delivered_ = std::move(frame);
    Raise(OnRXFrame, this);
    delivered_.clear();
}

}  // namespace vadero
