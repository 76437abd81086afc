// The main window's menu bar and the handlers of its items: the parameter
// files, the tools' windows and the About box.
#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include "app/Guard.h"
#include "app/Main.h"
#include "app/WindowPlacement.h"
#include "app/files/CompareDialog.h"
#include "app/files/ParameterFile.h"
#include "app/traffic/TrafficWindow.h"
#include "app/trend/TrendWindow.h"
#include "calibrator/InputError.h"

namespace vadero {

namespace {

const QString kParameterFilter = "Paramètres (*.json);;Tous les fichiers (*)";

QAction* AddItem(QMenu* menu, const char* name, const QString& text, const QKeySequence& keys,
                 std::function<void()> handler) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(keys);
    QObject::connect(action, &QAction::triggered, menu, Guarded(std::move(handler)));
    return action;
}

QString Lines(const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& line : lines) text += "\n- " + QString::fromStdString(line);
    return text;
}

}  // namespace

void TForm1::BuildMenu() {
    MenuFichier = MenuBar1->addMenu("&Fichier");
    MenuFichier->setObjectName("MenuFichier");
    ActOuvrir = AddItem(MenuFichier, "ActOuvrir", "Ouvrir des paramètres…", QKeySequence("Ctrl+O"),
                        [this] { ActOuvrirClick(); });
    ActEnregistrer = AddItem(MenuFichier, "ActEnregistrer", "Enregistrer les paramètres…",
                             QKeySequence("Ctrl+S"), [this] { ActEnregistrerClick(); });
    ActComparer = AddItem(MenuFichier, "ActComparer", "Comparer avec un fichier…", {},
                          [this] { ActComparerClick(); });
    MenuFichier->addSeparator();
    ActQuitter = AddItem(MenuFichier, "ActQuitter", "Quitter le programme", QKeySequence("Ctrl+Q"),
                         [this] { BtnQuitClick(); });
    // Until a complete read, the pages hold no calibrator's parameters.
    for (QAction* action : {ActOuvrir, ActEnregistrer, ActComparer}) action->setEnabled(false);

    MenuOutils = MenuBar1->addMenu("&Outils");
    MenuOutils->setObjectName("MenuOutils");
    ActTrafic = AddItem(MenuOutils, "ActTrafic", "Trafic Modbus", QKeySequence("Ctrl+T"),
                        [this] { ActTraficClick(); });
    ActTendance = AddItem(MenuOutils, "ActTendance", "Tendance de la mesure", {},
                          [this] { ActTendanceClick(); });

    MenuAide = MenuBar1->addMenu("&Aide");
    MenuAide->setObjectName("MenuAide");
    ActAPropos = AddItem(MenuAide, "ActAPropos", "A propos…", {}, [this] { Image1Click(); });
}

int TForm1::Tell(int icon, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Icon(icon), title, text, QMessageBox::Ok, this);
    return RunModal(box);
}

QString TForm1::ChooseParameterFile(const QString& caption) {
    return ChooseFile(this, {caption, kParameterFilter, QString(), false});
}

void TForm1::ActOuvrirClick() {
    TakeTypedValues();
    AfterUnwrittenEdits([this] { OpenParameterFile(); });
}

void TForm1::OpenParameterFile() {
    const QString path = ChooseParameterFile("Ouvrir des paramètres");
    if (path.isEmpty())
        return;
    std::vector<std::string> warnings;
    try {
        warnings = ReadParameterFile(path.toStdString(), lcx_.Params());
    } catch (const InputError& e) {
        Tell(QMessageBox::Warning, "Ouvrir des paramètres",
             "Le fichier est refusé, rien n'a changé :\n" + QString::fromUtf8(e.what()));
        return;
    }
    // The pages show the file's set; it reaches the calibrator with the next
    // complete write.
    BtnRefreshClick();
    CheckChange();
    SetFileName(path);
    SetStatus("Paramètres ouverts : " + QFileInfo(path).fileName());
    if (!warnings.empty())
        Tell(QMessageBox::Information, "Ouvrir des paramètres",
             "Paramètres ouverts ; ces valeurs sont inhabituelles :" + Lines(warnings));
}

void TForm1::ActEnregistrerClick() {
    TakeTypedValues();
    const QString path = ChooseFile(
        this, {"Enregistrer les paramètres", kParameterFilter, "parametres-lcx3.json", true});
    if (path.isEmpty())
        return;
    const std::string why = WriteParameterFile(path.toStdString(), lcx_.Params());
    if (!why.empty()) {
        Tell(QMessageBox::Warning, "Enregistrer les paramètres",
             "Les paramètres n'ont pas été enregistrés :\n" + QString::fromStdString(why));
        return;
    }
    SetFileName(path);
    SetStatus("Paramètres enregistrés : " + QFileInfo(path).fileName());
}

void TForm1::ActComparerClick() {
    TakeTypedValues();
    const QString path = ChooseParameterFile("Comparer avec un fichier");
    if (path.isEmpty())
        return;
    RegisterImage image = lcx_.Master().HoldingRegisters;
    TLCXParams file(image);
    try {
        ReadParameterFile(path.toStdString(), file);
    } catch (const InputError& e) {
        Tell(QMessageBox::Warning, "Comparer avec un fichier",
             "Le fichier est refusé :\n" + QString::fromUtf8(e.what()));
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

}  // namespace vadero
