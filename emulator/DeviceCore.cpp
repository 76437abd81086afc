#include "emulator/DeviceCore.h"

#include <algorithm>

namespace vadero::emu {

void DeviceCore::Advance(TimePoint to) {
    for (;;) {
        const auto frameEnd = line_.FrameEnd();
        const bool requestDue = frameEnd && *frameEnd <= to;
        const bool answerDue = !answers_.empty() && answers_.front().complete <= to;
        if (!requestDue && !answerDue)
            break;
        if (requestDue && (!answerDue || *frameEnd <= answers_.front().complete)) {
            now_ = std::max(now_, *frameEnd);
            answer(*frameEnd, line_.TakeFrame());
        } else {
            now_ = std::max(now_, answers_.front().complete);
            for (const Report& r : InputReportsFor(answers_.front().frame)) reports_.push_back(r);
            answers_.pop_front();
        }
    }
    now_ = std::max(now_, to);
}

void DeviceCore::answer(TimePoint heard, Bytes request) {
    if (!powered_)
        return;
    ++stats_.requests;
    SlaveReply reply = Serve(request, bank_);
    for (int i = 0; i < reply.writtenCount; ++i)
        ++writes_[static_cast<std::size_t>(reply.writtenFirst + i)];
    if (!reply.answer)
        return;
    ++stats_.answers;
    Afflicted out = ApplyFaults(faults, dice_, std::move(*reply.answer));
    stats_.dropped += out.dropped;
    stats_.corrupted += out.corrupted;
    stats_.duplicated += out.duplicated;
    // One direction of the line: a copy leaves after the one before it, and a
    // silence of 3.5 characters keeps two copies two frames.
    const Duration byteTime = ByteTime(format_);
    TimePoint start = std::max(heard + turnaround + faults.extraDelay, answerLineFree_);
    for (Bytes& frame : out.frames) {
        const TimePoint end = start + byteTime * static_cast<long long>(frame.size());
        answers_.push_back({end, std::move(frame)});
        start = end + SilenceTime(format_);
        answerLineFree_ = start;
    }
}

void DeviceCore::TakeOutputReport(TimePoint at, const OutputReport& report) {
    Advance(at);
    switch (report.kind) {
        case OutputReport::Kind::Data:
            ++stats_.dataReports;
            line_.Transmit(now_, report.payload, format_);
            break;
        case OutputReport::Kind::Configuration:
            ++stats_.configurationReports;
            if (report.format)
                format_ = *report.format;
            options_ = report.options;
            break;
        case OutputReport::Kind::Other:
            break;
    }
}

Report DeviceCore::NextInputReport(TimePoint at) {
    Advance(at);
    if (reports_.empty())
        return InputReport({});
    const Report report = reports_.front();
    reports_.pop_front();
    return report;
}

void DeviceCore::Unplugged() {
    line_.Clear();
    answers_.clear();
    reports_.clear();
    format_ = TPortFormat::_9600_8N2;
    options_ = 0;
}

void DeviceCore::SetPowered(bool powered) {
    if (powered == powered_)
        return;
    powered_ = powered;
    // Switched off, the calibrator loses what it was hearing and saying.
    if (!powered_) {
        line_.Clear();
        answers_.clear();
    }
}

std::uint32_t DeviceCore::WriteCount(int address) const {
    if (address < 0 || address >= kHoldingCount)
        return 0;
    return writes_[static_cast<std::size_t>(address)];
}

}  // namespace vadero::emu
