// The main window's menu bar and the handlers of its items: the parameter
// files, the tools' windows and the About box.
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include "app/Guard.h"
#include "app/Main.h"
#include "app/WindowPlacement.h"
#include "app/check/LoopCheckDialog.h"
#include "app/files/CompareDialog.h"
#include "app/files/FileMessages.h"
#include "app/files/ParameterFile.h"
#include "app/traffic/TrafficWindow.h"
#include "app/trend/TrendWindow.h"
#include "calibrator/BackupError.h"

namespace vadero {

namespace {

QString ParameterFilter() {
    return QCoreApplication::translate("vadero::TForm1",
                                       "Paramètres (*.json);;Tous les fichiers (*)");
}

QAction* AddItem(QMenu* menu, const char* name, const QString& text, const QKeySequence& keys,
                 std::function<void()> handler) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(keys);
    QObject::connect(action, &QAction::triggered, menu, Guarded(std::move(handler)));
    return action;
}

QString Lines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) text += "\n- " + line;
    return text;
}

}  // namespace

void TForm1::BuildMenu() {
    MenuFichier = MenuBar1->addMenu(tr("&Fichier"));
    MenuFichier->setObjectName("MenuFichier");
    ActOuvrir = AddItem(MenuFichier, "ActOuvrir", tr("Ouvrir des paramètres…"),
                        QKeySequence("Ctrl+O"), [this] { ActOuvrirClick(); });
    ActEnregistrer = AddItem(MenuFichier, "ActEnregistrer", tr("Enregistrer les paramètres…"),
                             QKeySequence("Ctrl+S"), [this] { ActEnregistrerClick(); });
    ActComparer = AddItem(MenuFichier, "ActComparer", tr("Comparer avec un fichier…"), {},
                          [this] { ActComparerClick(); });
    MenuFichier->addSeparator();
    ActQuitter = AddItem(MenuFichier, "ActQuitter", tr("Quitter le programme"),
                         QKeySequence("Ctrl+Q"), [this] { BtnQuitClick(); });
    // Until a complete read, the pages hold no calibrator's parameters.
    for (QAction* action : {ActOuvrir, ActEnregistrer, ActComparer}) action->setEnabled(false);

    MenuOutils = MenuBar1->addMenu(tr("&Outils"));
    MenuOutils->setObjectName("MenuOutils");
    ActTrafic = AddItem(MenuOutils, "ActTrafic", tr("Trafic Modbus"), QKeySequence("Ctrl+T"),
                        [this] { ActTraficClick(); });
    ActTendance = AddItem(MenuOutils, "ActTendance", tr("Tendance de la mesure"), {},
                          [this] { ActTendanceClick(); });
    ActBoucle = AddItem(MenuOutils, "ActBoucle", tr("Vérification de boucle"), {},
                        [this] { ActBoucleClick(); });

    MenuAide = MenuBar1->addMenu(tr("&Aide"));
    MenuAide->setObjectName("MenuAide");
    ActAPropos = AddItem(MenuAide, "ActAPropos", tr("A propos…"), {}, [this] { Image1Click(); });
}

int TForm1::Tell(int icon, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Icon(icon), title, text, QMessageBox::Ok, this);
    return RunModal(box);
}

QString TForm1::ChooseParameterFile(const QString& caption) {
    return ChooseFile(this, {caption, ParameterFilter(), QString(), false});
}

void TForm1::ActOuvrirClick() {
    TakeTypedValues();
    AfterUnwrittenEdits([this] { OpenParameterFile(); });
}

void TForm1::OpenParameterFile() {
    const QString path = ChooseParameterFile(tr("Ouvrir des paramètres"));
    if (path.isEmpty())
        return;
    try {
        ReadParameterFile(path.toStdString(), lcx_.Params());
    } catch (const BackupError& e) {
        Tell(QMessageBox::Warning, tr("Ouvrir des paramètres"),
             tr("Le fichier est refusé, rien n'a changé :\n%1").arg(RefusalText(e.Problem())));
        return;
    }
    const QStringList warnings = UnusualValues(lcx_.Params());
    // The pages show the file's set; it reaches the calibrator with the next
    // complete write.
    BtnRefreshClick();
    CheckChange();
    SetFileName(path);
    SetStatus(tr("Paramètres ouverts : %1").arg(QFileInfo(path).fileName()));
    if (!warnings.empty())
        Tell(QMessageBox::Information, tr("Ouvrir des paramètres"),
             tr("Paramètres ouverts ; ces valeurs sont inhabituelles :") + Lines(warnings));
}

void TForm1::ActEnregistrerClick() {
    TakeTypedValues();
    const QString path = ChooseFile(
        this, {tr("Enregistrer les paramètres"), ParameterFilter(), "parametres-lcx3.json", true});
    if (path.isEmpty())
        return;
    const std::string why = WriteParameterFile(path.toStdString(), lcx_.Params());
    if (!why.empty()) {
        Tell(QMessageBox::Warning, tr("Enregistrer les paramètres"),
             tr("Les paramètres n'ont pas été enregistrés dans %1 :\n%2")
                 .arg(QFileInfo(path).fileName(), SystemReason(why)));
        return;
    }
    SetFileName(path);
    SetStatus(tr("Paramètres enregistrés : %1").arg(QFileInfo(path).fileName()));
}

void TForm1::ActComparerClick() {
    TakeTypedValues();
    const QString path = ChooseParameterFile(tr("Comparer avec un fichier"));
    if (path.isEmpty())
        return;
    RegisterImage image = lcx_.Master().HoldingRegisters;
    TLCXParams file(image);
    try {
        ReadParameterFile(path.toStdString(), file);
    } catch (const BackupError& e) {
        Tell(QMessageBox::Warning, tr("Comparer avec un fichier"),
             tr("Le fichier est refusé :\n%1").arg(RefusalText(e.Problem())));
        return;
    }
    CompareDialog dialog(QFileInfo(path).fileName(), DiffParameters(file, lcx_.Params()), this);
    RunModal(dialog);
}

void TForm1::ActTraficClick() {
    if (!Trafic->isVisible())
        traficPlace_->Place();
    Trafic->show();
    Trafic->raise();
}

void TForm1::ActTendanceClick() {
    if (!Tendance->isVisible())
        tendancePlace_->Place();
    Tendance->show();
    Tendance->raise();
}

void TForm1::ActBoucleClick() {
    if (!Boucle->isVisible())
        bouclePlace_->Place();
    Boucle->show();
    Boucle->raise();
}

}  // namespace vadero
