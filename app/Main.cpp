#include "app/Main.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QSessionManager>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabBar>
#include <algorithm>

#include "app/About.h"
#include "app/Artwork.h"
#include "app/Guard.h"
#include "app/MakeControl.h"
#include "app/NumberEntry.h"
#include "app/PageControl.h"
#include "app/Select.h"
#include "app/WindowPlacement.h"
#include "app/check/LoopCheckDialog.h"
#include "app/pages/MainPage.h"
#include "app/pages/MemoriesPage.h"
#include "app/pages/OthersPage.h"
#include "app/pages/RampPage.h"
#include "app/pages/StringGrid.h"
#include "app/pages/UserScalePage.h"
#include "app/traffic/TrafficWindow.h"
#include "app/trend/TrendWindow.h"
#include "widgets/Led.h"
#include "widgets/MyControls.h"

namespace vadero {

namespace {

constexpr int kPagesTop = 42;
constexpr int kPanelTop = kPagesTop + 26;  // the page area, below the tabs
constexpr int kPanelOutside = 452;         // where the form keeps the panel
constexpr int kPanelShownLeft = 18;

}  // namespace

TForm1::TForm1(const TransportEnv& transport, TimerFactory& timers, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      lcx_(LCXEnv{transport, timers}) {
    setObjectName("Form1");
    setWindowTitle(tr("Configurateur du calibrateur LCX3") + "[*]");
    setWindowIcon(QIcon(MakerLogo(64)));
    setFont(QFont("MS Sans Serif", 8));
    RunModal = [](QDialog& dialog) { return dialog.exec(); };
    ChooseFile = AskFileName;

    // The client area keeps its size; the window grows by the menu bar's height.
    MenuBar1 = new QMenuBar(this);
    MenuBar1->setObjectName("MenuBar1");
    BuildMenu();
    const int menuHeight = MenuBar1->sizeHint().height();
    MenuBar1->setGeometry(0, 0, kClientWidth, menuHeight);
    Client =
        MakeControl<QWidget>(this, "Client", QRect(0, menuHeight, kClientWidth, kClientHeight));
    // A click on an empty part of the window leaves the edit being typed in.
    Client->setFocusPolicy(Qt::ClickFocus);
    setFixedSize(kClientWidth, menuHeight + kClientHeight);

    BuildTopStrip();
    PageControl1 = MakeControl<PageControl>(Client, "PageControl1", QRect(8, kPagesTop, 433, 329));
    // The six captions fit the fixed width only without scroll buttons.
    PageControl1->setUsesScrollButtons(false);
    PageControl1->tabBar()->setFont(QFont("MS Sans Serif", 7));
    PageControl1->OnChanging = [this](QObject* sender, bool& allow) {
        PageControl1Changing(sender, allow);
    };
    BuildConnectionPage();
    TabMain = new MainPage(*this);
    TabUserScale = new UserScalePage(*this);
    TabMem = new MemoriesPage(*this);
    TabCrawl = new RampPage(*this);
    TabOthers = new OthersPage(*this);
    PageControl1->addTab(TabConnect, tr("Connexion"));
    PageControl1->addTab(TabMain, tr("Principal"));
    PageControl1->addTab(TabUserScale, tr("Echelle utilisateur"));
    PageControl1->addTab(TabMem, tr("Mémoires"));
    PageControl1->addTab(TabCrawl, tr("Rampe"));
    PageControl1->addTab(TabOthers, tr("Divers"));
    BuildFoot();
    FormLoaded(this);

    Trafic = new TrafficWindow(RunModal, ChooseFile, this);
    traficPlace_ = new BesidePlacement(*Trafic, *this, BesidePlacement::Side::Right);
    Tendance = new TrendWindow(RunModal, ChooseFile, this);
    tendancePlace_ = new BesidePlacement(*Tendance, *this, BesidePlacement::Side::Left);
    // The loop check runs on a calibrator read and idle; while it runs, the
    // window's own controls are off, so that nothing changes under it.
    const auto ready = [this] {
        return pageChangeAllowed_ && LedConnect->LedStatus() && GrUpdateAll->isHidden();
    };
    const auto hold = [this](bool held) {
        Client->setEnabled(!held);
        MenuFichier->menuAction()->setEnabled(!held);
        if (!held)
            TabMain->ShowOutput();  // the output the check left
    };
    Boucle = new LoopCheckDialog(*this, {ready, hold, RunModal, ChooseFile}, this);
    bouclePlace_ = new BesidePlacement(*Boucle, *this, BesidePlacement::Side::Right);
    WireSession();
    connect(CkChange, &QCheckBox::toggled, this, [this] { ShowTitle(); });
    // The desktop session ends: unwritten edits ask as quitting does. The
    // write takes a few ticks, so Ecrire keeps the session to end later.
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            Guarded([this](QSessionManager& manager) {
                TakeTypedValues();
                if (!HasUnwrittenEdits() || !manager.allowsInteraction())
                    return;
                const Unwritten answer = AskUnwritten();
                if (answer != Unwritten::Discard)
                    manager.cancel();
                if (answer == Unwritten::Write)
                    BtnWriteAllClick();
                manager.release();
            }));
}

TForm1::~TForm1() {
    // Nothing the session still raises may reach the pages being destroyed.
    lcx_.OnConnect = lcx_.OnDisconnect = lcx_.OnReadAllCompleted = nullptr;
    lcx_.OnWriteAllCompleted = lcx_.OnTimeOut = lcx_.OnReadMeasure = lcx_.OnReadOutput = nullptr;
    lcx_.OnLoadProgressEvent = lcx_.OnSaveProgressEvent = nullptr;
    lcx_.OnTick = lcx_.OnWordBlockWriting = nullptr;
    lcx_.TxDebugStream = lcx_.RxDebugStream = nullptr;
    lcx_.CloseDevice();
    // The pages outlive the session by a little: a focus change while they go
    // must take nothing into it.
    for (NumberEntry* entry : findChildren<NumberEntry*>()) entry->Detach();
    for (StringGrid* grid : findChildren<StringGrid*>()) {
        grid->OnExit = nullptr;
        grid->OnCellEdited = nullptr;
    }
}

void TForm1::AttachDialogs(TAboutBox& aboutBox, TSelectForm& selectForm) {
    aboutBox_ = &aboutBox;
    selectForm_ = &selectForm;
}

void TForm1::BuildTopStrip() {
    LedConnect = MakeControl<Tled>(Client, "LedConnect", QRect(10, 14, Tled::kSize, Tled::kSize));
    LedConnect->SetKind(TLedKind::Green);
    LedConnect->SetLedStatus(false);
    LabelLangue4 = MakeControl<TLabelLangue>(Client, "LabelLangue4", QRect(32, 14, 200, 16));
    LabelLangue4->StreamTexts(tr("Présence de l'appareil USB"), tr("Présence de l'appareil USB"),
                              "USB Device connected");
    CkChange = MakeControl<QCheckBox>(Client, "CkChange", QRect(250, 12, 110, 20));
    CkChange->setText(tr("Changement"));
    // The program's indicator: the user cannot toggle it, yet it is drawn
    // in normal colours, not greyed as a disabled box would be.
    CkChange->setAttribute(Qt::WA_TransparentForMouseEvents);
    CkChange->setFocusPolicy(Qt::NoFocus);
    CkChange->installEventFilter(this);
    Image1 = MakeControl<QLabel>(Client, "Image1", QRect(409, 4, 32, 32));
    Image1->setPixmap(MakerLogo());
    Image1->setToolTip("Norvelectrics");
    Image1->installEventFilter(this);
}

void TForm1::BuildConnectionPage() {
    TabConnect = new QWidget;
    TabConnect->setObjectName("TabConnect");
    Label3 = MakeControl<QLabel>(TabConnect, "Label3", QRect(8, 8, 409, 16));
    Label3->setText(tr("Connecter la prise USB à l'arrière de l'appareil"));
    BtnScan = MakeControl<TBitBtnLangue>(TabConnect, "BtnScan", QRect(8, 32, 409, 255));
    BtnScan->StreamTexts(tr("Recheche du materiel USB"), tr("Recheche du materiel USB"),
                         "Scan USB Device");
    BtnScan->SetGlyph(ScanGlyph());
    connect(BtnScan, &QPushButton::clicked, this, Guarded([this] { BtnScanClick(); }));
}

void TForm1::BuildFoot() {
    BtnReadAll = MakeControl<TButtonLangue>(Client, "BtnReadAll", QRect(8, 376, 433, 25));
    BtnReadAll->StreamTexts(tr("Lecture complète du calibrateur"),
                            tr("Lecture complète du calibrateur"));
    BtnReadAll->setEnabled(false);
    connect(BtnReadAll, &QPushButton::clicked, this, Guarded([this] { BtnReadAllPressed(); }));
    BtnWriteAll = MakeControl<TButtonLangue>(Client, "BtnWriteAll", QRect(8, 403, 433, 25));
    BtnWriteAll->StreamTexts(tr("Ecriture complète du calibrateur"),
                             tr("Ecriture complète du calibrateur"));
    BtnWriteAll->setEnabled(false);
    connect(BtnWriteAll, &QPushButton::clicked, this, Guarded([this] { BtnWriteAllClick(); }));
    BtnQuit = MakeControl<TButtonLangue>(Client, "BtnQuit", QRect(8, 430, 433, 25));
    BtnQuit->StreamTexts(tr("Quitter le programme"), tr("Quitter le programme"));
    connect(BtnQuit, &QPushButton::clicked, this, Guarded([this] { BtnQuitClick(); }));

    StatusBar1 = MakeControl<QStatusBar>(Client, "StatusBar1", QRect(0, 460, kClientWidth, 20));
    StatusBar1->setSizeGripEnabled(false);

    GrUpdateAll = MakeControl<TGroupBoxLangue>(Client, "GrUpdateAll",
                                               QRect(kPanelOutside, kPanelTop, 413, 297));
    GrUpdateAll->StreamTexts(tr("Transfert des paramères"), tr("Transfert des paramères"),
                             "Update parmeters");
    GrUpdateAll->setCursor(Qt::WaitCursor);
    GrUpdateAll->setAutoFillBackground(true);
    ProgressBar = MakeControl<QProgressBar>(GrUpdateAll, "ProgressBar", QRect(16, 138, 381, 20));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setCursor(Qt::WaitCursor);
}

void TForm1::WireSession() {
    lcx_.OnConnect = [this](TObject* sender) { LCX1Connect(sender); };
    lcx_.OnDisconnect = [this](TObject* sender) { LCX1Disconnect(sender); };
    lcx_.OnReadAllCompleted = [this](TObject* sender) { LCX1ReadAllCompleted(sender); };
    lcx_.OnWriteAllCompleted = [this](TObject* sender) { LCX1WriteAllCompleted(sender); };
    lcx_.OnLoadProgressEvent = [this](int progress) { LCX1LoadProgressEvent(progress); };
    lcx_.OnSaveProgressEvent = [this](int progress) { LCX1SaveProgressEvent(progress); };
    // The loop check's answers are its own; the check goes before the trend.
    lcx_.OnReadOutput = [this](TObject* sender) {
        if (!Boucle->Runner().OutputRead())
            TabMain->LCX1ReadOutput(sender);
    };
    lcx_.OnWordBlockWriting = [this](TObject*) { Boucle->Runner().BlockWritten(); };
    // The trend's measurements and their time-outs are its own; nothing of
    // them reaches the page or the time-out message.
    lcx_.OnTick = [this](TObject*) {
        Boucle->Runner().Tick();
        arbiter_.Tick(pageChangeAllowed_ && LedConnect->LedStatus() && Tendance->Sampling());
    };
    lcx_.OnReadMeasure = [this](TObject* sender) {
        if (!arbiter_.Owned()) {
            if (Boucle->Runner().Measured())
                return;
            return TabMain->LCX1ReadMeasure(sender);
        }
        Tendance->Record(lcx_);
        arbiter_.Release();
    };
    lcx_.OnTimeOut = [this](TObject* sender) {
        if (!arbiter_.Owned()) {
            Boucle->Runner().TimedOut();
            return LCX1TimeOut(sender);
        }
        Tendance->Missed();
        arbiter_.Release();
    };
    lcx_.TxDebugStream = [this](TObject*, const std::string& text) {
        Trafic->Log().Add(true, text);
    };
    lcx_.RxDebugStream = [this](TObject*, const std::string& text) {
        Trafic->Log().Add(false, text);
    };
}

void TForm1::StartTransfer(std::function<void()> start) {
    arbiter_.Start(std::move(start));
}

QString TForm1::StatusText() const {
    return StatusBar1->currentMessage();
}

void TForm1::SetStatus(const QString& text) {
    if (text.isEmpty())
        StatusBar1->clearMessage();
    else
        StatusBar1->showMessage(text);
}

void TForm1::CheckChange() {
    CkChange->setChecked(true);
}
bool TForm1::ChangeChecked() const {
    return CkChange->isChecked();
}

bool TForm1::AskWriteAllFirst() {
    QMessageBox box(QMessageBox::Question, tr("Attention"),
                    tr("Vous devez d'abord transférer les nouveaux paramètres ?"),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    return RunModal(box) == QMessageBox::Ok;
}

void TForm1::FormShow() {
    TabCrawl->WriteGridHeaders();
    TabMem->FillStartNumbers();
    GrUpdateAll->move(kPanelShownLeft, GrUpdateAll->y());
    GrUpdateAll->hide();
    SetPagesUnlocked(false);
    PageControl1->setCurrentIndex(0);
}

void TForm1::FormClose() {
    lcx_.CloseDevice();
}

void TForm1::FillSelectForm(int n) {
    RadioGroup& group = *selectForm_->GrRdSelect;
    group.ClearItems();
    for (int k = 1; k <= n; ++k) group.AddItem(tr("USB N°%1").arg(k));
    group.SetItemIndex(0);
}

void TForm1::BtnScanClick() {
    const int n = lcx_.DeviceCount();
    if (n == 1) {
        lcx_.OpenDevice(1);
    } else if (n > 1 && selectForm_) {
        FillSelectForm(n);
        RunModal(*selectForm_);
        lcx_.OpenDevice(selectForm_->GrRdSelect->ItemIndex() + 1);
    }
}

void TForm1::ShowProgress(int progress) {
    GrUpdateAll->show();
    GrUpdateAll->raise();
    ProgressBar->setValue(std::clamp(progress, 0, 100));
}

void TForm1::BtnReadAllClick() {
    ShowProgress(0);
    StartTransfer([this] { lcx_.ReadAll(); });
}

void TForm1::BtnReadAllPressed() {
    TakeTypedValues();
    AfterUnwrittenEdits([this] { BtnReadAllClick(); });
}

void TForm1::BtnWriteAllClick() {
    // What is being typed is written too.
    TakeTypedValues();
    ShowProgress(0);
    StartTransfer([this] { lcx_.WriteAll(); });
}

void TForm1::TakeTypedValues() {
    for (NumberEntry* entry : findChildren<NumberEntry*>()) entry->Take();
    for (StringGrid* grid : findChildren<StringGrid*>()) grid->CommitEditor();
}

bool TForm1::HasUnwrittenEdits() const {
    return loaded_ && CkChange->isChecked();
}

TForm1::Unwritten TForm1::AskUnwritten() {
    if (!HasUnwrittenEdits())
        return Unwritten::Discard;
    QMessageBox box(QMessageBox::Warning, tr("Attention"),
                    tr("Les modifications n'ont pas été écrites dans le calibrateur."),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName("QuestionUnwritten");
    box.button(QMessageBox::Save)->setText(tr("Ecrire"));
    box.button(QMessageBox::Discard)->setText(tr("Abandonner"));
    box.button(QMessageBox::Cancel)->setText(tr("Annuler"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (RunModal(box)) {
        case QMessageBox::Save:
            return Unwritten::Write;
        case QMessageBox::Discard:
            return Unwritten::Discard;
        default:
            return Unwritten::Cancel;
    }
}

bool TForm1::AfterUnwrittenEdits(std::function<void()> then) {
    switch (AskUnwritten()) {
        case Unwritten::Write:
            afterWrite_ = std::move(then);
            BtnWriteAllClick();
            return false;
        case Unwritten::Discard:
            then();
            return true;
        case Unwritten::Cancel:
            break;
    }
    return false;
}

void TForm1::ShowTitle() {
    const QString caption = tr("Configurateur du calibrateur LCX3");
    setWindowTitle(fileName_.isEmpty() ? caption + "[*]" : fileName_ + "[*] - " + caption);
    setWindowModified(HasUnwrittenEdits());
}

void TForm1::SetFileName(const QString& path) {
    fileName_ = path.isEmpty() ? QString() : QFileInfo(path).fileName();
    ShowTitle();
}

void TForm1::BtnQuitClick() {
    close();
}

void TForm1::LCX1Connect(TObject* /*Sender*/) {
    SetStatus(tr("Connexion"));
    LedConnect->SetLedStatus(true);
    // Plugged in again: the read would replace edits not yet written.
    AfterUnwrittenEdits([this] { BtnReadAllClick(); });
}

void TForm1::LCX1Disconnect(TObject* /*Sender*/) {
    Boucle->Runner().Disconnected();
    SetStatus(tr("Déconnexion"));
    LedConnect->SetLedStatus(false);
    SetPagesUnlocked(false);
    PageControl1->setCurrentIndex(0);
}

void TForm1::SetPagesUnlocked(bool unlocked) {
    pageChangeAllowed_ = unlocked;
    // A file fills the pages only where they can be seen and written.
    ActOuvrir->setEnabled(unlocked);
    if (unlocked) {
        ActEnregistrer->setEnabled(true);
        ActComparer->setEnabled(true);
    }
}

void TForm1::LCX1LoadProgressEvent(int progress) {
    ShowProgress(progress);
    SetStatus(tr("Lecture des paramètres en cours"));
}

void TForm1::LCX1SaveProgressEvent(int progress) {
    ShowProgress(progress);
    SetStatus(tr("Ecriture des paramètres en cours"));
}

void TForm1::LCX1ReadAllCompleted(TObject* /*Sender*/) {
    SetStatus(tr("Lecture des paramètres termiée"));
    BtnRefreshClick();
    SetPagesUnlocked(true);
    PageControl1->setCurrentIndex(1);
    CkChange->setChecked(false);
    // The pages now hold the calibrator's set, not a file's.
    loaded_ = true;
    SetFileName(QString());
    GrUpdateAll->hide();
    BtnReadAll->setEnabled(true);
    BtnWriteAll->setEnabled(true);
    emit readAllCompleted();
}

void TForm1::LCX1WriteAllCompleted(TObject* /*Sender*/) {
    SetStatus(tr("Ecriture des paramètres terminée"));
    BtnRefreshClick();
    CkChange->setChecked(false);
    GrUpdateAll->hide();
    lcx_.ReadOutput();
    if (auto then = std::exchange(afterWrite_, nullptr))
        then();
}

void TForm1::LCX1TimeOut(TObject* /*Sender*/) {
    GrUpdateAll->hide();
    // What waited for a write that did not end stays undone: the edits stay.
    afterWrite_ = nullptr;
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                    tr("Allumer le calibrateur"), QMessageBox::Ok, this);
    emit timedOut();
    RunModal(box);
}

void TForm1::BtnRefreshClick() {
    TabMain->ShowRange();
    TabOthers->ShowLanguage();
    TabOthers->ShowFilter();
    TabUserScale->RefreshStep();
    TabMain->ShowLoopPower();
    TabMain->ShowOutput();
    TabMem->ShowMemories();
    TabCrawl->ShowRamp();
}

void TForm1::PageControl1Changing(QObject* /*Sender*/, bool& AllowChange) {
    // Another page is asked for: the edit being typed in is left.
    TakeTypedValues();
    AllowChange = pageChangeAllowed_;
}

void TForm1::Image1Click() {
    if (aboutBox_)
        RunModal(*aboutBox_);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1) {
        switch (event->type()) {
            case QEvent::Enter:
                SetStatus(Image1->toolTip());
                break;
            case QEvent::Leave:
                SetStatus(QString());
                break;
            case QEvent::MouseButtonRelease:
                Image1Click();
                return true;
            default:
                break;
        }
    }
    if (watched == CkChange) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
                return true;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        if (!std::exchange(placed_, true))
            CentreOnScreen(*this);
        FormShow();
    }
    QWidget::showEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A loop check running or not filed keeps the window.
    if (!Boucle->AllowClose()) {
        event->ignore();
        return;
    }
    TakeTypedValues();
    switch (AskUnwritten()) {
        case Unwritten::Write:
            afterWrite_ = [this] { close(); };
            BtnWriteAllClick();
            event->ignore();
            return;
        case Unwritten::Cancel:
            event->ignore();
            return;
        case Unwritten::Discard:
            break;
    }
    FormClose();
    Trafic->close();
    Tendance->close();
    Boucle->close();
    QWidget::closeEvent(event);
}

}  // namespace vadero
