#include "app/Application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <exception>

namespace vadero {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("VADERO");
    // The window is French whatever the desktop's language: so are the
    // toolkit's own buttons and menus ("Annuler", "Copier").
    auto* toolkit = new QTranslator(this);
    if (toolkit->load(QLocale(QLocale::French, QLocale::France), "qtbase", "_",
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(toolkit);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowException("Erreur inconnue");
    }
    return false;
}

void Application::ShowException(const QString& message) {
    auto* app = qobject_cast<Application*>(QCoreApplication::instance());
    if (app && app->OnException) {
        app->OnException(message);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), message);
}

}  // namespace vadero
