#include "app/check/ErrorPlot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "app/LocaleText.h"
#include "report/PlotScale.h"

namespace vadero {

namespace {

constexpr int kLeft = 52;
constexpr int kRight = 12;
constexpr int kTop = 22;
constexpr int kBottom = 22;
const QColor kBand(0xdb, 0xf0, 0xdb);
const QColor kPass(0x1a, 0x80, 0x33);
const QColor kGrid(0xe0, 0xe0, 0xe0);
const QColor kUp(0x1f, 0x4e, 0xa8);
const QColor kDown(0xc0, 0x5a, 0x00);

QString Tick(double value, double step) {
    return QString::fromStdString(report::TickText(value, step)).replace('.', DecimalSeparator());
}

}  // namespace

ErrorPlot::ErrorPlot(const check::Record& record, QWidget* parent)
    : QWidget(parent), record_(record) {
    setObjectName(QStringLiteral("PlotErrors"));
    setMinimumHeight(150);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void ErrorPlot::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRectF area(kLeft, kTop, width() - kLeft - kRight, height() - kTop - kBottom);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(4, 2, width() - 8, kTop - 4), Qt::AlignLeft | Qt::AlignVCenter,
                     tr("Écart en % de l'étendue selon le point nominal"));
    painter.setPen(Qt::gray);
    painter.drawRect(area);
    if (record_.plan.points.empty())
        return;
    const report::PlotScale s = report::ScaleOf(record_);
    const auto x = [&](double v) {
        return area.left() + (v - s.xMin) / (s.xMax - s.xMin) * area.width();
    };
    const auto y = [&](double v) {
        return area.top() +
               (s.yMax - std::clamp(v, -s.yMax, s.yMax)) / (2 * s.yMax) * area.height();
    };
    const double tolerance = record_.settings.tolerance;
    painter.fillRect(QRectF(area.left(), y(tolerance), area.width(), y(-tolerance) - y(tolerance)),
                     kBand);
    for (double v = -s.yMax; v <= s.yMax + s.yStep / 2; v += s.yStep) {
        painter.setPen(QPen(std::abs(v) < s.yStep / 1e6 ? Qt::gray : kGrid, 1));
        painter.drawLine(QPointF(area.left(), y(v)), QPointF(area.right(), y(v)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, y(v) - 8, kLeft - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                         Tick(v, s.yStep));
    }
    for (double v = std::ceil((s.xMin + s.xPad) / s.xStep) * s.xStep;
         v <= s.xMax - s.xPad + s.xStep / 1e6; v += s.xStep) {
        painter.setPen(kGrid);
        painter.drawLine(QPointF(x(v), area.top()), QPointF(x(v), area.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x(v) - 30, area.bottom() + 3, 60, kBottom - 4), Qt::AlignCenter,
                         Tick(v, s.xStep) + " %");
    }
    painter.setPen(QPen(kPass, 1, Qt::DashLine));
    for (const double edge : {tolerance, -tolerance})
        painter.drawLine(QPointF(area.left(), y(edge)), QPointF(area.right(), y(edge)));

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(area);
    for (const check::Direction d : {check::Direction::Up, check::Direction::Down}) {
        const QColor colour = d == check::Direction::Up ? kUp : kDown;
        QPainterPath line;
        bool first = true;
        for (const check::PointResult& p : record_.points)
            if (p.planned.direction == d) {
                const QPointF at(x(p.planned.percent), y(p.error));
                first ? line.moveTo(at) : line.lineTo(at);
                first = false;
            }
        painter.setPen(QPen(colour, 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(line);
        for (const check::PointResult& p : record_.points)
            if (p.planned.direction == d) {
                const QPointF at(x(p.planned.percent), y(p.error));
                if (d == check::Direction::Up) {
                    painter.setBrush(colour);
                    painter.drawEllipse(at, 3.2, 3.2);
                } else {
                    painter.setBrush(Qt::NoBrush);
                    painter.drawRect(QRectF(at.x() - 3, at.y() - 3, 6, 6));
                }
            }
    }
}

}  // namespace vadero
