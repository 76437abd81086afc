#pragma once
// The mapping between world units and pixels of the curve editor's plot
// surface, and grid snapping. Pure functions; rounding goes to the nearest
// integer, halves to the even neighbour.

#include <cstdint>

namespace vadero {

struct CurveGeometry {
    int OriginX = 0;  // pixel column of Xmin
    int OriginY = 0;  // pixel row of Ymin
    int ScaleX = 0;   // pixels from Xmin to Xmax
    int ScaleY = 0;   // pixels from Ymin to Ymax
};

// Pixel results are kept within this many pixels of the surface so that the
// line clipping never overflows, whatever world values the host stores.
inline constexpr int kPixelLimit = 1 << 24;

CurveGeometry ComputeGeometry(int width, int height, int scrollX, int scrollY, int zoom);

// Half-even rounding to a pixel, saturated to +-kPixelLimit; NaN gives 0.
int RoundPixel(long double v);

// rnd((v - min) * scale / (max - min)): the pixel distance of v from min.
// A zero span maps every value onto min.
int WorldToPixelOffset(float v, float min, float max, int scale);

// min + (max - min) * offset / scale; min when scale is 0.
float PixelOffsetToWorld(long double offset, float min, float max, int scale);

// rnd(v / step) * step, the product formed as a 64-bit integer. A step of 0,
// and a quotient beyond 64 bits (no finer step left in a float there), leave v.
float SnapToStep(float v, std::uint16_t step);

}  // namespace vadero
