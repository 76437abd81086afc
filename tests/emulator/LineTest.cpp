// The bridge chip and the serial line on the device's own time: byte times,
// the end of a request, the answer's timing and reports, and the faults.
#include <gtest/gtest.h>

#include <bit>

#include "emulator/DeviceCore.h"
#include "modbus/Crc.h"

namespace vadero::emu {
namespace {

using namespace std::chrono_literals;

const Bytes kRead24{0x64, 0x03, 0x00, 0x30, 0x00, 0x18, 0x4C, 0x3A};
const TimePoint t0 = TimePoint{} + 1s;

OutputReport Data(const Bytes& payload) {
    Report report{};
    report[3] = static_cast<std::uint8_t>(payload.size() | 0x80);
    std::copy(payload.begin(), payload.end(), report.begin() + 5);
    return *ParseOutputReport(report);
}

OutputReport Configuration(TPortFormat format) {
    Report report{};
    report[1] = 0x01;
    report[2] = static_cast<std::uint8_t>(format);
    report[3] = 0x40;
    return *ParseOutputReport(report);
}

struct Frame {
    Bytes bytes;
    TimePoint firstReport;
};

// Reads a report every 4 ms from `from` until `until`; frames end at empty reports.
std::vector<Frame> Collect(DeviceCore& core, TimePoint from, TimePoint until) {
    std::vector<Frame> frames;
    Bytes current;
    TimePoint first{};
    for (TimePoint t = from; t <= until; t += 4ms) {
        const Report r = core.NextInputReport(t);
        const int n = r[3] & 0x3F;
        EXPECT_LE(n, kChunk);
        if (n > 0 && current.empty())
            first = t;
        current.insert(current.end(), r.begin() + 5, r.begin() + 5 + n);
        if (n == 0 && !current.empty())
            frames.push_back({std::exchange(current, {}), first});
    }
    return frames;
}

Bytes Answer24() {
    RegisterBank bank = FactoryBank();
    return *Serve(kRead24, bank).answer;
}

TEST(Line, ElevenBitsAByteInEveryFormat) {
    EXPECT_EQ(ByteTime(TPortFormat::_9600_8N2), 1145833ns);
    EXPECT_EQ(ByteTime(TPortFormat::_9600_8E1), 1145833ns);
    EXPECT_EQ(ByteTime(TPortFormat::_19200_8E1), 572916ns);
    EXPECT_EQ(ByteTime(TPortFormat::_38400_8E1), 286458ns);
    EXPECT_EQ(SilenceTime(TPortFormat::_9600_8N2), 4010415ns);
}

TEST(Line, TheAnswerTakesSilenceTurnaroundAndItsBytes) {
    for (const TPortFormat format :
         {TPortFormat::_9600_8N2, TPortFormat::_19200_8E1, TPortFormat::_38400_8E1}) {
        DeviceCore core(FactoryBank());
        core.TakeOutputReport(t0, Configuration(format));
        core.TakeOutputReport(t0, Data(kRead24));
        EXPECT_EQ(core.LineFormat(), format);
        EXPECT_EQ(core.LineOptions(), 0x40);
        const Duration b = ByteTime(format);
        const TimePoint ready = t0 + 8 * b + SilenceTime(format) + core.turnaround + 53 * b;
        EXPECT_EQ(core.NextInputReport(ready - 1ns)[3], 0) << "not before its last byte";
        const Report answer = core.NextInputReport(ready);
        ASSERT_EQ(answer[3], 53);
        EXPECT_EQ(Bytes(answer.begin() + 5, answer.begin() + 58), Answer24());
        EXPECT_EQ(core.NextInputReport(ready)[3], 0) << "the frame ends with an empty report";
        EXPECT_EQ(core.Stats().requests, 1u);
    }
}

TEST(Line, ARequestEndsAfterThreeAndAHalfSilentCharacters) {
    const Duration b = ByteTime(TPortFormat::_9600_8N2);
    // Split over two reports; the second comes before the line was silent long enough.
    DeviceCore joined(FactoryBank());
    joined.TakeOutputReport(t0, Data({kRead24.begin(), kRead24.begin() + 3}));
    joined.TakeOutputReport(t0 + 3 * b + SilenceTime(TPortFormat::_9600_8N2) - 1ns,
                            Data({kRead24.begin() + 3, kRead24.end()}));
    const auto frames = Collect(joined, t0, t0 + 200ms);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].bytes, Answer24());
    EXPECT_EQ(joined.Stats().requests, 1u);

    // The same pieces with the full silence between them: two broken requests, no answer.
    DeviceCore split(FactoryBank());
    split.TakeOutputReport(t0, Data({kRead24.begin(), kRead24.begin() + 3}));
    split.TakeOutputReport(t0 + 3 * b + SilenceTime(TPortFormat::_9600_8N2),
                           Data({kRead24.begin() + 3, kRead24.end()}));
    EXPECT_TRUE(Collect(split, t0, t0 + 200ms).empty());
    EXPECT_EQ(split.Stats().requests, 2u);
    EXPECT_EQ(split.Stats().answers, 0u);
}

