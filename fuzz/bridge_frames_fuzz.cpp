// Input reports of every shape fed to the bridge's frame gathering, through
// the reader as the device would deliver them, with the Modbus master parsing
// what comes out. Aborts when the delivered frames differ from the payloads
// the reports carried, or when the master's copy differs from what the bridge
// delivered.
//
// The input is a sequence of records, one input report each:
//   byte 0     bits 0-5 n, payload bytes that follow; bits 6-7 the shape:
//              0 a 65-byte report whose length byte is n (61 to 63 lie beyond a chunk)
//              1 a 65-byte report whose length byte is the next input byte, any value
//              2 a report cut to (next input byte % 70) bytes, length byte n
//              3 a 65-byte report whose four header bytes follow in the input
//   then n bytes of payload, placed from report byte 5 on (the rest stays 0).
// A record whose payload byte 0 is odd also sends a read request when the
// frame it ends is delivered, so that requests run between the reports.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/MasterRig.h"

namespace {

using vadero::test::Bytes;

constexpr const char* kPath = vadero::fuzz::MasterRig::kPath;
constexpr std::size_t kReportBytes = 65;
constexpr std::size_t kChunk = 60;
constexpr std::size_t kMaxFrame = 254;

// What the reports say, read the way the bridge defines them: bits 0-5 of
// byte 3 count the payload from byte 5, at most one chunk and never past the
// bytes that arrived; a report too short to hold the bytes it announces is
// neither data nor an end. Frames end at the first empty report; a chunk that
// no longer fits 254 bytes is dropped, and so is everything after it. A report
// cut before its length byte says nothing either.
class Expected {
  public:
    void report(const Bytes& r) {
        if (r.size() < 4)
            return;
        const std::size_t field = r[3] & 0x3F;
        const std::size_t arrived = r.size() > 5 ? r.size() - 5 : 0;
        const std::size_t length = std::min({field, kChunk, arrived});
        if (field > 0 && length == 0)
            return;
        if (length > 0) {
            if (!overflowed_ && frame_.size() + length <= kMaxFrame)
                frame_.insert(frame_.end(), r.begin() + 5,
                              r.begin() + 5 + static_cast<long>(length));
            else
                overflowed_ = true;
            active_ = true;
            return;
        }
        if (active_)
            frames.push_back(frame_);
        active_ = false;
        overflowed_ = false;
        frame_.clear();
    }
    std::vector<Bytes> frames;

  private:
    Bytes frame_;
    bool active_ = false;
    bool overflowed_ = false;
};

struct Record {
    Bytes report;
    bool request = false;
};

std::vector<Record> Records(const std::uint8_t* data, std::size_t size) {
    std::vector<Record> records;
    std::size_t at = 0;
    const auto next = [&]() -> std::uint8_t { return at < size ? data[at++] : 0; };
    while (at < size) {
        const std::uint8_t control = data[at++];
        const std::size_t n = control & 0x3F;
        Bytes report(kReportBytes, 0);
        report[3] = static_cast<std::uint8_t>(n);
        std::size_t cut = kReportBytes;
        switch (control >> 6) {
            case 1:
                report[3] = next();
                break;
            case 2:
                cut = next() % 70;
                break;
            case 3:
                for (std::size_t k = 1; k <= 4; ++k) report[k] = next();
                break;
            default:
                break;
        }
        bool request = false;
        for (std::size_t k = 0; k < n && at < size; ++k) {
            const std::uint8_t byte = data[at++];
            if (k == 0)
                request = (byte & 1) != 0;
            if (5 + k < kReportBytes)
                report[5 + k] = byte;
        }
        report.resize(std::min(cut, kReportBytes));
        records.push_back({std::move(report), request});
    }
    return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<Record> records = Records(data, size);
    Expected expected;
    for (const Record& r : records) expected.report(r.report);

    static vadero::fuzz::MasterRig rig(false);
    const auto input = rig.Begin();
    vadero::TMiniModbusMaster& master = rig.master();
    const vadero::NotifyEvent& parse = rig.parse();

    std::vector<Bytes> delivered;
    bool requestAfter = false;
    master.OnRXFrame = [&](vadero::TObject* sender) {
        FUZZ_CHECK(sender == &master);
        const std::string& rx = master.RxData();
        FUZZ_CHECK(master.RxCount() == rx.size());
        FUZZ_CHECK(rx.size() <= kMaxFrame);
        delivered.emplace_back(rx.begin(), rx.end());
        parse(sender);
        FUZZ_CHECK(master.LastFrame() == rx);
        FUZZ_CHECK(master.LastFrameLength() == static_cast<int>(rx.size()));
        // A request sent from the handler, as the calibrator's session does.
        if (requestAfter)
            master.ReadHoldingRegisters(static_cast<int>(delivered.size() % 64),
                                        1 + static_cast<int>(rx.size() % 125));
    };

    for (Record& r : records) {
        requestAfter = r.request;
        rig.hid().queueInput(kPath, std::move(r.report));
        master.Reader()->RunPass();  // reads exactly this report: nothing else is queued
        rig.dispatcher().pump();
    }
    FUZZ_CHECK(delivered == expected.frames);
    return 0;
}
