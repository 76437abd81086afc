#include "widgets/MyCanvas.h"

#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace vadero {
namespace {

// base + rnd(delta), half-even; saturated so that ends far outside the
// rectangle cannot overflow.
int AddRounded(int base, double delta) {
    const double v = static_cast<double>(base) + std::nearbyint(delta);
    return static_cast<int>(std::clamp(v, double{INT_MIN}, double{INT_MAX}));
}

double Slope(int num1, int num0, int den1, int den0) {
    return (static_cast<double>(num1) - num0) / (static_cast<double>(den1) - den0);
}

// Every edge flagged in the code is handled in one pass, in the order left,
// top, right, bottom, each step starting from the point as moved before it.
void MoveOntoEdges(const ClipBox& r, int code, int& x0, int& y0, int x1, int y1) {
    if ((code & kOutLeft) != 0 && x1 != x0) {
        y0 = AddRounded(y0, (static_cast<double>(r.Left) - x0) * Slope(y1, y0, x1, x0));
        x0 = r.Left;
    }
    if ((code & kOutTop) != 0 && y1 != y0) {
        x0 = AddRounded(x0, (static_cast<double>(r.Top) - y0) * Slope(x1, x0, y1, y0));
        y0 = r.Top;
    }
    if ((code & kOutRight) != 0 && x1 != x0) {
        y0 = AddRounded(y0, (static_cast<double>(r.Right) - x0) * Slope(y1, y0, x1, x0));
        x0 = r.Right;
    }
    if ((code & kOutBottom) != 0 && y1 != y0) {
        x0 = AddRounded(x0, (static_cast<double>(r.Bottom) - y0) * Slope(x1, x0, y1, y0));
        y0 = r.Bottom;
    }
}

}  // namespace

int OutCode(const ClipBox& rect, int x, int y) {
    int code = 0;
    if (x < rect.Left)
        code |= kOutLeft;
    if (y < rect.Top)
        code |= kOutTop;
    if (x > rect.Right)
        code |= kOutRight;
    if (y > rect.Bottom)
        code |= kOutBottom;
    return code;
}

std::optional<LineSegment> ClipSegment(const ClipBox& rect, LineSegment s) {
    int c0 = OutCode(rect, s.X0, s.Y0);
    int c1 = OutCode(rect, s.X1, s.Y1);
    bool swapped = false;
    // Each pass leaves the moved end on an edge; a few passes always settle it.
    // The bound only guards against a rounding cycle, which then draws nothing.
    constexpr int kMaxPasses = 8;
    for (int pass = 0; (c0 & c1) == 0 && (c0 | c1) != 0; ++pass) {
        if (pass == kMaxPasses) {
            return std::nullopt;
        }
        if (c0 == 0) {
            std::swap(s.X0, s.X1);
            std::swap(s.Y0, s.Y1);
            std::swap(c0, c1);
            swapped = !swapped;
        }
        MoveOntoEdges(rect, c0, s.X0, s.Y0, s.X1, s.Y1);
        c0 = OutCode(rect, s.X0, s.Y0);
    }
    if ((c0 & c1) != 0) {
        return std::nullopt;
    }
    if (swapped) {
        std::swap(s.X0, s.X1);
        std::swap(s.Y0, s.Y1);
    }
    return s;
}

void ClippedLines::ClipMoveTo(int x, int y) {
    currentX_ = x;
    currentY_ = y;
}

void ClippedLines::ClipLineTo(QPainter& canvas, int x, int y) {
    const auto visible = ClipSegment(ClipRect, {currentX_, currentY_, x, y});
    if (visible) {
        canvas.drawLine(visible->X0, visible->Y0, visible->X1, visible->Y1);
    }
    currentX_ = x;
    currentY_ = y;
}

}  // namespace vadero
