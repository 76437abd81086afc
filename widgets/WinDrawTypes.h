#pragma once
// Types of the curve editor: grid and scroll-bar styles, the point of the
// curve and the two events through which the host vetoes or corrects edits.

#include <cstdint>
#include <functional>

class QObject;

namespace vadero {

// In SnapGrid: the coordinates that snap (gHorizontal: X, gVertical: Y).
// In ShowAxes: the axes that carry a mark at 100.
enum class TGStyle : std::uint8_t { gNone = 0, gHorizontal = 1, gVertical = 2, gBoth = 3 };

enum class TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

inline bool HasHorizontal(TGStyle s) {
    return s == TGStyle::gHorizontal || s == TGStyle::gBoth;
}
inline bool HasVertical(TGStyle s) {
    return s == TGStyle::gVertical || s == TGStyle::gBoth;
}

// World units.
struct TDrawPoint {
    float X = 0.0F;
    float Y = 0.0F;
};

// ValueX and ValueY arrive snapped, AllowChange true; on return the point takes
// the values as the handler left them unless AllowChange was cleared.
using TOnChangeValue =
    std::function<void(QObject* Sender, int Seg, float& ValueX, float& ValueY, bool& AllowChange)>;
// AllowSelecct arrives true; clearing it refuses the point and the search goes on.
using TOnPointSelected = std::function<void(QObject* Sender, int Seg, bool& AllowSelecct)>;

}  // namespace vadero
