// Output reports of every shape sent to the emulated calibrator the way the
// host sends them, through the emulator's HID layer on its virtual clock, and
// its input reports read back. Aborts when an input report breaks the bridge's
// layout, when an answer the chip returns is no well-formed frame of the slave,
// or when answers are lost or merged on their way to the host.
//
// The input is a sequence of records; byte 0 bits 0-1 name the kind:
//   0  a raw output report: 65 bytes (bit 2 clear) or (next byte % 70) bytes,
//      taken from the input
//   1  a request of function 3, 4, 6, 16 (bits 2-3): address and count or
//      value in the next 4 bytes (16: count = next byte % 126, then the values);
//      bit 4 flips a bit of the frame, bit 5 takes the slave address from the
//      input; sent in data reports of (next byte % 60 + 1) bytes
//   2  reads (next byte % 16) input reports, one per report tick; with bit 2
//      the time first passes by (next byte x 100 us, x 4 ms with bit 3 too)
//      without a read: the chip keeps what arrives meanwhile, so a long wait
//      costs no reads of empty reports
//   3  a configuration report: format byte and option byte from the input

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "emulator/EmulatorHid.h"
#include "emulator/SerialLine.h"
#include "fuzz/FuzzCheck.h"
#include "modbus/Crc.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kReport = 65;
constexpr std::uint8_t kSlave = 100;

// One emulated calibrator for the whole run: building one (its bank, its
// identity, its layer) costs more than most inputs. Reset(), at the end of
// each input, gives the next one the device as it is right after plugging it
// in; run there, it frees what the input allocated within the input, which
// libFuzzer would otherwise suspect of a leak and run again to look.
class Host {
  public:
    Host() : hid_(vadero::emu::EmulatorHid::Time::Virtual) {
        device_ = &hid_.AddDevice();
        wake_ = hid_.makeWake();
        Reset();
    }

    // Unplugged and plugged again, the chip and the line hold nothing; the bank
    // is the factory's again. The time moves past the last byte the line may
    // still carry and onto a report tick, as at the device's start, so that the
    // timing of the input is the same whatever ran before it.
    void Reset() {
        static const vadero::emu::RegisterBank kFactory = vadero::emu::FactoryBank();
        device_->Unplug();
        device_->Plug();
        device_->SetBank(kFactory);
        const vadero::emu::Duration interval = vadero::emu::DeviceOptions{}.reportInterval;
        const auto now = hid_.now();
        auto until = std::max(now, lineFree_) + vadero::emu::SilenceTime(kSlowest) + interval;
        until += (interval - until.time_since_epoch() % interval) % interval;
        hid_.Advance(until - now);
        handle_ = hid_.open(device_->Path());
        FUZZ_CHECK(handle_ != nullptr);
        base_ = device_->Stats();
        lineFree_ = {};
        frame_.clear();
        answers_ = 0;
    }

    void write(const Bytes& report) {
        const int n = handle_->write(report.data(), static_cast<int>(report.size()));
        FUZZ_CHECK(n == (report.size() == kReport ? kReport : -1));
        // At most a chunk more on the line, at the slowest byte time.
        if (n == kReport)
            lineFree_ = std::max(hid_.now(), lineFree_) +
                        vadero::emu::ByteTime(kSlowest) * vadero::emu::kChunk;
    }

    void sendFrame(const Bytes& frame, std::size_t chunk) {
        for (std::size_t at = 0; at < frame.size(); at += chunk) {
            const std::size_t n = std::min(chunk, frame.size() - at);
            Bytes report(kReport, 0);
            report[3] = static_cast<std::uint8_t>(n | (frame.size() - at < 60 ? 0x80 : 0));
            std::copy_n(frame.begin() + static_cast<long>(at), n, report.begin() + 5);
            write(report);
        }
    }

    void configure(std::uint8_t format, std::uint8_t options) {
        Bytes report(kReport, 0);
        report[1] = 0x01;
        report[2] = format;
        report[3] = options;
        write(report);
        if (format <= 3)
            FUZZ_CHECK(static_cast<std::uint8_t>(device_->LineFormat()) == format);
        FUZZ_CHECK(device_->LineOptions() == options);
    }

