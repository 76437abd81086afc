#include "tests/soak/Invariants.h"

#include <sstream>

namespace vadero::soak {

namespace {

constexpr int kLoopPower = 2;
constexpr std::uint16_t kLoopPowerKept = 2;

bool Covers(const std::vector<Block>& blocks, int k) {
    for (const Block& b : blocks)
        if (k >= b.first && k <= b.last)
            return true;
    return false;
}

std::string Register(int k, const char* what, unsigned got, unsigned expected) {
    std::ostringstream s;
    s << "register " << k << ": " << what << " " << got << ", expected " << expected;
    return s.str();
}

}  // namespace

const char* KindName(Kind kind) {
    switch (kind) {
        case Kind::ReadAll:
            return "read-all";
        case Kind::WriteAll:
            return "write-all";
        case Kind::Output:
            return "output";
        case Kind::Measure:
            return "measure";
    }
    return "?";
}

std::vector<Block> BlocksRead(Kind kind) {
    if (kind == Kind::ReadAll)
        return {{0, 11}, {16, 23}, {48, 71}};
    return {};  // read-output is not one of the soak's transfers; measure reads input 0
}

std::vector<Block> BlocksWritten(Kind kind) {
    if (kind == Kind::WriteAll)
        return {{1, 11}, {16, 23}, {48, 71}};
    if (kind == Kind::Output)
        return {{0, 2}};
    return {};
}

Findings CheckReadAllImage(const Words& image, const Words& device) {
    Findings out;
    for (const Block& b : BlocksRead(Kind::ReadAll)) {
        for (int k = b.first; k <= b.last; ++k) {
            const auto i = static_cast<std::size_t>(k);
            const std::uint16_t expected =
                k == kLoopPower ? static_cast<std::uint16_t>(device[i] & kLoopPowerKept)
                                : device[i];
            if (image[i] != expected)
                out.push_back("read-all completed: " +
                              Register(k, "image holds", image[i], expected));
        }
    }
    return out;
}

Findings CheckImageChanges(Kind kind, const Words& before, const Words& after,
                           const Words& device) {
    Findings out;
    const auto read = BlocksRead(kind);
    for (int k = 0; k < kRegisters; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (after[i] == before[i])
            continue;
        if (!Covers(read, k)) {
            out.push_back(std::string(KindName(kind)) +
                          " changed an image register it does not read: " +
                          Register(k, "now", after[i], before[i]));
            continue;
        }
        const std::uint16_t held =
            k == kLoopPower ? static_cast<std::uint16_t>(device[i] & kLoopPowerKept) : device[i];
        if (after[i] != held)
            out.push_back(std::string(KindName(kind)) +
                          " stored a value the calibrator never held: " +
                          Register(k, "image", after[i], held));
    }
    return out;
}

Findings CheckImageTail(const std::uint16_t* holding, const std::uint16_t* input, int size) {
    Findings out;
    for (int k = kRegisters; k < size; ++k)
        if (holding[k] != 0)
            out.push_back(Register(k, "holding image beyond 71 holds", holding[k], 0));
    for (int k = 1; k < size; ++k)
        if (input[k] != 0)
            out.push_back(Register(k, "input image beyond 0 holds", input[k], 0));
    return out;
}

Findings CheckCalibrator(Kind kind, const Words& sent, const Words& before, const Words& after,
                         const Counts& writesBefore, const Counts& writesAfter, bool completed) {
    Findings out;
    const std::string name = KindName(kind);
    const auto written = BlocksWritten(kind);
    for (const Block& b : written) {
        const auto first = static_cast<std::size_t>(b.first);
        const bool moved = writesAfter[first] != writesBefore[first];
        if (completed && !moved)
            out.push_back(name + " completed, yet block " + std::to_string(b.first) + "-" +
                          std::to_string(b.last) + " never reached the calibrator");
        for (int k = b.first; k <= b.last; ++k) {
            const auto i = static_cast<std::size_t>(k);
            if ((writesAfter[i] != writesBefore[i]) != moved)
                out.push_back(name + ": block " + std::to_string(b.first) +
                              " written in part, register " + std::to_string(k));
            const std::uint16_t expected = moved ? sent[i] : before[i];
            if (after[i] != expected)
                out.push_back(name + (moved ? " written: " : " not written: ") +
                              Register(k, "calibrator holds", after[i], expected));
        }
    }
    for (int k = 0; k < kRegisters; ++k) {
        if (Covers(written, k))
            continue;
        const auto i = static_cast<std::size_t>(k);
        if (writesAfter[i] != writesBefore[i])
            out.push_back(name + " wrote a register outside its blocks: " +
                          Register(k, "writes", writesAfter[i], writesBefore[i]));
        if (after[i] != before[i])
            out.push_back(name + " changed a register outside its blocks: " +
                          Register(k, "calibrator holds", after[i], before[i]));
    }
    return out;
}

Findings CheckMeasure(bool completed, std::int16_t measureRaw, std::uint16_t deviceInput,
                      std::uint16_t imageBefore, std::uint16_t imageAfter) {
    Findings out;
    if (completed && measureRaw != static_cast<std::int16_t>(deviceInput))
        out.push_back("measure completed with " + std::to_string(measureRaw) +
                      ", the calibrator held " +
                      std::to_string(static_cast<std::int16_t>(deviceInput)));
    if (imageAfter != imageBefore && imageAfter != deviceInput)
        out.push_back("input image register 0 holds " + std::to_string(imageAfter) +
                      ", never held by the calibrator (" + std::to_string(deviceInput) + ")");
    return out;
}

Findings CheckEnding(const Ending& ending) {
    Findings out;
    if (ending.completions == 0 && ending.timeOuts == 0)
        out.push_back("transfer ended silently: neither completion nor time-out");
    if (ending.completions > 1)
        out.push_back("transfer completed " + std::to_string(ending.completions) + " times");
    if (ending.timeOuts > 1)
        out.push_back("transfer timed out " + std::to_string(ending.timeOuts) + " times");
    if (ending.completions > 0 && ending.timeOuts > 0)
        out.push_back("transfer both completed and timed out");
    if (!ending.idle)
        out.push_back("session not idle after the transfer ended");
    return out;
}

}  // namespace vadero::soak
