#pragma once
// The three small drawings that explain the ramp grids, 92 x 40 pixels each.

#include <QPixmap>

namespace vadero {

enum class RampPicture {
    Times,        // one cycle with its four intervals t1..t4
    Levels,       // the cycle between the lower line L1 and the upper line L2
    DelayRepeat,  // the delay D, then a cycle repeated Rep times
};

constexpr int kRampPictureWidth = 92;
constexpr int kRampPictureHeight = 40;

QPixmap DrawRampPicture(RampPicture picture);

}  // namespace vadero
