#pragma once
// "Vérification de boucle": the fields of a loop check, "Démarrer" and
// "Arrêter", the table of points filling as each is taken (the reading typed
// in the point's row), the error plot, the verdict, and "Enregistrer le
// rapport", which files the record's three files as lcx3 check does. While a
// check runs, the main window is held: nothing else it does reaches the
// calibrator or changes the parameters the check runs with.

#include <QDialog>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/FileChoice.h"
#include "app/check/LoopCheckRunner.h"
#include "app/pages/PageHost.h"

class QLabel;
class QPushButton;

namespace vadero {

class CheckFields;
class ErrorPlot;
class PointTable;

// What the dialog needs of the main window besides what a page needs.
struct LoopCheckWindow {
    // A calibrator connected, its parameters read, no complete read or write running.
    std::function<bool()> ready;
    // Held while a check runs: the window's own controls are off.
    std::function<void(bool held)> hold;
    const std::function<int(QDialog&)>& runModal;
    const ChooseFileFn& chooseFile;
};

class LoopCheckDialog : public QWidget {
    Q_OBJECT

  public:
    LoopCheckDialog(PageHost& host, LoopCheckWindow window, QWidget* parent);
    ~LoopCheckDialog() override;
    LoopCheckDialog(const LoopCheckDialog&) = delete;
    LoopCheckDialog& operator=(const LoopCheckDialog&) = delete;

    CheckFields* Fields;
    QPushButton* BtnStart;  // "Démarrer"
    QPushButton* BtnStop;   // "Arrêter"
    QPushButton* BtnSave;   // "Enregistrer le rapport"
    QLabel* LblVerdict;
    QLabel* LblStatus;
    PointTable* Table;
    ErrorPlot* Plot;

    // The session's events reach the run through this.
    LoopCheckRunner& Runner() { return runner_; }
    bool Running() const { return runner_.Running(); }
    // The main window is closing: false when it must stay, a check running
    // or its record not saved and the user keeping it.
    bool AllowClose();

    void BtnStartClick();
    void BtnStopClick();
    // True when the record's files were written.
    bool BtnSaveClick();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void ShowRun();
    void AskReading();
    void Say(const QString& text);
    // The record of the last run is not saved: true when it may go (saved
    // now, or given up); false to keep it.
    bool UnsavedMayGo(const QString& question);

    PageHost& host_;
    LoopCheckWindow window_;
    LoopCheckRunner runner_;
    std::optional<double> reading_;  // the reading typed, until the run takes it
    bool held_ = false;
    bool saved_ = true;
    QString folder_;  // where the last record went
};

}  // namespace vadero
