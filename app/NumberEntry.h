#pragma once
// The window's one numeric entry. While the user types, nothing is stored:
// the value is taken when the user presses Enter or leaves the entry, by the
// rule of its field, and the entry then shows what a complete write sends.
// Escape gives back the value the entry held.

#include <QLineEdit>
#include <functional>

#include "app/NumberField.h"

namespace vadero {

class NumberEntry : public QLineEdit {
    Q_OBJECT

  public:
    explicit NumberEntry(QWidget* parent = nullptr);

    void SetField(NumberField field);
    // A field whose unit or limits follow other settings, made anew at each use.
    void SetField(std::function<NumberField()> make);
    // Drops the field, so that nothing is taken any more (the owner is going).
    void Detach();

    // Shows the value the field holds. A text the user is still typing here
    // stays, to be taken against the new value when the entry is left.
    void ShowHeld();
    // Shows nothing: the field holds no value to show.
    void ShowEmpty();
    // Takes what was typed, if anything was.
    void Take();
    bool Typing() const { return text() != shown_; }

    // After every take of a typed text, refused or not: the owner reports
    // the message and the change.
    std::function<void(const Taking&)> OnTaken;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void Show(const QString& text);

    std::function<NumberField()> field_;
    QString shown_;  // what the program last showed
};

}  // namespace vadero
