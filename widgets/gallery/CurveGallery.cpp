#include "widgets/gallery/CurveGallery.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <cstdio>

#include "widgets/WinDraw.h"

namespace vadero {
namespace {

// The ramp page's editor with its example: D 10 s, t1..t4 20, 10, 20, 10 s,
// L1 0 %, L2 100 %.
void SetUpRampEditor(TWinDraw& draw) {
    draw.resize(409, 145);
    draw.SetCaption(QStringLiteral("Première rampe"));
    draw.SetXmin(0);
    draw.SetXmax(100);
    draw.SetYmin(-25);
    draw.SetYmax(100);
    draw.SetScrollBars(TScrollStyle::ssHorizontal);
    draw.SetXGrid(5);
    draw.SetYGrid(25);
    draw.SetSnapGrid(TGStyle::gVertical);
    draw.SetShowGrid(true);
    draw.SetShowAxes(TGStyle::gBoth);
    const TDrawPoint ramp[] = {{0, 0}, {10, 0}, {30, 100}, {40, 100}, {60, 0}, {70, 0}};
    for (int i = 0; i < 6; ++i) {
        draw.Points[static_cast<std::size_t>(i)] = ramp[i];
    }
    draw.NbSeg = 5;
    draw.Redraw();
}

void Save(TWinDraw& draw, const QString& dir, const QString& name) {
    const QString path = QDir(dir).filePath(name);
    if (!draw.grab().save(path, "PNG")) {
        std::fprintf(stderr, "widget-gallery: cannot write %s\n", qPrintable(path));
    }
}

void SendMouse(TTrace& trace, QEvent::Type type, QPoint pos, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(pos), QPointF(trace.mapToGlobal(pos)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&trace, &event);
}

}  // namespace

void RenderCurveGallery(const QString& dir) {
    TWinDraw draw;
    draw.setAttribute(Qt::WA_DontShowOnScreen);
    draw.show();
    draw.Trace()->Timer()->stop();  // markers stay until saved
    SetUpRampEditor(draw);
    Save(draw, dir, QStringLiteral("curve-ramp-grid.png"));

    draw.SetShowGrid(false);
    draw.SetSnapGrid(TGStyle::gNone);
    Save(draw, dir, QStringLiteral("curve-ramp-nogrid.png"));
    draw.SetShowGrid(true);
    draw.SetSnapGrid(TGStyle::gVertical);

    // Point 2 picked up and dragged down one grid step: markers, the held
    // point framed thick and filled yellow.
    TTrace& trace = *draw.Trace();
    const QPoint p2(trace.WorldToPixelX(draw.Points[2].X), trace.WorldToPixelY(draw.Points[2].Y));
    SendMouse(trace, QEvent::MouseMove, p2, Qt::NoButton);
    SendMouse(trace, QEvent::MouseButtonPress, p2, Qt::LeftButton);
    SendMouse(trace, QEvent::MouseMove, p2 + QPoint(0, 15), Qt::LeftButton);
    Save(draw, dir, QStringLiteral("curve-ramp-drag.png"));
    SendMouse(trace, QEvent::MouseButtonRelease, p2 + QPoint(0, 15), Qt::NoButton);
    trace.CancelDrag();
    for (int i = 0; i < TTrace::kMarkerTicks; ++i) {
        trace.TimerTick();
    }

    // Three wheel steps in, panned right.
    for (int i = 0; i < 3; ++i) {
        QWheelEvent wheel(QPointF(200, 60), QPointF(200, 60), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&draw, &wheel);
    }
    draw.HorzBar()->setValue(60);
    Save(draw, dir, QStringLiteral("curve-ramp-zoom.png"));
    draw.HorzBar()->setValue(0);

    draw.SetEnabled(false);
    Save(draw, dir, QStringLiteral("curve-ramp-disabled.png"));
}

}  // namespace vadero
