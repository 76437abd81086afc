// Received frames fed to the master after requests of every kind (3, 4, 6, 16),
// through the bridge as the device would deliver them. Aborts when a frame
// changes a register outside the one request awaited, when the events and
// the bookkeeping disagree with what was stored, or when a request held back
// (a re-sent request's late answers may still come) or a late answer dropped
// changes anything.
//
// The input is a sequence of records:
//   byte 0    bits 0-1 request kind (3, 4, 6, 16); bit 2 fix the CRC; bit 3 EchoCancel;
//             bit 4 send no new request; bit 5 lay down node, function and byte count
//   bytes 1-2 register address, high first (reduced to -8 .. 1091)
//   byte 3    register count (or the value of a single write)
//   byte 4    frame length n (at most 254, what the bridge delivers whole), then n bytes;
//             those past the input's end are 0, so that a short input still
//             delivers long frames (with bits 2 and 5 they are well formed)

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/MasterRig.h"
#include "modbus/Crc.h"

namespace {

using vadero::RegisterImage;
using vadero::TDataType;
using vadero::TMiniModbusMaster;
using vadero::TObject;
using vadero::test::Bytes;

constexpr const char* kPath = vadero::fuzz::MasterRig::kPath;
constexpr int kFunctions[] = {3, 4, 6, 16};

struct Request {
    int function = -1;
    int address = 0;
    int count = 0;
};

// The registers a frame may change: count of them from first.
struct Allowed {
    int first = 0;
    int count = 0;
    bool has(int address) const { return address >= first && address - first < count; }
    // Every register outside these is as it was; compared in two blocks, since
    // a look at each of the 1025 registers would cost more than the frame.
    bool keptOutside(const RegisterImage& now, const RegisterImage& before) const {
        const long size = static_cast<long>(now.size());
        const long lo = std::clamp<long>(first, 0, size);
        const long hi = std::clamp<long>(static_cast<long>(first) + count, lo, size);
        return std::equal(now.begin(), now.begin() + lo, before.begin()) &&
               std::equal(now.begin() + hi, now.end(), before.begin() + hi);
    }
};

struct Arrival {
    TDataType type;
    int address;
    int data;
    bool stored;  // the image held Data when the event ran
};

// Registers that differ from their neighbours, so that a value stored at the
// wrong address shows.
RegisterImage Patterned(std::uint16_t base, unsigned step) {
    RegisterImage image{};
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint16_t>(base ^ (i * step));
    return image;
}

class Harness {
  public:
    // The run's one master, reset and patterned for each input.
    explicit Harness(vadero::fuzz::MasterRig& rig)
        : rig_(rig), input_(rig.Begin()), hid_(rig.hid()), master_(rig.master()) {
        static const RegisterImage kHolding = Patterned(0xA55A, 40503u);
        static const RegisterImage kInput = Patterned(0x3CC3, 2654u);
        master_.HoldingRegisters = kHolding;
        master_.InputRegisters = kInput;
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
        const auto sentBefore = hid_.writtenCount(kPath);
        const int awaitedBefore = master_.ExpectedFunction();
        const RegisterImage holding = master_.HoldingRegisters;
        const RegisterImage input = master_.InputRegisters;
        const bool lineFree = master_.LineFree();
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
                    FUZZ_CHECK(hid_.writtenCount(kPath) == sentBefore);
                    FUZZ_CHECK(master_.ExpectedFunction() == awaitedBefore);
                    return;
                }
                FUZZ_CHECK(count <= 123 && fits);
                break;
            }
        }
        FUZZ_CHECK(master_.HoldingRegisters == holding && master_.InputRegisters == input);
        if (hid_.writtenCount(kPath) == sentBefore) {  // held back, awaited as before
            FUZZ_CHECK(!lineFree);
            FUZZ_CHECK(master_.ExpectedFunction() == awaitedBefore);
            return;
        }
        FUZZ_CHECK(function != 16 || master_.LastBlockEnd() == address + count);
        FUZZ_CHECK(master_.ExpectedFunction() == function);
        last_ = {function, address, count};
    }

    void deliver(const Bytes& frame, std::size_t start) {
        const int awaited = master_.ExpectedFunction();
        FUZZ_CHECK(awaited == -1 || awaited == last_.function);
        const RegisterImage holding = master_.HoldingRegisters;
        const RegisterImage input = master_.InputRegisters;
        arrivals_.clear();
        blocks_ = 0;
        const std::uint64_t late = master_.LateAnswersDropped();

        hid_.queueFrame(kPath, frame);
        // One pass per report queued: the chunks, then the empty report.
        for (std::size_t i = 0; i < (frame.size() + 59) / 60 + 1; ++i) master_.Reader()->RunPass();
        rig_.dispatcher().pump();
        if (master_.LateAnswersDropped() != late) {  // dropped whole
            FUZZ_CHECK(!frame.empty() && arrivals_.empty() && blocks_ == 0);
            FUZZ_CHECK(master_.HoldingRegisters == holding && master_.InputRegisters == input);
            FUZZ_CHECK(master_.ExpectedFunction() == awaited);
            return;
        }

        // The registers this frame may change.
        Allowed allowedHolding, allowedInput;
        if (awaited == 3 || awaited == 4)
            (awaited == 3 ? allowedHolding : allowedInput) = {last_.address, last_.count};
        else if (awaited == 6 && frame.size() >= start + 4)
            allowedHolding = {frame[start + 2] << 8 | frame[start + 3], 1};  // the address answered
        FUZZ_CHECK(allowedHolding.keptOutside(master_.HoldingRegisters, holding));
        FUZZ_CHECK(allowedInput.keptOutside(master_.InputRegisters, input));

        const TDataType expectedType =
            awaited == 4 ? TDataType::dtInputRegister : TDataType::dtHoldingRegister;
        for (std::size_t i = 0; i < arrivals_.size(); ++i) {
            const Arrival& a = arrivals_[i];
            FUZZ_CHECK(a.stored);
            FUZZ_CHECK(a.type == expectedType);
            FUZZ_CHECK((a.type == TDataType::dtInputRegister ? allowedInput : allowedHolding)
                           .has(a.address));
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

    vadero::fuzz::MasterRig& rig_;
    const vadero::fuzz::MasterRig::Input input_;
    vadero::test::FakeHidLayer& hid_;
    TMiniModbusMaster& master_;
    Request last_;
    std::vector<Arrival> arrivals_;
    int blocks_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeader = 5;
    constexpr std::size_t kMaxDelivered = 254;
    static vadero::fuzz::MasterRig rig(true);
    Harness harness(rig);
    std::size_t at = 0;
    while (size - at >= kHeader) {
        const std::uint8_t flags = data[at];
        const int address = (data[at + 1] << 8 | data[at + 2]) % 1100 - 8;
        const int count = data[at + 3];
        Bytes frame(std::min<std::size_t>(data[at + 4], kMaxDelivered), 0);
        at += kHeader;
        const std::size_t given = std::min(frame.size(), size - at);
        std::copy_n(data + at, given, frame.begin());
        harness.record(flags, address, count, frame);
        at += given;
    }
    return 0;
}
