#include "widgets/Led.h"

#include <QImage>
#include <QPainter>

#include "widgets/Bitmaps.h"

// The pictures live in a static library, whose resource registration the
// linker would drop unless it is called.
static void RegisterLedPictures() {
    Q_INIT_RESOURCE(widgets);
}

namespace vadero {

Tled::Tled(QWidget* parent) : GraphicControl(parent) {
    static const bool registered = (RegisterLedPictures(), true);
    (void)registered;
    setFixedSize(kSize, kSize);
}

QString Tled::ResourceName(bool ledStatus, TLedKind kind) {
    const bool green = kind == TLedKind::Green;
    if (ledStatus) {
        return green ? QStringLiteral(":/LEDVON") : QStringLiteral(":/LEDRON");
    }
    return green ? QStringLiteral(":/LEDVOFF") : QStringLiteral(":/LEDROFF");
}

void Tled::SetLedStatus(bool value) {
    if (value != ledStatus_) {
        ledStatus_ = value;
        repaint();
    }
}

void Tled::SetKind(TLedKind value) {
    if (value != kind_) {
        kind_ = value;
        repaint();
    }
}

void Tled::Paint() {
    if (!isHidden()) {
        // Loaded at every paint: no picture is held between paints.
        const QImage picture = WithAutoTransparency(QImage(ResourceName(ledStatus_, kind_), "BMP"));
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), picture);
        wasDrawn_ = true;
        return;
    }
    if (wasDrawn_ && parentWidget() != nullptr) {
        parentWidget()->update(geometry());
    }
    wasDrawn_ = false;
}

void Tled::paintEvent(QPaintEvent* /*event*/) {
    Paint();
}

void Tled::hideEvent(QHideEvent* /*event*/) {
    // A hidden lamp gets no paint event; hiding it runs the hidden branch.
    if (isHidden()) {
        Paint();
    }
}

}  // namespace vadero
