#include "app/trend/TrendPlot.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/trend/TrendSpan.h"

namespace vadero {

namespace {

constexpr int kLeft = 64;
constexpr int kRight = 14;
constexpr int kTop = 28;
constexpr int kBottom = 40;      // the times and the axis's caption
constexpr qint64 kGapMs = 3000;  // four ticks: a missed answer or a pause
constexpr qint64 kSecondMs = 1000;
constexpr qint64 kMinuteMs = 60 * kSecondMs;

// Bounds and step of a value axis with about five steps of 1, 2 or 5 x 10^k.
struct Axis {
    double low;
    double high;
    double step;
};

Axis NiceAxis(double low, double high) {
    if (high - low < 1e-3) {
        const double pad = std::max(std::abs(high) * 0.05, 0.01);
        low -= pad;
        high += pad;
    }
    const double rough = (high - low) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= rough) {
            step = m * power;
            break;
        }
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

int Decimals(double step) {
    return std::clamp(int(std::ceil(-std::log10(step) - 1e-9)), 0, 4);
}

// The time between two lines of the grid: about four to six over the span.
qint64 TimeStep(qint64 span) {
    static constexpr qint64 kSteps[] = {kSecondMs,      2 * kSecondMs,  5 * kSecondMs,
                                        10 * kSecondMs, 15 * kSecondMs, 30 * kSecondMs,
                                        kMinuteMs,      2 * kMinuteMs,  5 * kMinuteMs};
    for (const qint64 step : kSteps)
        if (span / step <= 6)
            return step;
    return 10 * kMinuteMs;
}

// The plot's place on the widget and its two axes' scales.
struct Frame {
    QRect area;
    qint64 start;
    qint64 end;
    Axis axis;

    double xOf(qint64 ms) const {
        return area.left() + double(ms - start) / double(end - start) * area.width();
    }
    double yOf(double v) const {
        return area.bottom() - (v - axis.low) / (axis.high - axis.low) * area.height();
    }
};

// The value axis spanning the measured values (overruns left out).
Axis ValueAxis(const std::vector<const TrendPoint*>& shown) {
    double low = 0, high = 0;
    bool any = false;
    for (const TrendPoint* p : shown)
        if (p->code == 0) {
            low = any ? std::min(low, double(p->value)) : p->value;
            high = any ? std::max(high, double(p->value)) : p->value;
            any = true;
        }
    if (!any)
        high = 1;
    return NiceAxis(low, high);
}

// Grid and labels: the values in the unit, the clock times, each axis's caption.
void DrawGrid(QPainter& painter, const Frame& f, const char* unit) {
    const QRect& area = f.area;
    const int decimals = Decimals(f.axis.step);
    for (double v = f.axis.low; v <= f.axis.high + f.axis.step / 2; v += f.axis.step) {
        const int y = int(std::lround(f.yOf(v)));
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
        painter.drawLine(area.left() + 1, y, area.right() - 1, y);
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, y - 8, kLeft - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(v, 'f', decimals));
    }
    painter.drawText(QRect(4, 2, area.width(), kTop - 4), Qt::AlignLeft | Qt::AlignVCenter,
                     QCoreApplication::translate("vadero::TrendPlot", "Mesure (%1)").arg(unit));
    const qint64 step = TimeStep(f.end - f.start);
    const QString format = step < kMinuteMs ? "HH:mm:ss" : "HH:mm";
    for (qint64 t = (f.start / step + 1) * step; t <= f.end; t += step) {
        const int x = int(std::lround(f.xOf(t)));
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
        painter.drawLine(x, area.top() + 1, x, area.bottom() - 1);
        painter.setPen(Qt::black);
        painter.drawText(QRect(x - 30, area.bottom() + 3, 60, 16), Qt::AlignCenter,
                         QDateTime::fromMSecsSinceEpoch(t).toString(format));
    }
    painter.drawText(QRect(area.left(), area.bottom() + 20, area.width(), 16), Qt::AlignCenter,
                     QCoreApplication::translate("vadero::TrendPlot", "Heure"));
}

// The measured values as a line broken at gaps; an overrun as a red mark at
// the edge it passed, named where a run of them begins.
void DrawCurve(QPainter& painter, const Frame& f, const std::vector<const TrendPoint*>& shown) {
    const QRect& area = f.area;
    QPainterPath curve;
    const TrendPoint* previous = nullptr;
    for (const TrendPoint* p : shown) {
        const bool joined = previous && p->ms - previous->ms <= kGapMs;
        if (p->code != 0) {
            const bool above = p->code == 1;
            const double x = f.xOf(p->ms);
            const double y = above ? area.top() + 6 : area.bottom() - 6;
            painter.setPen(Qt::red);
            painter.drawLine(QPointF(x, y - 4), QPointF(x, y + 4));
            if (!joined || previous->code != p->code)
                painter.drawText(QPointF(x + 3, above ? y + 12 : y - 4), above ? "Dep+" : "Dep-");
        } else if (joined && previous->code == 0) {
            curve.lineTo(f.xOf(p->ms), f.yOf(p->value));
        } else {
            curve.moveTo(f.xOf(p->ms), f.yOf(p->value));
        }
        previous = p;
    }
    painter.setPen(QPen(QColor(0x00, 0x50, 0xB0), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(curve);
}

}  // namespace

TrendPlot::TrendPlot(const TrendSeries& series, QWidget* parent)
    : QWidget(parent), series_(series) {
    setObjectName("TrendPlot");
    setMinimumSize(400, 220);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void TrendPlot::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect area(kLeft, kTop, width() - kLeft - kRight, height() - kTop - kBottom);
    painter.setPen(Qt::gray);
    painter.drawRect(area);
    const TrendSpan span = SpanOf(series_.Points());
    if (span.points.empty()) {
        painter.setPen(Qt::black);
        painter.drawText(area, Qt::AlignCenter, tr("En attente des mesures"));
        return;
    }
    const Frame frame{area, span.start, span.end, ValueAxis(span.points)};
    DrawGrid(painter, frame, span.unit);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(area.adjusted(1, 1, -1, -1));
    DrawCurve(painter, frame, span.points);
}

}  // namespace vadero
