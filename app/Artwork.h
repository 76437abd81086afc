#pragma once
// The window's pictures, drawn rather than shipped as files.

#include <QImage>
#include <QPixmap>

class QPainter;

namespace vadero {

// The logo in colour, or in one colour for the desktop's symbolic icons.
enum class LogoStyle { Colour, Symbolic };

// Draws the logo into the square (0, 0, size, size) of any paint device:
// an image, or an SVG file for the scalable icons.
void PaintMakerLogo(QPainter& painter, double size, LogoStyle style);

// The maker's 32 x 32 logo (also the window icon). The image needs no
// display, so the build draws the desktop icons from it.
QImage MakerLogoImage(int size);
QPixmap MakerLogo(int size = 32);
// The scan button's 48 x 48 picture: a USB plug; its bottom-left pixel's
// colour is the transparent one.
QPixmap ScanGlyph();

}  // namespace vadero
