#pragma once
// The lamp: a 16 x 16 picture of a red or green indicator, lit or unlit, drawn
// on the parent so that the parent shows in its corners.

#include <QString>
#include <cstdint>

#include "widgets/GraphicControl.h"

namespace vadero {

enum class TLedKind : std::uint8_t { Red = 0, Green = 1 };

class Tled : public GraphicControl {
    Q_OBJECT

  public:
    static constexpr int kSize = 16;

    explicit Tled(QWidget* parent = nullptr);

    bool LedStatus() const { return ledStatus_; }
    void SetLedStatus(bool value);
    TLedKind Kind() const { return kind_; }
    void SetKind(TLedKind value);
    bool WasDrawn() const { return wasDrawn_; }

    // The program resource of the picture for a state and kind.
    static QString ResourceName(bool ledStatus, TLedKind kind);

    using GraphicControl::OnClick;
    using GraphicControl::OnDblClick;

  protected:
    void Paint();
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    bool wasDrawn_ = false;
    bool ledStatus_ = false;
    TLedKind kind_ = TLedKind::Red;
};

}  // namespace vadero