TEST(Line, LongAnswersComeBackInChunksOfSixty) {
    DeviceCore core(FactoryBank());
    core.TakeOutputReport(t0, Data(WithCrc({0x64, 0x03, 0x00, 0x00, 0x00, 72})));
    std::vector<int> lengths;
    for (TimePoint t = t0; t < t0 + 400ms; t += 4ms) {
        const int n = core.NextInputReport(t)[3];
        if (n > 0 || (!lengths.empty() && lengths.back() > 0))
            lengths.push_back(n);
    }
    EXPECT_EQ(lengths, (std::vector<int>{60, 60, 29, 0}));
}

TEST(Line, FaultsBreakDropDuplicateAndDelayAnswers) {
    const Bytes good = Answer24();
    const auto run = [&](const Faults& faults) {
        DeviceCore core(FactoryBank());
        core.faults = faults;
        core.TakeOutputReport(t0, Data(kRead24));
        auto frames = Collect(core, t0, t0 + 400ms);
        return std::make_pair(frames, core.Stats());
    };
    const auto [plain, plainStats] = run({});
    ASSERT_EQ(plain.size(), 1u);

    const auto [dropped, dropStats] = run({.dropShare = 1});
    EXPECT_TRUE(dropped.empty());
    EXPECT_EQ(dropStats.dropped, 1u);

    const auto [corrupt, corruptStats] = run({.corruptShare = 1});
    ASSERT_EQ(corrupt.size(), 1u);
    ASSERT_EQ(corrupt[0].bytes.size(), good.size());
    int flipped = 0;
    for (std::size_t i = 0; i < good.size(); ++i)
        flipped += std::popcount(static_cast<unsigned>(corrupt[0].bytes[i] ^ good[i]));
    EXPECT_EQ(flipped, 1);
    const Bytes& c = corrupt[0].bytes;
    EXPECT_NE(Crc16(c.data(), c.size() - 2), c[c.size() - 2] | c[c.size() - 1] << 8);
    EXPECT_EQ(corruptStats.corrupted, 1u);

    const auto [twice, twiceStats] = run({.duplicateShare = 1});
    ASSERT_EQ(twice.size(), 2u);
    EXPECT_EQ(twice[0].bytes, good);
    EXPECT_EQ(twice[1].bytes, good);
    EXPECT_GE(twice[1].firstReport - twice[0].firstReport, 53 * ByteTime(TPortFormat::_9600_8N2));

    const auto [slow, slowStats] = run({.extraDelay = 40ms});
    ASSERT_EQ(slow.size(), 1u);
    EXPECT_EQ(slow[0].firstReport - plain[0].firstReport, 40ms);
}

TEST(Line, TheSameSeedGivesTheSameFaults) {
    const auto outcomes = [](std::uint64_t seed) {
        DeviceCore core(FactoryBank());
        core.Dice().Reseed(seed);
        core.faults = {.corruptShare = 0.3, .dropShare = 0.3, .duplicateShare = 0.3};
        std::string fates;
        TimePoint t = t0;
        for (int i = 0; i < 40; ++i, t += 200ms) {
            core.TakeOutputReport(t, Data(kRead24));
            const auto frames = Collect(core, t, t + 196ms);
            fates += frames.empty()                  ? '-'
                     : frames.size() == 2            ? '2'
                     : frames[0].bytes == Answer24() ? 'o'
                                                     : 'x';
        }
        const DeviceStats s = core.Stats();
        EXPECT_EQ(s.answers, 40u);
        EXPECT_GT(s.dropped * s.corrupted * s.duplicated, 0u) << fates;
        return fates;
    };
    EXPECT_EQ(outcomes(7), outcomes(7));
    EXPECT_NE(outcomes(7), outcomes(8));
}

TEST(Line, PoweredOffTheCalibratorHearsNothing) {
    DeviceCore core(FactoryBank());
    core.SetPowered(false);
    core.TakeOutputReport(t0, Data(kRead24));
    EXPECT_TRUE(Collect(core, t0, t0 + 200ms).empty());
    EXPECT_EQ(core.Stats().requests, 0u);
    // An answer under way is lost when the power goes.
    core.SetPowered(true);
    core.TakeOutputReport(t0 + 200ms, Data(kRead24));
    core.Advance(t0 + 230ms);
    core.SetPowered(false);
    EXPECT_TRUE(Collect(core, t0 + 230ms, t0 + 400ms).empty());
    core.SetPowered(true);
    core.TakeOutputReport(t0 + 400ms, Data(kRead24));
    EXPECT_EQ(Collect(core, t0 + 400ms, t0 + 600ms).size(), 1u);
}

TEST(Line, UnpluggingResetsTheChip) {
    DeviceCore core(FactoryBank());
    core.TakeOutputReport(t0, Configuration(TPortFormat::_38400_8E1));
    core.TakeOutputReport(t0, Data(kRead24));
    core.Advance(t0 + 100ms);  // the answer waits in the chip
    core.Unplugged();
    EXPECT_EQ(core.LineFormat(), TPortFormat::_9600_8N2);
    EXPECT_EQ(core.NextInputReport(t0 + 104ms)[3], 0);
}

}  // namespace
}  // namespace vadero::emu
