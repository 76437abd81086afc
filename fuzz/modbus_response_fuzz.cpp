// Received frames fed to the master after requests of every kind (3, 4, 6, 16),
// through the bridge as the device would deliver them. Aborts when a frame
// changes a register outside the one request awaited, or when the events and
// the bookkeeping disagree with what was stored.
//
// The input is a sequence of records:
//   byte 0    bits 0-1 request kind (3, 4, 6, 16); bit 2 fix the CRC; bit 3 EchoCancel;
//             bit 4 send no new request; bit 5 lay down node, function and byte count
//   bytes 1-2 register address, high first (reduced to -8 .. 1091)
//   byte 3    register count (or the value of a single write)
//   byte 4    frame length n (at most 254, what the bridge delivers whole), then n bytes

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <vector>

#include "modbus/Crc.h"
#include "modbus/MiniModbus.h"
#include "tests/support/FakeHid.h"
#include "fuzz/FuzzCheck.h"

namespace {

using vadero::TDataType;
using vadero::TMiniModbusMaster;
using vadero::TObject;
using vadero::TRegisterImage;
using vadero::test::Bytes;
using vadero::test::FakeHidLayer;

constexpr const char* kPath = "/dev/hidraw0";
constexpr int kFunctions[] = {3, 4, 6, 16};

struct Request {
    int function = -1;
    int address = 0;
    int count = 0;
};

struct Arrival {
    TDataType type;
    int address;
    int data;
    bool stored;  // the image held Data when the event ran
};

class Harness {
  public:
    Harness() {
        hid_.setContinuousEmpty(true);
        vadero::test::FakeDevice device;
        device.path = kPath;
        hid_.addDevice(device);
        master_.Node = 100;
        for (std::size_t i = 0; i < master_.HoldingRegisters.size(); ++i) {
            master_.HoldingRegisters[i] = static_cast<std::uint16_t>(0xA55A ^ (i * 40503u));
            master_.InputRegisters[i] = static_cast<std::uint16_t>(0x3CC3 ^ (i * 2654u));
        }
        master_.OnDataArrival = [this](TObject* sender, TDataType type, int address, int data) {
            FUZZ_CHECK(sender == &master_);
            FUZZ_CHECK(address >= 0 && address <= vadero::kMaxRegisterAddress);
            FUZZ_CHECK(data >= 0 && data <= 0xFFFF);
            const auto& image = type == TDataType::dtInputRegister ? master_.InputRegisters
                                                                   : master_.HoldingRegisters;
            arrivals_.push_back(
                {type, address, data, image[static_cast<std::size_t>(address)] == data});
        };
        master_.OnWordBlockWriting = [this](TObject*) { ++blocks_; };
        FUZZ_CHECK(master_.OpenDevice(1));
    }

    void record(std::uint8_t flags, int address, int count, const Bytes& payload) {
        master_.EchoCancel = (flags & 0x08) != 0;
        if (!(flags & 0x10))
            send(kFunctions[flags & 0x03], address, count);
        Bytes frame = payload;
        const std::size_t start =
            master_.EchoCancel ? static_cast<std::size_t>(master_.ResponseOffset()) : 0;
        if ((flags & 0x20) && frame.size() >= start + 3) {
            frame[start] = master_.Node;
            frame[start + 1] = static_cast<std::uint8_t>(last_.function & 0xFF);
            frame[start + 2] = static_cast<std::uint8_t>(2 * last_.count);
        }
        if ((flags & 0x04) && frame.size() >= start + 2) {
            const std::uint16_t crc = vadero::Crc16(frame.data() + start, frame.size() - start - 2);
            frame[frame.size() - 2] = static_cast<std::uint8_t>(crc & 0xFF);
            frame[frame.size() - 1] = static_cast<std::uint8_t>(crc >> 8);
        }
        deliver(frame, start);
    }

