#pragma once
// The application object: an exception that escapes a window handler is shown
// in the standard error box and the message loop goes on.

#include <QApplication>
#include <QString>
#include <functional>

namespace vadero {

class TApplication : public QApplication {
    Q_OBJECT

  public:
    TApplication(int& argc, char** argv);

    // Shows the error; by default a critical message box with an OK button.
    std::function<void(const QString& message)> OnException;

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    void ShowException(const QString& message);
};

}  // namespace vadero
