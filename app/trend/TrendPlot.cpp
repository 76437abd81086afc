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
constexpr qint64 kMinuteMs = 60 * 1000;

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
    const qint64 end = last.ms;
    const qint64 start = end - kSpanMs;
    std::vector<const TrendPoint*> shown;
    for (auto it = points.rbegin(); it != points.rend() && it->ms >= start; ++it)
        if (std::strcmp(UnitOfRange(it->range), unit) == 0)
            shown.push_back(&*it);
    std::reverse(shown.begin(), shown.end());

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
    const Axis axis = NiceAxis(low, high);
    const auto xOf = [&](qint64 ms) {
        return area.left() + double(ms - start) / double(kSpanMs) * area.width();
    };
    const auto yOf = [&](double v) {
        return area.bottom() - (v - axis.low) / (axis.high - axis.low) * area.height();
    };

    // Value axis: grid and labels in the unit.
    const int decimals = Decimals(axis.step);
    for (double v = axis.low; v <= axis.high + axis.step / 2; v += axis.step) {
        const int y = int(std::lround(yOf(v)));
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
        painter.drawLine(area.left() + 1, y, area.right() - 1, y);
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, y - 8, kLeft - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(v, 'f', decimals));
    }
    painter.drawText(QRect(4, 2, kLeft, kTop - 4), Qt::AlignLeft | Qt::AlignVCenter, unit);
    // Time axis: a line every two minutes, with the clock time.
    for (qint64 t = (start / (2 * kMinuteMs) + 1) * 2 * kMinuteMs; t <= end; t += 2 * kMinuteMs) {
        const int x = int(std::lround(xOf(t)));
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
        painter.drawLine(x, area.top() + 1, x, area.bottom() - 1);
        painter.setPen(Qt::black);
        painter.drawText(QRect(x - 30, area.bottom() + 4, 60, 16), Qt::AlignCenter,
                         QDateTime::fromMSecsSinceEpoch(t).toString("HH:mm"));
    }

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(area.adjusted(1, 1, -1, -1));
    QPainterPath curve;
    const TrendPoint* previous = nullptr;
    for (const TrendPoint* p : shown) {
        if (p->code != 0) {
            // Drawn where the value left the span, and named.
            const bool above = p->code == 1;
            const double y = above ? area.top() + 6 : area.bottom() - 6;
            painter.setPen(Qt::red);
            painter.drawLine(QPointF(xOf(p->ms), y - 4), QPointF(xOf(p->ms), y + 4));
            if (!previous || previous->code != p->code || p->ms - previous->ms > kGapMs)
                painter.drawText(QPointF(xOf(p->ms) + 3, above ? y + 12 : y - 4),
                                 above ? "Dep+" : "Dep-");
        } else if (previous && previous->code == 0 && p->ms - previous->ms <= kGapMs) {
            curve.lineTo(xOf(p->ms), yOf(p->value));
        } else {
            curve.moveTo(xOf(p->ms), yOf(p->value));
        }
        previous = p;
    }
    painter.setPen(QPen(QColor(0x00, 0x50, 0xB0), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(curve);
}

}  // namespace vadero
