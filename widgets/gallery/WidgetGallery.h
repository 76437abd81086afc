#pragma once
// Pieces of the widget gallery: each renders one widget in its telling states
// to PNG files in a folder, and returns false when a file cannot be written.

#include <QImage>
#include <QString>

namespace vadero {

bool SavePng(const QImage& image, const QString& dir, const QString& name);
// The image enlarged without smoothing, to look at single pixels.
QImage Magnified(const QImage& image, int factor);

bool RenderSegGallery(const QString& dir);
bool RenderLedGallery(const QString& dir);
bool RenderControlGallery(const QString& dir);

}  // namespace vadero
