// Painting of the curve editor's plot surface.

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <cmath>
#include <vector>

#include "widgets/WinDraw.h"
#include "widgets/WinDrawTrace.h"

namespace vadero {
namespace {

const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kBlack(0x00, 0x00, 0x00);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kYellow(0xFF, 0xFF, 0x00);
const QColor kPaleYellow(0xFF, 0xFF, 0xCF);

constexpr int kMarkHalf = 5;    // the marks at 100 reach 5 pixels across their axis
constexpr int kMarkerHalf = 5;  // the point markers are squares of 2 x 5 pixels
constexpr int kGridInset = 15;  // left, right and bottom
constexpr int kGridTop = 30;    // room for the caption
constexpr int kCaptionTop = 1;
// Crossings beyond this mean grid steps far below a pixel: the grid would
// paint the surface solid and take seconds, so it is left out.
constexpr long double kMaxGridCrossings = 1 << 20;

QPen LinePen(const QColor& colour, int width) {
    return QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

}  // namespace

void TTrace::Paint(QPainter& canvas) {
    const int w = width();
    const int h = height();
    if (w <= 0 || h <= 0) {
        return;
    }
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);

    // The shape: its pen frames the surface, its brush fills it.
    canvas.setPen(LinePen(kBlack, 1));
    canvas.setBrush(isEnabled() ? kWhite : kSilver);
    canvas.drawRect(0, 0, w - 1, h - 1);
    canvas.setBrush(Qt::NoBrush);

    UpdateGeometry();
    clip_.ClipRect = {0, 0, w, h};

    if (owner_.ShowGrid()) {
        DrawGrid(canvas, owner_.XGrid(), owner_.YGrid());
    }

    // Both axes are drawn whatever ShowAxes says; it only adds the marks.
    canvas.setPen(LinePen(kRed, 1));
    const int a = WorldToPixelX(0.0F);
    const int b = WorldToPixelY(0.0F);
    clip_.ClipMoveTo(a, 0);
    clip_.ClipLineTo(canvas, a, h);
    clip_.ClipMoveTo(0, b);
    clip_.ClipLineTo(canvas, w, b);
    const int c = WorldToPixelX(100.0F);
    const int d = WorldToPixelY(100.0F);
    if (HasHorizontal(owner_.ShowAxes())) {
        clip_.ClipMoveTo(c, b - kMarkHalf);
        clip_.ClipLineTo(canvas, c, b + kMarkHalf);
    }
    if (HasVertical(owner_.ShowAxes())) {
        clip_.ClipMoveTo(a - kMarkHalf, d);
        clip_.ClipLineTo(canvas, a + kMarkHalf, d);
    }

    // The curve; each marker goes under the segment that ends at its point.
    canvas.setPen(LinePen(kBlack, 1));
    QPoint p = PixelOf(0);
    DrawMarker(canvas, p.x(), p.y(), 0);
    clip_.ClipMoveTo(p.x(), p.y());
    for (int i = 1; i <= LastIndex(); ++i) {
        p = PixelOf(i);
        DrawMarker(canvas, p.x(), p.y(), i);
        clip_.ClipLineTo(canvas, p.x(), p.y());
    }

    // The caption, without background, centred at the top.
    canvas.setPen(LinePen(kBlack, 1));
    canvas.setBrush(Qt::NoBrush);
    QFont font(QStringLiteral("MS Serif"));
    font.setStyleHint(QFont::Serif);
    font.setPointSize(14);
    canvas.setFont(font);
    const QString caption = owner_.Caption();
    const QFontMetrics metrics = canvas.fontMetrics();
    const int t = metrics.horizontalAdvance(caption);
    canvas.drawText(QPoint((w - t) / 2, kCaptionTop + metrics.ascent()), caption);
}

void TTrace::DrawMarker(QPainter& canvas, int px, int py, int index) {
    if (!showMarkers_) {
        return;
    }
    const QColor colour = canvas.pen().color();
    canvas.setPen(LinePen(colour, index == dragIndex_ ? 3 : 1));
    canvas.setBrush(index == hotIndex_ ? QBrush(kYellow) : QBrush(Qt::NoBrush));
    // Straight on the canvas: the painter clips it to the surface.
    canvas.drawRect(QRect(px - kMarkerHalf, py - kMarkerHalf, 2 * kMarkerHalf, 2 * kMarkerHalf));
    canvas.setBrush(Qt::NoBrush);
    canvas.setPen(LinePen(colour, 1));
}

void TTrace::DrawGrid(QPainter& canvas, std::uint16_t sx, std::uint16_t sy) {
    if (sx == 0 || sy == 0) {
        return;
    }
    const int w = width();
    const int h = height();
    // The grid spans the surface less the insets, moved out or in to the
    // nearest grid lines.
    const float x0 = SnapToStep(PixelToWorldX(kGridInset), sx);
    const float x1 = SnapToStep(PixelToWorldX(w - kGridInset), sx);
    const float y0 = SnapToStep(PixelToWorldY(h - kGridInset), sy);
    const float y1 = SnapToStep(PixelToWorldY(kGridTop), sy);
    const long double nxReal = std::nearbyint((static_cast<long double>(x1) - x0) / sx);
    const long double nyReal = std::nearbyint((static_cast<long double>(y1) - y0) / sy);
    // A reversed range (max below min) or a non-finite one has no grid.
    if (!(nxReal >= 0 && nyReal >= 0 && (nxReal + 1) * (nyReal + 1) <= kMaxGridCrossings)) {
        return;
    }
    const int nx = static_cast<int>(nxReal);
    const int ny = static_cast<int>(nyReal);

    std::vector<int> columns(static_cast<std::size_t>(nx) + 1);
    float x = x0;
    for (int& column : columns) {
        column = WorldToPixelX(x);
        x += sx;
    }
    std::vector<int> rows(static_cast<std::size_t>(ny) + 1);
    float y = y0;
    for (int& row : rows) {
        row = WorldToPixelY(y);
        y += sy;
    }

    canvas.setPen(LinePen(kPaleYellow, 1));
    for (const int row : rows) {
        clip_.ClipMoveTo(columns.front(), row);
        clip_.ClipLineTo(canvas, columns.back(), row);
    }
    for (const int column : columns) {
        clip_.ClipMoveTo(column, rows.front());
        clip_.ClipLineTo(canvas, column, rows.back());
    }

    QPolygon dots;
    dots.reserve(static_cast<qsizetype>(columns.size()) * static_cast<qsizetype>(rows.size()));
    for (const int row : rows) {
        for (const int column : columns) {
            dots.append(QPoint(column, row));
        }
    }
    canvas.setPen(LinePen(kBlack, 1));
    canvas.drawPoints(dots);
}

}  // namespace vadero
