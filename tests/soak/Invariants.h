#pragma once
// What must hold after every transfer of the soak, as plain functions over
// snapshots of the tool's register image and of the calibrator's registers.
// Each returns its findings as lines of text; none means the invariant holds.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vadero::soak {

inline constexpr int kRegisters = 72;
using Words = std::array<std::uint16_t, kRegisters>;
using Counts = std::array<std::uint32_t, kRegisters>;
using Findings = std::vector<std::string>;

enum class Kind { ReadAll, WriteAll, Output, Measure };
inline constexpr int kKinds = 4;
const char* KindName(Kind kind);

// A block of holding registers one request moves, first to last.
struct Block {
    int first;
    int last;
};
// The blocks a transfer reads into the image / writes into the calibrator.
std::vector<Block> BlocksRead(Kind kind);
std::vector<Block> BlocksWritten(Kind kind);

// A completed read-all: every register it reads holds the calibrator's value;
// the loop power keeps only its bit 2.
Findings CheckReadAllImage(const Words& image, const Words& device);

// The image registers a transfer changed: only registers it reads, and only
// to the value the calibrator held while it ran.
Findings CheckImageChanges(Kind kind, const Words& before, const Words& after, const Words& device);

// Image entries the session never asks for (holding registers above 71,
// input registers above 0) stay zero.
Findings CheckImageTail(const std::uint16_t* holding, const std::uint16_t* input, int size);

// The calibrator after a transfer: a block whose write count moved holds
// exactly what was sent, one whose count did not holds what it held before;
// registers outside the written blocks neither change nor count a write. A
// completed write has written every block.
Findings CheckCalibrator(Kind kind, const Words& sent, const Words& before, const Words& after,
                         const Counts& writesBefore, const Counts& writesAfter, bool completed);

// A completed measure holds the calibrator's input register 0; the input
// image changes only to that value.
Findings CheckMeasure(bool completed, std::int16_t measureRaw, std::uint16_t deviceInput,
                      std::uint16_t imageBefore, std::uint16_t imageAfter);

// How the transfer ended while it ran: by one completion or one time-out,
// never by neither nor by both, and with the session idle afterwards.
struct Ending {
    int completions = 0;
    int timeOuts = 0;
    bool idle = true;
};
Findings CheckEnding(const Ending& ending);

}  // namespace vadero::soak
