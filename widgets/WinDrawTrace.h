#pragma once
// The plot surface of the curve editor: paints background, grid, axes, curve,
// point markers and caption, and lets the user pick up and drag single points.
// Everything it shows or edits belongs to its parent editor.

#include <QPoint>
#include <QWidget>
#include <cstdint>

#include "widgets/MyCanvas.h"
#include "widgets/WinDrawGeometry.h"

class QPainter;
class QTimer;

namespace vadero {

class TWinDraw;

class TTrace : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kTickInterval = 250;  // ms
    static constexpr int kMarkerTicks = 10;    // the markers last nine ticks
    static constexpr int kPickReach = 5;       // pixels, exclusive
    static constexpr int kMarkerReach = 20;    // pixels, exclusive

    // Child of owner, at (0, 0); the owner sizes it.
    explicit TTrace(TWinDraw& owner);

    // Ticks every 250 ms from construction on; tests stop it and call
    // TimerTick themselves.
    QTimer* Timer() const { return timer_; }

    int MarkerTicks() const { return markerTicks_; }
    bool ShowMarkers() const { return showMarkers_; }
    int DragIndex() const { return dragIndex_; }
    int HotIndex() const { return hotIndex_; }
    int UndoIndex() const { return undoIndex_; }
    float UndoX() const { return undoX_; }
    float UndoY() const { return undoY_; }

    int OriginX() const { return geometry_.OriginX; }
    int OriginY() const { return geometry_.OriginY; }
    int ScaleX() const { return geometry_.ScaleX; }
    int ScaleY() const { return geometry_.ScaleY; }

    // Pan in pixels and horizontal zoom step, set by the editor; they take
    // effect at the next UpdateGeometry.
    int ScrollX() const { return scrollX_; }
    int ScrollY() const { return scrollY_; }
    void SetScroll(int x, int y);
    int Zoom() const { return zoom_; }
    void SetZoom(int zoom) { zoom_ = zoom; }

    void UpdateGeometry();
    int WorldToPixelX(float x) const;
    int WorldToPixelY(float y) const;
    // The pixel is first limited to the surface.
    float PixelToWorldX(int px) const;
    float PixelToWorldY(int py) const;

    // The whole surface, in paint order.
    void Paint(QPainter& canvas);
    void Repaint();  // at once
    void Refresh();  // in the toolkit's paint cycle
    // Repaints asked for since construction, at once or deferred; a repaint
    // of a hidden surface paints nothing, so this is what tests observe.
    int RepaintCount() const { return repaintCount_; }

    // Puts the point saved at the last press back and drops the point held.
    void CancelDrag();
    // Counts the markers down; they go at the ninth tick after the last
    // approach.
    void TimerTick();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void MousePress(QPoint pos);
    void MouseMove(QPoint pos, bool leftHeld);
    void MouseRelease();
    void DrawGrid(QPainter& canvas, std::uint16_t sx, std::uint16_t sy);
    void DrawMarker(QPainter& canvas, int px, int py, int index);
    // NbSeg limited to the point table: the loops never leave it.
    int LastIndex() const;
    QPoint PixelOf(int index) const;
    void SnapDragged(float& x, float& y) const;

    TWinDraw& owner_;
    QTimer* timer_;
    int markerTicks_ = 0;
    bool showMarkers_ = false;
    int dragIndex_ = -1;
    int hotIndex_ = -1;
    CurveGeometry geometry_;
    int undoIndex_ = -1;
    float undoX_ = 0.0F;
    float undoY_ = 0.0F;
    int scrollX_ = 0;
    int scrollY_ = 0;
    int zoom_ = 0;
    ClippedLines clip_;
    int repaintCount_ = 0;
};

}  // namespace vadero
