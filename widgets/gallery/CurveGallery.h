#pragma once
#include <QString>

namespace vadero {
// Renders the curve editor in its telling states to PNG files in dir.
void RenderCurveGallery(const QString& dir);
}  // namespace vadero
