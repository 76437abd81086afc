#pragma once
// The lamp: a 16 x 16 picture of a red or green indicator, lit or unlit, drawn
// on the parent so that the parent shows in its corners.

#include <QString>
#include <cstdint>

#include "widgets/GraphicControl.h"

namespace vadero {

enum class TLedKind : std::uint8_t { Red = 0, Green = 1 };

class Tled : public TGraphicControl {
    Q_OBJECT

  public:
    static constexpr int kSize = 16;

    explicit Tled(QWidget* parent = nullptr);

    bool LedStatus() const { return FLedStatus; }
    void SetLedStatus(bool value);
    TLedKind Kind() const { return FKind; }
    void SetKind(TLedKind value);
    bool WasDrawn() const { return FWasDrawn; }

    // The program resource of the picture for a state and kind.
    static QString ResourceName(bool ledStatus, TLedKind kind);

    using TGraphicControl::OnClick;
    using TGraphicControl::OnDblClick;

  protected:
    void Paint();
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    bool FWasDrawn = false;
    bool FLedStatus = false;
    TLedKind FKind = TLedKind::Red;
};

}  // namespace vadero
