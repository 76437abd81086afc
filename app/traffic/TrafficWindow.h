#pragma once
// "Trafic Modbus": every frame sent to and received from the calibrator, with
// Pause, Effacer and "Enregistrer…" (plain text). The log records from the
// program's start, whether the window is shown or not.

#include <QDialog>
#include <QWidget>
#include <functional>

#include "app/FileChoice.h"
#include "app/traffic/TrafficLog.h"

class QLabel;
class QPushButton;
class QTreeView;

namespace vadero {

class TrafficWindow : public QWidget {
    Q_OBJECT

  public:
    // The dialogs go through the main window's hooks.
    TrafficWindow(const std::function<int(QDialog&)>& runModal, const ChooseFileFn& chooseFile,
                  QWidget* parent);

    TrafficLog& Log() { return log_; }

    QPushButton* BtnPause;
    QPushButton* BtnClear;
    QPushButton* BtnSave;
    QLabel* LblCount;
    QTreeView* List;

    void BtnSaveClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ShowCount();
    void FollowEnd();

    const std::function<int(QDialog&)>& runModal_;
    const ChooseFileFn& chooseFile_;
    TrafficLog log_;
    bool atEnd_ = true;       // the list follows new frames
    bool scrollDue_ = false;  // one scroll for a burst of frames
};

}  // namespace vadero
