#pragma once
// The main window: the menu bar, and below it the client area of 449 x 480
// with the top strip (connection LED, change indicator), the six pages, the
// foot buttons, the status line and the transfer panel; it owns the
// calibrator component LCX1, runs the connection flow from its events and
// shares the line with the trend of the measurement.

#include <QDialog>
#include <QWidget>
#include <functional>

#include "app/FileChoice.h"
#include "app/pages/PageHost.h"
#include "app/trend/MeasureArbiter.h"
#include "calibrator/LCX.h"

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QStatusBar;

namespace vadero {

class TAboutBox;
class TBitBtnLangue;
class TButtonLangue;
class TGroupBoxLangue;
class TLabelLangue;
class LoopCheckDialog;
class MainPage;
class MemoriesPage;
class OthersPage;
class PageControl;
class RampPage;
class TSelectForm;
class TrafficWindow;
class TrendWindow;
class UserScalePage;
class BesidePlacement;
class Tled;

class TForm1 : public QWidget, private PageHost {
    Q_OBJECT

  public:
    static constexpr int kClientWidth = 449;
    static constexpr int kClientHeight = 480;

    TForm1(const TransportEnv& transport, TimerFactory& timers, QWidget* parent = nullptr);
    ~TForm1() override;

    // The dialogs created after the window (at program start).
    void AttachDialogs(TAboutBox& aboutBox, TSelectForm& selectForm);
    // Runs a modal dialog or message box and returns its result; replaced by
    // tests and by the screenshot run, as is the choice of a file.
    std::function<int(QDialog& dialog)> RunModal;
    ChooseFileFn ChooseFile;

    TLCX& LCX1() override { return lcx_; }
    bool PageChangeAllowed() const { return pageChangeAllowed_; }
    QString StatusText() const;

    // Menu bar, above the client area.
    QMenuBar* MenuBar1;
    QMenu* MenuFichier;
    QAction* ActOuvrir;       // "Ouvrir des paramètres…"
    QAction* ActEnregistrer;  // "Enregistrer les paramètres…"
    QAction* ActComparer;     // "Comparer avec un fichier…"
    QAction* ActQuitter;
    QMenu* MenuOutils;
    QAction* ActTrafic;    // "Trafic Modbus"
    QAction* ActTendance;  // "Tendance de la mesure"
    QAction* ActBoucle;    // "Vérification de boucle"
    QMenu* MenuAide;
    QAction* ActAPropos;
    QWidget* Client;
    // Windows of the tools, beside this one.
    TrafficWindow* Trafic;
    TrendWindow* Tendance;
    LoopCheckDialog* Boucle;

    // Top strip.
    Tled* LedConnect;
    TLabelLangue* LabelLangue4;
    QCheckBox* CkChange;
    QLabel* Image1;
    // Pages.
    PageControl* PageControl1;
    QWidget* TabConnect;
    QLabel* Label3;
    TBitBtnLangue* BtnScan;
    MainPage* TabMain;
    UserScalePage* TabUserScale;
    MemoriesPage* TabMem;
    RampPage* TabCrawl;
    OthersPage* TabOthers;
    // Foot.
    TButtonLangue* BtnReadAll;
    TButtonLangue* BtnWriteAll;
    TButtonLangue* BtnQuit;
    QStatusBar* StatusBar1;
    TGroupBoxLangue* GrUpdateAll;
    QProgressBar* ProgressBar;

    // Parameters edited since the last complete read or write, not yet
    // written: "Changement" is checked after the pages were loaded.
    bool HasUnwrittenEdits() const;
    // The file the pages were last opened from or saved to; empty for none.
    QString FileName() const { return fileName_; }
    // Takes every value being typed in an edit or a cell, as leaving it would.
    void TakeTypedValues();

    void FormShow();
    void FormClose();
    void BtnScanClick();
    void BtnReadAllClick();
    // "Lecture complète du calibrateur" pressed: unwritten edits ask first.
    void BtnReadAllPressed();
    void BtnWriteAllClick() override;
    void BtnQuitClick();
    void BtnRefreshClick();
    void PageControl1Changing(QObject* Sender, bool& AllowChange);
    void Image1Click();
    // Fills the device choice dialog with the items of n devices, the first selected.
    void FillSelectForm(int n);
    void ActOuvrirClick();
    void ActEnregistrerClick();
    void ActComparerClick();
    void ActTraficClick();
    void ActTendanceClick();
    void ActBoucleClick();

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
    enum class Unwritten { Write, Discard, Cancel };
    // "Les modifications n'ont pas été écrites dans le calibrateur." when
    // there are unwritten edits; Discard when there are none.
    Unwritten AskUnwritten();
    // Runs `then` unless unwritten edits must be kept: after a complete write
    // (Ecrire), at once (Abandonner), or not at all (Annuler). False when
    // `then` did not run now.
    bool AfterUnwrittenEdits(std::function<void()> then);
    void ShowTitle();
    void SetFileName(const QString& path);
    void OpenParameterFile();

    void CheckChange() override;
    bool ChangeChecked() const override;
    void SetStatus(const QString& text) override;
    bool AskWriteAllFirst() override;
    void StartTransfer(std::function<void()> start) override;

    void BuildMenu();
    void BuildTopStrip();
    void BuildConnectionPage();
    void BuildFoot();
    void WireSession();
    void ShowProgress(int progress);
    void SetPagesUnlocked(bool unlocked);
    // A message box through RunModal.
    int Tell(int icon, const QString& title, const QString& text);
    // The backup file chosen to open or compare; empty when cancelled.
    QString ChooseParameterFile(const QString& caption);

    TLCX lcx_;
    MeasureArbiter arbiter_{lcx_};
    bool pageChangeAllowed_ = false;
    TAboutBox* aboutBox_ = nullptr;
    TSelectForm* selectForm_ = nullptr;
    BesidePlacement* traficPlace_ = nullptr;
    BesidePlacement* tendancePlace_ = nullptr;
    BesidePlacement* bouclePlace_ = nullptr;
    bool placed_ = false;  // centred at the first show
    bool loaded_ = false;  // a complete read has filled the pages
    QString fileName_;
    // What waits for the complete write that the question started.
    std::function<void()> afterWrite_;
};

}  // namespace vadero