  private:
    void send(int function, int address, int count) {
        const auto sentBefore = hid_.written(kPath).size();
        const int awaitedBefore = master_.ExpectedFunction();
        const TRegisterImage holding = master_.HoldingRegisters;
        const TRegisterImage input = master_.InputRegisters;
        switch (function) {
            case 3:
                master_.ReadHoldingRegisters(address, count);
                break;
            case 4:
                master_.ReadInputRegisters(address, count);
                break;
            case 6:
                master_.WriteSingleRegister(address, count * 257);
                count = 1;
                break;
            default: {
                const bool fits =
                    address >= 0 && address + count <= vadero::kMaxRegisterAddress + 1;
                bool refused = false;
                try {
                    master_.WriteMultipleRegisters(address, count, master_.HoldingRegisters);
                } catch (const std::invalid_argument&) {
                    refused = true;
                    FUZZ_CHECK(count > 123);
                } catch (const std::out_of_range&) {
                    refused = true;
                    FUZZ_CHECK(count <= 123 && !fits);
                }
                if (refused) {
                    FUZZ_CHECK(hid_.written(kPath).size() == sentBefore);
                    FUZZ_CHECK(master_.ExpectedFunction() == awaitedBefore);
                    return;
                }
                FUZZ_CHECK(count <= 123 && fits);
                FUZZ_CHECK(master_.LastBlockEnd() == address + count);
                break;
            }
        }
        FUZZ_CHECK(master_.HoldingRegisters == holding && master_.InputRegisters == input);
        FUZZ_CHECK(master_.ExpectedFunction() == function);
        last_ = {function, address, count};
    }

    void deliver(const Bytes& frame, std::size_t start) {
        const int awaited = master_.ExpectedFunction();
        FUZZ_CHECK(awaited == -1 || awaited == last_.function);
        const TRegisterImage holding = master_.HoldingRegisters;
        const TRegisterImage input = master_.InputRegisters;
        arrivals_.clear();
        blocks_ = 0;

        hid_.queueFrame(kPath, frame);
        for (std::size_t i = 0; i < frame.size() / 60 + 2; ++i) master_.Reader()->RunPass();
        dispatcher_.pump();

        // The registers this frame may change.
        std::set<int> allowedHolding, allowedInput;
        if (awaited == 3 || awaited == 4) {
            auto& allowed = awaited == 3 ? allowedHolding : allowedInput;
            for (int i = 0; i < last_.count; ++i) allowed.insert(last_.address + i);
        } else if (awaited == 6 && frame.size() >= start + 4) {
            allowedHolding.insert(frame[start + 2] << 8 |
                                  frame[start + 3]);  // the address answered
        }
        for (std::size_t a = 0; a < holding.size(); ++a) {
            if (master_.HoldingRegisters[a] != holding[a])
                FUZZ_CHECK(allowedHolding.count(static_cast<int>(a)));
            if (master_.InputRegisters[a] != input[a])
                FUZZ_CHECK(allowedInput.count(static_cast<int>(a)));
        }

        const TDataType expectedType =
            awaited == 4 ? TDataType::dtInputRegister : TDataType::dtHoldingRegister;
        for (std::size_t i = 0; i < arrivals_.size(); ++i) {
            const Arrival& a = arrivals_[i];
            FUZZ_CHECK(a.stored);
            FUZZ_CHECK(a.type == expectedType);
            FUZZ_CHECK((a.type == TDataType::dtInputRegister ? allowedInput : allowedHolding)
                           .count(a.address));
            if (awaited != 6)
                FUZZ_CHECK(a.address == last_.address + static_cast<int>(i));
        }
        FUZZ_CHECK(arrivals_.empty() || awaited == 3 || awaited == 4 || awaited == 6);
        FUZZ_CHECK(awaited != 6 || arrivals_.size() <= 1);
        FUZZ_CHECK(arrivals_.size() <= static_cast<std::size_t>(std::max(last_.count, 0)));
        FUZZ_CHECK(blocks_ == 0 || (awaited == 16 && blocks_ == 1));

        if (frame.empty())
            return;  // nothing delivered
        FUZZ_CHECK(master_.LastFrameLength() == static_cast<int>(frame.size()));
        if (frame.size() > start) {
            FUZZ_CHECK(master_.ExpectedFunction() == -1);
            FUZZ_CHECK(master_.ResponseOffset() == 0);
        } else {
            FUZZ_CHECK(master_.ExpectedFunction() == awaited);
        }
    }

    FakeHidLayer hid_{FakeHidLayer::Time::Virtual};
    vadero::ManualDispatcher dispatcher_;
    TMiniModbusMaster master_{vadero::TransportEnv{hid_, dispatcher_, vadero::ReaderMode::Manual}};
    Request last_;
    std::vector<Arrival> arrivals_;
    int blocks_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeader = 5;
    constexpr std::size_t kMaxDelivered = 254;
    Harness harness;
    std::size_t at = 0;
    while (size - at >= kHeader) {
        const std::uint8_t flags = data[at];
        const int address = (data[at + 1] << 8 | data[at + 2]) % 1100 - 8;
        const int count = data[at + 3];
        std::size_t n = std::min<std::size_t>(data[at + 4], kMaxDelivered);
        at += kHeader;
        n = std::min(n, size - at);
        harness.record(flags, address, count, Bytes(data + at, data + at + n));
        at += n;
    }
    return 0;
}
