#pragma once
// The main window: the top strip with the connection LED and the change
// indicator, the six pages, the foot buttons, the status line and the
// transfer panel; it owns the calibrator component LCX1 and runs the
// connection flow from its events.

#include <QDialog>
#include <QWidget>
#include <functional>

#include "app/pages/PageHost.h"
#include "calibrator/LCX.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QStatusBar;

namespace vadero {

class TAboutBox;
class TBitBtnLangue;
class TButtonLangue;
class TGroupBoxLangue;
class TLabelLangue;
class TMainPage;
class TMemoriesPage;
class TOthersPage;
class TPageControl;
class TRampPage;
class TSelectForm;
class TUserScalePage;
class Tled;

class TForm1 : public QWidget, private TPageHost {
    Q_OBJECT

  public:
    static constexpr int kClientWidth = 449;
    static constexpr int kClientHeight = 480;

    TForm1(const TransportEnv& transport, TimerFactory& timers, QWidget* parent = nullptr);
    ~TForm1() override;

    // The dialogs created after the window (at program start).
    void AttachDialogs(TAboutBox& aboutBox, TSelectForm& selectForm);
    // Runs a modal dialog or message box and returns its result; replaced by
    // tests and by the screenshot run.
    std::function<int(QDialog& dialog)> RunModal;

    TLCX& LCX1() override { return lcx_; }
    bool PageChangeAllowed() const { return pageChangeAllowed_; }
    QString StatusText() const;

    // Top strip.
    Tled* LedConnect;
    TLabelLangue* LabelLangue4;
    QCheckBox* CkChange;
    QLabel* Image1;
    // Pages.
    TPageControl* PageControl1;
    QWidget* TabConnect;
    QLabel* Label3;
    TBitBtnLangue* BtnScan;
    TMainPage* TabMain;
    TUserScalePage* TabUserScale;
    TMemoriesPage* TabMem;
    TRampPage* TabCrawl;
    TOthersPage* TabOthers;
    // Foot.
    TButtonLangue* BtnReadAll;
    TButtonLangue* BtnWriteAll;
    TButtonLangue* BtnQuit;
    QStatusBar* StatusBar1;
    TGroupBoxLangue* GrUpdateAll;
    QProgressBar* ProgressBar;

    void FormShow();
    void FormClose();
    void BtnScanClick();
    void BtnReadAllClick();
    void BtnWriteAllClick() override;
    void BtnQuitClick();
    void BtnRefreshClick();
    void PageControl1Changing(QObject* Sender, bool& AllowChange);
    void Image1Click();
    // Fills the device choice dialog with the items of n devices, the first selected.
    void FillSelectForm(int n);

    void LCX1Connect(TObject* Sender);
    void LCX1Disconnect(TObject* Sender);
    void LCX1ReadAllCompleted(TObject* Sender);
    void LCX1WriteAllCompleted(TObject* Sender);
    void LCX1LoadProgressEvent(int progress);
    void LCX1SaveProgressEvent(int progress);
    void LCX1TimeOut(TObject* Sender);

  signals:
    // After the handlers of the same name: for the demo and its screenshots.
    void readAllCompleted();
    void timedOut();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CheckChange() override;
    bool ChangeChecked() const override;
    void SetStatus(const QString& text) override;
    bool AskWriteAllFirst() override;

    void BuildTopStrip();
    void BuildConnectionPage();
    void BuildFoot();
    void WireSession();
    void ShowProgress(int progress);

    TLCX lcx_;
    bool pageChangeAllowed_ = false;
    TAboutBox* aboutBox_ = nullptr;
    TSelectForm* selectForm_ = nullptr;
};

}  // namespace vadero
