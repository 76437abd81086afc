#pragma once
// The ramp profile as the ramp page shows and edits it: the six points of its
// curve and the two intervals a dragged point changes. Pure functions, single precision.

#include <array>
#include <cstdint>
#include <optional>

#include "calibrator/RegisterMap.h"
#include "widgets/WinDrawTypes.h"

namespace vadero {

constexpr int kRampPointCount = 6;
constexpr int kRampLastPoint = kRampPointCount - 1;

using RampTimes = std::array<std::uint16_t, kRampTimeCount>;  // t1..t4

// (0, L1), (D, L1), then each point tk seconds after the one before, on L2,
// L2, L1, L1; each sum in single precision.
std::array<TDrawPoint, kRampPointCount> RampCurve(std::uint16_t delay, const RampTimes& times,
                                                  float level1, float level2);

// What a drag of point seg (1 to 4) to x changes, with prevX and nextX the x
// of its neighbours before the move: the interval before it (the delay for
// point 1, else t[seg - 1]) and the one after it (t[seg]), each rounded, and
// which level, 1 or 2, the point belongs to. Times are limited to 99, the
// delay only to its register. Nothing for another point or an x beyond a
// neighbour.
struct RampDrag {
    int level = 1;
    std::uint16_t before = 0;
    std::uint16_t after = 0;
};
std::optional<RampDrag> DragRamp(int seg, float prevX, float nextX, float x);

}  // namespace vadero
