#include "widgets/MyControls.h"

#include <QIcon>
#include <QList>
#include <QPointer>

#include "widgets/Bitmaps.h"

namespace vadero {

namespace {

// Clears the flag however the pass ends, so one failed refresh cannot switch
// off every later pass.
class SiblingPass {
  public:
    SiblingPass() { RefreshingSiblings = true; }
    ~SiblingPass() { RefreshingSiblings = false; }
    SiblingPass(const SiblingPass&) = delete;
    SiblingPass& operator=(const SiblingPass&) = delete;
};

}  // namespace

void RefreshSiblingsOf(QWidget* control) {
    QWidget* parent = control->parentWidget();
    if (parent == nullptr || RefreshingSiblings) {
        return;
    }
    // Guarded copies: a refresh may change or delete the parent's children.
    QList<QPointer<QWidget>> children;
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && widget != control && !widget->isWindow()) {
            children.append(widget);
        }
    }
    const SiblingPass pass;
    for (const QPointer<QWidget>& child : children) {
        if (child.isNull()) {
            continue;
        }
        if (auto* captioned = dynamic_cast<Captioned*>(child.data())) {
            captioned->Repaint();
        } else {
            child->repaint();
        }
    }
}

void FormLoaded(QWidget* form) {
    const QList<QWidget*> controls = form->findChildren<QWidget*>();
    QList<QPointer<QWidget>> guarded(controls.begin(), controls.end());
    for (const QPointer<QWidget>& control : guarded) {
        if (auto* captioned = dynamic_cast<Captioned*>(control.data())) {
            captioned->Loaded();
        }
    }
}

void TBitBtnLangue::SetGlyph(const QPixmap& glyph) {
    glyph_ = glyph;
    setIcon(QIcon(QPixmap::fromImage(WithAutoTransparency(glyph.toImage()))));
    setIconSize(glyph.size());
}

}  // namespace vadero
