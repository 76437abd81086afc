#include "app/trend/TrendPlot.h"

#include <QDateTime>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace vadero {

namespace {

constexpr int kLeft = 64;
constexpr int kRight = 14;
constexpr int kTop = 22;
constexpr int kBottom = 26;
constexpr qint64 kGapMs = 3000;  // four ticks: a missed answer or a pause
constexpr qint64 kMinuteMs = qint64{60} * 1000;

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

// The plot's place on the widget and its two axes' scales.
struct Frame {
    QRect area;
    qint64 start;
    qint64 end;
    Axis axis;

    double xOf(qint64 ms) const {
        return area.left() + double(ms - start) / double(TrendPlot::kSpanMs) * area.width();
    }
    double yOf(double v) const {
        return area.bottom() - (v - axis.low) / (axis.high - axis.low) * area.height();
    }
};

// The points of the last span in the latest point's unit, oldest first.
std::vector<const TrendPoint*> ShownPoints(const std::deque<TrendPoint>& points, qint64 start,
                                           const char* unit) {
    std::vector<const TrendPoint*> shown;
    for (auto it = points.rbegin(); it != points.rend() && it->ms >= start; ++it)
        if (std::strcmp(UnitOfRange(it->range), unit) == 0)
            shown.push_back(&*it);
    std::reverse(shown.begin(), shown.end());
    return shown;
}

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

// Grid and labels: the values in the unit, a line every two minutes with the clock time.
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
    painter.drawText(QRect(4, 2, kLeft, kTop - 4), Qt::AlignLeft | Qt::AlignVCenter, unit);
    constexpr qint64 kEvery = 2 * kMinuteMs;
    for (qint64 t = (f.start / kEvery + 1) * kEvery; t <= f.end; t += kEvery) {
        const int x = int(std::lround(f.xOf(t)));
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
        painter.drawLine(x, area.top() + 1, x, area.bottom() - 1);
        painter.setPen(Qt::black);
        painter.drawText(QRect(x - 30, area.bottom() + 4, 60, 16), Qt::AlignCenter,
                         QDateTime::fromMSecsSinceEpoch(t).toString("HH:mm"));
    }
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
    const auto& points = series_.Points();
    if (points.empty()) {
        painter.setPen(Qt::black);
        painter.drawText(area, Qt::AlignCenter, "En attente des mesures");
        return;
    }
    const TrendPoint& last = points.back();
    const char* unit = UnitOfRange(last.range);
    const qint64 start = last.ms - kSpanMs;
    const auto shown = ShownPoints(points, start, unit);
    const Frame frame{area, start, last.ms, ValueAxis(shown)};
    DrawGrid(painter, frame, unit);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(area.adjusted(1, 1, -1, -1));
    DrawCurve(painter, frame, shown);
}

}  // namespace vadero
