#pragma once
// The curve editor: a polyline of up to 501 points in world units over an
// optional grid and axes, with two optional scroll bars that pan, horizontal
// zoom on the mouse wheel, and single points dragged with the mouse under the
// host's control (OnPointSelected, OnChangeValue). The plot surface is the
// child TTrace; Escape puts a dragged point back.

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "widgets/WinDrawTrace.h"
#include "widgets/WinDrawTypes.h"

class QScrollBar;

namespace vadero {

class TWinDraw : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kPointCount = 501;
    static constexpr int kBarThickness = 19;
    static constexpr int kMaxZoom = 10;
    static constexpr int kMinZoom = -9;

    explicit TWinDraw(QWidget* parent = nullptr);

    TTrace* Trace() const { return trace_; }
    QScrollBar* HorzBar() const { return horzBar_; }
    QScrollBar* VertBar() const { return vertBar_; }

    // Setters act only on a new value; the range, grid and style setters then
    // refresh the surface in the paint cycle.
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle v);
    float Xmax() const { return xmax_; }
    void SetXmax(float v);
    float Xmin() const { return xmin_; }
    void SetXmin(float v);
    float Ymax() const { return ymax_; }
    void SetYmax(float v);
    float Ymin() const { return ymin_; }
    void SetYmin(float v);
    std::uint16_t XGrid() const { return xGrid_; }
    void SetXGrid(std::uint16_t v);  // 0 is ignored
    std::uint16_t YGrid() const { return yGrid_; }
    void SetYGrid(std::uint16_t v);  // 0 is ignored
    TGStyle SnapGrid() const { return snapGrid_; }
    void SetSnapGrid(TGStyle v);
    bool ShowGrid() const { return showGrid_; }
    void SetShowGrid(bool v);
    TGStyle ShowAxes() const { return showAxes_; }
    void SetShowAxes(TGStyle v);
    // Caption and Enabled repaint the surface at once.
    QString Caption() const { return caption_; }
    void SetCaption(const QString& v);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool v);

    // Repaints the surface at once; the host calls it after writing Points
    // and NbSeg.
    void Redraw();

    TOnChangeValue OnChangeValue;
    TOnPointSelected OnPointSelected;
    std::function<void(QObject* Sender)> OnEnter;  // the editor took the keyboard focus
    std::function<void(QObject* Sender)> OnExit;   // and lost it

    // The curve is points 0 to NbSeg (1 to 500); the host writes both
    // directly and then calls Redraw.
    std::array<TDrawPoint, kPointCount> Points{};
    int NbSeg = 2;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void LayoutChildren();
    void ScrollChanged();
    // One wheel message; only the sign of the delta counts.
    void ZoomStep(int delta);
    template <typename T>
    void StoreAndRefresh(T& field, T value);

    QScrollBar* horzBar_;
    QScrollBar* vertBar_;
    TTrace* trace_;
    TScrollStyle scrollBars_ = TScrollStyle::ssNone;
    float xmax_ = 100.0F;
    float xmin_ = 0.0F;
    float ymax_ = 100.0F;
    float ymin_ = 0.0F;
    std::uint16_t xGrid_ = 10;
    std::uint16_t yGrid_ = 10;
    TGStyle snapGrid_ = TGStyle::gNone;
    bool showGrid_ = true;
    TGStyle showAxes_ = TGStyle::gNone;
    QString caption_;
};

}  // namespace vadero
