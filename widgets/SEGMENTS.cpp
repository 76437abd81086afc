#include "widgets/SEGMENTS.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <array>
#include <cstdlib>
#include <string>

namespace vadero {

namespace {

enum Segment : unsigned { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };

struct Line {
    QPoint from;
    QPoint to;
};

// Relative to the cell origin; the side segments lean to the right.
constexpr std::array<Line, 7> kSegments{{
    {{12, 0}, {36, 0}},    // a
    {{32, 18}, {36, 2}},   // b
    {{28, 38}, {32, 22}},  // c
    {{4, 40}, {28, 40}},   // d
    {{2, 38}, {6, 22}},    // e
    {{6, 18}, {10, 2}},    // f
    {{8, 20}, {32, 20}},   // g
}};

// Codes 0 to 9, then d, E, P.
constexpr std::array<unsigned, 13> kDigitSegments{
    A | B | C | D | E | F,      // 0
    B | C,                      // 1
    A | B | D | E | G,          // 2
    A | B | C | D | G,          // 3
    B | C | F | G,              // 4
    A | C | D | F | G,          // 5
    A | C | D | E | F | G,      // 6
    A | B | C,                  // 7
    A | B | C | D | E | F | G,  // 8
    A | B | C | D | F | G,      // 9
    B | C | D | E | G,          // d
    A | D | E | F | G,          // E
    A | B | E | F | G,          // P
};

unsigned SegmentsOf(int code) {
    if (code == TCustomSeg::kMinusCode) {
        return G;
    }
    if (code < 0 || code > 12) {
        return 0;
    }
    return kDigitSegments[static_cast<std::size_t>(code)];
}

const QColor kLedBackground(0x80, 0x00, 0x00);
const QColor kLedSegment(0xFF, 0x00, 0x00);
const QColor kLcdBackground(0xDF, 0xDF, 0xDF);
const QColor kLcdSegment(0x80, 0x80, 0x80);

constexpr int kDigitCode = 0;  // codes 0-9 are the digits themselves
constexpr int kLetterD = 10;
constexpr int kLetterE = 11;
constexpr int kLetterP = 12;
constexpr int kHalfShift = 20;

std::int64_t PowerOfTen(int n) {
    std::int64_t p = 1;
    for (int i = 0; i < n; ++i) {
        p *= 10;
    }
    return p;
}

}  // namespace

TCustomSeg::TCustomSeg(QWidget* parent) : GraphicControl(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    AdjustSize();
}

SegRange TCustomSeg::RangeFor(int nbDigit, bool halfDigit) {
    const std::int64_t p = PowerOfTen(nbDigit);
    if (halfDigit) {
        return {-(2 * p - 1), 2 * p - 1};
    }
    return {-(p / 10 - 1), p - 1};
}

QSize TCustomSeg::SizeFor(int nbDigit, bool halfDigit) {
    return {nbDigit * kCellWidth + 14 + (halfDigit ? kHalfShift : 0), kHeight};
}

QPoint TCustomSeg::CellOrigin(int k, bool halfDigit) {
    return {8 + kCellWidth * k + (halfDigit ? kHalfShift : 0), 5};
}

void TCustomSeg::SetNb(int value) {
    if (value != nb_) {
        nb_ = value;
        repaint();
    }
}

void TCustomSeg::SetPointDecimal(int value) {
    if (value != pointDecimal_) {
        pointDecimal_ = value;
        repaint();
    }
}

void TCustomSeg::SetStyle(TStyle value) {
    if (value != style_) {
        style_ = value;
        repaint();
    }
}

void TCustomSeg::SetNbDigit(int value) {
    if (value >= 1 && value <= 8 && value != nbDigit_) {
        nbDigit_ = value;
        AdjustSize();
        repaint();
    }
}

void TCustomSeg::SetHalfDigit(bool value) {
    if (value != halfDigit_) {
        halfDigit_ = value;
        AdjustSize();
        repaint();
    }
}

void TCustomSeg::AdjustSize() {
    setFixedSize(SizeFor(nbDigit_, halfDigit_));
}

void TCustomSeg::resizeEvent(QResizeEvent* /*event*/) {
    // A resize by any other means (layout, geometry, minimum sizes) snaps back.
    if (size() != SizeFor(nbDigit_, halfDigit_)) {
        AdjustSize();
    }
}

void TCustomSeg::DrawDigit(QPainter& painter, int code, QPoint origin) const {
    const unsigned segments = SegmentsOf(code);
    for (std::size_t i = 0; i < kSegments.size(); ++i) {
        if ((segments & (1u << i)) != 0) {
            painter.drawLine(origin + kSegments[i].from, origin + kSegments[i].to);
        }
    }
}

void TCustomSeg::Paint(QPainter& painter) const {
    const bool led = style_ == TStyle::LED;
    const QColor background = led ? kLedBackground : kLcdBackground;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect(), background);
    painter.setPen(
        QPen(led ? kLedSegment : kLcdSegment, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(background);

    const std::int64_t shift = halfDigit_ ? kHalfShift : 0;
    const std::int64_t rightmost = std::int64_t{nbDigit_ - 1} * kCellWidth + 8 + shift;
    const int y = 5;

    if (!RangeFor(nbDigit_, halfDigit_).Contains(nb_)) {
        if (nbDigit_ >= 3) {
            const int x = static_cast<int>(rightmost);
            DrawDigit(painter, kLetterP, {x, y});
            DrawDigit(painter, kLetterE, {x - kCellWidth, y});
            DrawDigit(painter, kLetterD, {x - 2 * kCellWidth, y});
        }
        return;
    }

    if (pointDecimal_ > 0) {
        // Left of the first cell the point has nowhere to show.
        const std::int64_t px = (std::int64_t{nbDigit_} - pointDecimal_) * kCellWidth + shift;
        if (px >= -8) {
            painter.drawEllipse(QRect(QPoint(static_cast<int>(px) + 2, y + 38),
                                      QPoint(static_cast<int>(px) + 5, y + 41)));
        }
    }

    std::string s = std::to_string(std::llabs(std::int64_t{nb_}));
    // Zeros put in front so a digit stands before the point; beyond two cells
    // left of the first they could not be seen, so padding stops there.
    const std::size_t padLimit = static_cast<std::size_t>(nbDigit_) + 2;
    while (static_cast<std::int64_t>(s.size()) <= pointDecimal_ && s.size() < padLimit) {
        s.insert(s.begin(), '0');
    }

    int x = static_cast<int>(rightmost);
    for (auto it = s.rbegin(); it != s.rend(); ++it) {
        DrawDigit(painter, kDigitCode + (*it - '0'), {x, y});
        x -= kCellWidth;
    }
    if (nb_ < 0) {
        DrawDigit(painter, kMinusCode, {x, y});
        if (halfDigit_) {
            painter.drawLine(QPoint(8, 25), QPoint(16, 25));
        }
    }
}

void TCustomSeg::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    Paint(painter);
}

}  // namespace vadero
