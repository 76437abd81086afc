#pragma once
// The seven-segment display: a signed integer on one to eight slanted digits,
// an optional decimal point and an optional leading half digit (a 1).

#include <QPoint>
#include <QSize>
#include <cstdint>

#include "widgets/GraphicControl.h"

class QPainter;

namespace vadero {

enum class TStyle : std::uint8_t { LCD = 0, LED = 1 };

// The values a display shows, as [Low, High].
struct SegRange {
    std::int64_t Low;
    std::int64_t High;
    bool Contains(std::int64_t value) const { return value >= Low && value <= High; }
};

class TCustomSeg : public GraphicControl {
    Q_OBJECT

  public:
    static constexpr int kCellWidth = 40;
    static constexpr int kHeight = 52;
    static constexpr int kMinusCode = -3;

    explicit TCustomSeg(QWidget* parent = nullptr);

    QSize sizeHint() const override { return SizeFor(nbDigit_, halfDigit_); }

    static SegRange RangeFor(int nbDigit, bool halfDigit);
    static QSize SizeFor(int nbDigit, bool halfDigit);
    // Origin of full-digit cell k, counted from 0 at the left.
    static QPoint CellOrigin(int k, bool halfDigit);
    static QPoint HalfDigitOrigin() { return {-12, 5}; }

  protected:
    int Nb() const { return nb_; }
    void SetNb(int value);
    int PointDecimal() const { return pointDecimal_; }
    void SetPointDecimal(int value);
    TStyle Style() const { return style_; }
    void SetStyle(TStyle value);
    int NbDigit() const { return nbDigit_; }
    void SetNbDigit(int value);  // 1 to 8; other values are ignored
    bool HalfDigit() const { return halfDigit_; }
    void SetHalfDigit(bool value);

    // Gives the control the size its digits need; nothing else may change it.
    void AdjustSize();
    // Draws digit code c (0-9, 10 d, 11 E, 12 P, -3 minus) at a cell origin.
    void DrawDigit(QPainter& painter, int code, QPoint origin) const;
    void Paint(QPainter& painter) const;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    int nb_ = 0;
    int pointDecimal_ = 0;
    TStyle style_ = TStyle::LED;
    int nbDigit_ = 4;
    bool halfDigit_ = false;
};

class TSEG : public TCustomSeg {
    Q_OBJECT

  public:
    using TCustomSeg::TCustomSeg;

    using TCustomSeg::HalfDigit;
    using TCustomSeg::Nb;
    using TCustomSeg::NbDigit;
    using TCustomSeg::PointDecimal;
    using TCustomSeg::SetHalfDigit;
    using TCustomSeg::SetNb;
    using TCustomSeg::SetNbDigit;
    using TCustomSeg::SetPointDecimal;
    using TCustomSeg::SetStyle;
    using TCustomSeg::Style;

    using GraphicControl::OnClick;
    using GraphicControl::OnContextPopup;
    using GraphicControl::OnDblClick;
    using GraphicControl::OnMouseDown;
    using GraphicControl::OnMouseMove;
    using GraphicControl::OnMouseUp;
    using GraphicControl::PopupMenu;
};

}  // namespace vadero