    void read() {
        std::array<std::uint8_t, kReport> r{};
        FUZZ_CHECK(handle_->read(r.data(), kReport, *wake_) == kReport);
        FUZZ_CHECK(r[0] == 0 && r[1] == 0 && r[2] == 0 && r[4] == 0);
        const std::size_t length = r[3];
        FUZZ_CHECK(length <= 60);
        static constexpr std::array<std::uint8_t, kReport> kZeros{};
        FUZZ_CHECK(std::memcmp(r.data() + 5 + length, kZeros.data(), kReport - 5 - length) == 0);
        if (length > 0) {
            frame_.insert(frame_.end(), r.begin() + 5, r.begin() + 5 + static_cast<long>(length));
            return;
        }
        if (frame_.empty())
            return;
        checkAnswer(frame_);
        ++answers_;
        frame_.clear();
    }

    void pass(vadero::emu::Duration duration) { hid_.Advance(duration); }

    // Every answer the slave made reaches the host as a frame of its own.
    void finish() {
        const auto made = [this] { return device_->Stats().answers - base_.answers; };
        for (int k = 0; k < 20000 && (answers_ != made() || !frame_.empty()); ++k) read();
        FUZZ_CHECK(answers_ == made());
        FUZZ_CHECK(device_->Stats().requests - base_.requests >= made());
    }

  private:
    static void checkAnswer(const Bytes& f) {
        FUZZ_CHECK(f.size() >= 5 && f.size() <= 255);
        const std::uint16_t crc = vadero::Crc16(f.data(), f.size() - 2);
        FUZZ_CHECK(f[f.size() - 2] == (crc & 0xFF) && f[f.size() - 1] == (crc >> 8));
        FUZZ_CHECK(f[0] == kSlave);
        if (f[1] & 0x80) {
            FUZZ_CHECK(f.size() == 5);
            return;
        }
        switch (f[1]) {
            case 3:
            case 4:
                FUZZ_CHECK(f.size() == 5u + f[2]);
                break;
            case 6:
            case 16:
                FUZZ_CHECK(f.size() == 8);
                break;
            default:
                FUZZ_CHECK(false);
        }
    }

    static constexpr vadero::TPortFormat kSlowest = vadero::TPortFormat::_9600_8N2;

    vadero::emu::EmulatorHid hid_;
    vadero::emu::EmulatedLcx3* device_ = nullptr;
    std::unique_ptr<vadero::HidHandle> handle_;
    std::unique_ptr<vadero::HidWake> wake_;
    vadero::emu::DeviceStats base_;      // the counts before this input
    vadero::emu::TimePoint lineFree_{};  // no byte of this input is on the line after it
    Bytes frame_;
    std::uint64_t answers_ = 0;
};

Bytes Request(int function, std::uint8_t address, const std::uint8_t* fields, std::size_t& at,
              std::size_t size) {
    const auto next = [&]() -> std::uint8_t { return at < size ? fields[at++] : 0; };
    Bytes frame{address, static_cast<std::uint8_t>(function)};
    if (function != 16) {
        for (int k = 0; k < 4; ++k) frame.push_back(next());
    } else {
        frame.push_back(next());
        frame.push_back(next());
        const std::uint8_t count = next() % 126;
        frame.push_back(0);
        frame.push_back(count);
        frame.push_back(static_cast<std::uint8_t>(2 * count));
        for (int k = 0; k < 2 * count; ++k) frame.push_back(next());
    }
    const std::uint16_t crc = vadero::Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    return frame;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Host host;
    std::size_t at = 0;
    const auto next = [&]() -> std::uint8_t { return at < size ? data[at++] : 0; };
    constexpr int kFunctions[] = {3, 4, 6, 16};
    while (at < size) {
        const std::uint8_t c = data[at++];
        switch (c & 0x03) {
            case 0: {
                const std::size_t length = (c & 0x04) ? next() % 70 : kReport;
                Bytes report(length, 0);
                for (auto& b : report) b = next();
                host.write(report);
                break;
            }
            case 1: {
                const std::uint8_t address = (c & 0x20) ? next() : kSlave;
                Bytes frame = Request(kFunctions[(c >> 2) & 0x03], address, data, at, size);
                if (c & 0x10) {
                    const std::uint8_t bit = next();
                    frame[(bit >> 3) % frame.size()] ^= static_cast<std::uint8_t>(1u << (bit & 7));
                }
                host.sendFrame(frame, next() % 60 + 1);
                break;
            }
            case 2: {
                if (c & 0x04)
                    host.pass(std::chrono::microseconds((c & 0x08 ? 4000 : 100) * next()));
                for (int k = next() % 16; k > 0; --k) host.read();
                break;
            }
            default: {
                const std::uint8_t format = next();
                host.configure(format, next());
                break;
            }
        }
    }
    host.finish();
    host.Reset();
    return 0;
}
