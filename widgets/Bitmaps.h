#pragma once

#include <QImage>

namespace vadero {

// The picture with every pixel of its bottom-left pixel's colour made
// transparent, the way bitmaps of lamps and buttons let the parent show.
QImage WithAutoTransparency(const QImage& picture);

}  // namespace vadero
