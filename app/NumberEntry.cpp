#include "app/NumberEntry.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace vadero {

NumberEntry::NumberEntry(QWidget* parent) : QLineEdit(parent) {}

void NumberEntry::SetField(NumberField field) {
    field_ = [field = std::move(field)] { return field; };
}

void NumberEntry::SetField(std::function<NumberField()> make) {
    field_ = std::move(make);
}

void NumberEntry::Detach() {
    field_ = nullptr;
    OnTaken = nullptr;
}

void NumberEntry::Show(const QString& text) {
    const bool typing = Typing() && hasFocus();
    shown_ = text;
    if (!typing && QLineEdit::text() != text)
        setText(text);
}

void NumberEntry::ShowHeld() {
    if (field_)
        Show(HeldText(field_()));
}

void NumberEntry::ShowEmpty() {
    Show(QString());
}

void NumberEntry::Take() {
    if (!Typing() || !field_)
        return;
    const Taking taking = TakeNumber(field_(), text(), shown_);
    shown_ = taking.text;
    setText(taking.text);
    if (OnTaken)
        OnTaken(taking);
}

void NumberEntry::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Take();
            break;
        case Qt::Key_Escape:
            if (Typing()) {
                setText(shown_);
                event->accept();
                return;
            }
            break;
        default:
            break;
    }
    QLineEdit::keyPressEvent(event);
}

void NumberEntry::focusOutEvent(QFocusEvent* event) {
    // A context menu or another application's window does not leave the
    // entry: the user comes back to the text being typed.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
        Take();
    QLineEdit::focusOutEvent(event);
}

}  // namespace vadero
