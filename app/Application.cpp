#include "app/Application.h"

#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>
#include <cstdio>
#include <exception>

namespace vadero {

namespace {

// The file dialog's kinds ("Folder", "Drive") moved to a context of their
// own that the toolkit's French translation still keeps under QFileDialog.
class FileKinds : public QTranslator {
  public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        return QCoreApplication::translate("QFileDialog", source, disambiguation, n);
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

Application::Application(int& argc, char** argv, UiLanguage language)
    : QApplication(argc, argv), language_(language) {
    setApplicationName("VADERO");
    const QString toolkit = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (language_ == UiLanguage::French) {
        // The toolkit's own buttons, menus and file dialog speak French too
        // ("Annuler", "Copier", "Dossier"), whatever the desktop's language.
        if (!Translate("qt_fr", toolkit))
            Translate("qtbase_fr", toolkit);
        installTranslator(new FileKinds(this));
        return;
    }
    // Installed beside the programs: bin/../share/vadero/translations.
    const QString own = applicationDirPath() + "/../share/vadero/translations";
    if (!Translate("vadero_en", own)) {
        std::fprintf(stderr, "vadero: no English translation in %s; the window stays French\n",
                     qPrintable(own));
        language_ = UiLanguage::French;
        Translate("qtbase_fr", toolkit);
    }
}

bool Application::Translate(const QString& name, const QString& directory) {
    auto* translator = new QTranslator(this);
    if (translator->load(name, directory) && installTranslator(translator))
        return true;
    delete translator;
    return false;
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowException(tr("Erreur inconnue"));
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
