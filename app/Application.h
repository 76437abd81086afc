#pragma once
// The application object: an exception that escapes a window handler is shown
// in the standard error box and the message loop goes on.

#include <QApplication>
#include <QString>
#include <functional>

namespace vadero {

class Application : public QApplication {
    Q_OBJECT

  public:
    Application(int& argc, char** argv);

    // Shows the error; by default a critical message box with an OK button.
    std::function<void(const QString& message)> OnException;

    // The last net: an exception that still reaches the event delivery.
    bool notify(QObject* receiver, QEvent* event) override;

    // Through the running Application's OnException when there is one,
    // otherwise in a critical message box.
    static void ShowException(const QString& message);
};

}  // namespace vadero
