#pragma once
// The application object: the window's language, with the toolkit's own texts
// in it; an exception that escapes a window handler is shown in the standard
// error box and the message loop goes on.

#include <QApplication>
#include <QString>
#include <functional>

#include "app/Language.h"

namespace vadero {

class Application : public QApplication {
    Q_OBJECT

  public:
    Application(int& argc, char** argv, UiLanguage language = UiLanguage::French);

    UiLanguage Language() const { return language_; }

    // Shows the error; by default a critical message box with an OK button.
    std::function<void(const QString& message)> OnException;

    // The last net: an exception that still reaches the event delivery.
    bool notify(QObject* receiver, QEvent* event) override;

    // Through the running Application's OnException when there is one,
    // otherwise in a critical message box.
    static void ShowException(const QString& message);

  private:
    bool Translate(const QString& name, const QString& directory);

    UiLanguage language_;
};

}  // namespace vadero
