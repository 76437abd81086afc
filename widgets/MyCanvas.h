#pragma once
// Clipped line drawing: segments are cut to a rectangle with the
// Cohen-Sutherland procedure before they reach the canvas, so lines whose
// ends lie far outside the surface are drawn exactly where they cross it.

#include <optional>

class QPainter;

namespace vadero {

// Edges inclusive.
struct ClipBox {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

struct LineSegment {
    int X0 = 0;
    int Y0 = 0;
    int X1 = 0;
    int Y1 = 0;

    bool operator==(const LineSegment&) const = default;
};

enum OutCodeBit : int { kOutLeft = 1, kOutTop = 2, kOutRight = 4, kOutBottom = 8 };

int OutCode(const ClipBox& rect, int x, int y);

// The part of s inside rect, in the direction of s; nothing when it misses.
std::optional<LineSegment> ClipSegment(const ClipBox& rect, LineSegment s);

// The state of the clipped-line routines of one drawing surface: a pen
// position that moves without drawing and lines drawn only where visible.
class ClippedLines {
  public:
    ClipBox ClipRect;

    int OutCode(int x, int y) const { return vadero::OutCode(ClipRect, x, y); }
    // Moves the current point; the canvas is not touched.
    void ClipMoveTo(int x, int y);
    // Draws the visible part of the segment from the current point to (x, y),
    // then moves the current point to (x, y) as given, unclipped.
    void ClipLineTo(QPainter& canvas, int x, int y);

  private:
    int currentX_ = 0;
    int currentY_ = 0;
};

}  // namespace vadero
