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
struct TSegRange {
    std::int64_t Low;
    std::int64_t High;
    bool Contains(std::int64_t value) const { return value >= Low && value <= High; }
};

class TCustomSeg : public TGraphicControl {
    Q_OBJECT

  public:
    static constexpr int kCellWidth = 40;
    static constexpr int kHeight = 52;
    static constexpr int kMinusCode = -3;

    explicit TCustomSeg(QWidget* parent = nullptr);

    QSize sizeHint() const override { return SizeFor(FNbDigit, FHalfDigit); }

    static TSegRange RangeFor(int nbDigit, bool halfDigit);
    static QSize SizeFor(int nbDigit, bool halfDigit);
    // Origin of full-digit cell k, counted from 0 at the left.
    static QPoint CellOrigin(int k, bool halfDigit);
    static QPoint HalfDigitOrigin() { return {-12, 5}; }

  protected:
    int Nb() const { return FNb; }
    void SetNb(int value);
    int PointDecimal() const { return FPointDecimal; }
    void SetPointDecimal(int value);
    TStyle Style() const { return FStyle; }
    void SetStyle(TStyle value);
    int NbDigit() const { return FNbDigit; }
    void SetNbDigit(int value);  // 1 to 8; other values are ignored
    bool HalfDigit() const { return FHalfDigit; }
    void SetHalfDigit(bool value);

    // Gives the control the size its digits need; nothing else may change it.
    void AdjustSize();
    // Draws digit code c (0-9, 10 d, 11 E, 12 P, -3 minus) at a cell origin.
    void DrawDigit(QPainter& painter, int code, QPoint origin) const;
    void Paint(QPainter& painter) const;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    int FNb = 0;
    int FPointDecimal = 0;
    TStyle FStyle = TStyle::LED;
    int FNbDigit = 4;
    bool FHalfDigit = false;
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

    using TGraphicControl::OnClick;
    using TGraphicControl::OnContextPopup;
    using TGraphicControl::OnDblClick;
    using TGraphicControl::OnMouseDown;
    using TGraphicControl::OnMouseMove;
    using TGraphicControl::OnMouseUp;
    using TGraphicControl::PopupMenu;
};

}  // namespace vadero
