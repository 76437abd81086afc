#include "app/Main.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabBar>
#include <algorithm>

#include "app/About.h"
#include "app/Artwork.h"
#include "app/Guard.h"
#include "app/MakeControl.h"
#include "app/PageControl.h"
#include "app/Select.h"
#include "app/pages/MainPage.h"
#include "app/pages/MemoriesPage.h"
#include "app/pages/OthersPage.h"
#include "app/pages/RampPage.h"
#include "app/pages/UserScalePage.h"
#include "widgets/Led.h"
#include "widgets/MyControls.h"

namespace vadero {

namespace {

constexpr int kPagesTop = 42;
constexpr int kPanelTop = kPagesTop + 26;   // the page area, below the tabs
constexpr int kPanelOutside = 452;          // where the form keeps the panel
constexpr int kPanelShownLeft = 18;

}  // namespace

TForm1::TForm1(const TransportEnv& transport, TimerFactory& timers, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      lcx_(LCXEnv{transport, timers}) {
    setObjectName("Form1");
    setWindowTitle("Configurateur du calibrateur LCX3");
    setWindowIcon(QIcon(MakerLogo(64)));
    setFont(QFont("MS Sans Serif", 8));
    setFixedSize(kClientWidth, kClientHeight);
    RunModal = [](QDialog& dialog) { return dialog.exec(); };

    BuildTopStrip();
    PageControl1 = MakeControl<TPageControl>(this, "PageControl1", QRect(8, kPagesTop, 433, 329));
    // The six captions fit the fixed width only without scroll buttons.
    PageControl1->setUsesScrollButtons(false);
    PageControl1->tabBar()->setFont(QFont("MS Sans Serif", 7));
    PageControl1->OnChanging = [this](QObject* sender, bool& allow) {
        PageControl1Changing(sender, allow);
    };
    BuildConnectionPage();
    TabMain = new TMainPage(*this);
    TabUserScale = new TUserScalePage(*this);
    TabMem = new TMemoriesPage(*this);
    TabCrawl = new TRampPage(*this);
    TabOthers = new TOthersPage(*this);
    PageControl1->addTab(TabConnect, "Connexion");
    PageControl1->addTab(TabMain, "Principal");
    PageControl1->addTab(TabUserScale, "Echelle utilisateur");
    PageControl1->addTab(TabMem, "Mémoires");
    PageControl1->addTab(TabCrawl, "Rampe");
    PageControl1->addTab(TabOthers, "Divers");
    BuildFoot();
    FormLoaded(this);
    WireSession();
}

TForm1::~TForm1() {
    // Nothing the session still raises may reach the pages being destroyed.
    lcx_.OnConnect = lcx_.OnDisconnect = lcx_.OnReadAllCompleted = nullptr;
    lcx_.OnWriteAllCompleted = lcx_.OnTimeOut = lcx_.OnReadMeasure = lcx_.OnReadOutput = nullptr;
    lcx_.OnLoadProgressEvent = lcx_.OnSaveProgressEvent = nullptr;
    lcx_.CloseDevice();
}

void TForm1::AttachDialogs(TAboutBox& aboutBox, TSelectForm& selectForm) {
    aboutBox_ = &aboutBox;
    selectForm_ = &selectForm;
}

void TForm1::BuildTopStrip() {
    LedConnect = MakeControl<Tled>(this, "LedConnect", QRect(10, 14, Tled::kSize, Tled::kSize));
    LedConnect->SetKind(TLedKind::Green);
    LedConnect->SetLedStatus(false);
    LabelLangue4 = MakeControl<TLabelLangue>(this, "LabelLangue4", QRect(32, 14, 200, 16));
    LabelLangue4->StreamTexts("Présence de l'appareil USB", "Présence de l'appareil USB",
                              "USB Device connected");
    CkChange = MakeControl<QCheckBox>(this, "CkChange", QRect(250, 12, 110, 20));
    CkChange->setText("Changement");
    CkChange->setEnabled(false);
    Image1 = MakeControl<QLabel>(this, "Image1", QRect(409, 4, 32, 32));
    Image1->setPixmap(MakerLogo());
    Image1->setToolTip("Norvelectrics");
    Image1->installEventFilter(this);
}

void TForm1::BuildConnectionPage() {
    TabConnect = new QWidget;
    TabConnect->setObjectName("TabConnect");
    Label3 = MakeControl<QLabel>(TabConnect, "Label3", QRect(8, 8, 409, 16));
    Label3->setText("Connecter la prise USB à l'arrière de l'appareil");
    BtnScan = MakeControl<TBitBtnLangue>(TabConnect, "BtnScan", QRect(8, 32, 409, 255));
    BtnScan->StreamTexts("Recheche du materiel USB", "Recheche du materiel USB", "Scan USB Device");
    BtnScan->SetGlyph(ScanGlyph());
    connect(BtnScan, &QPushButton::clicked, this, Guarded([this] { BtnScanClick(); }));
}

void TForm1::BuildFoot() {
    BtnReadAll = MakeControl<TButtonLangue>(this, "BtnReadAll", QRect(8, 376, 433, 25));
    BtnReadAll->StreamTexts("Lecture complète du calibrateur", "Lecture complète du calibrateur");
    BtnReadAll->setEnabled(false);
    connect(BtnReadAll, &QPushButton::clicked, this, Guarded([this] { BtnReadAllClick(); }));
    BtnWriteAll = MakeControl<TButtonLangue>(this, "BtnWriteAll", QRect(8, 403, 433, 25));
    BtnWriteAll->StreamTexts("Ecriture complète du calibrateur", "Ecriture complète du calibrateur");
    BtnWriteAll->setEnabled(false);
    connect(BtnWriteAll, &QPushButton::clicked, this, Guarded([this] { BtnWriteAllClick(); }));
    BtnQuit = MakeControl<TButtonLangue>(this, "BtnQuit", QRect(8, 430, 433, 25));
    BtnQuit->StreamTexts("Quitter le programme", "Quitter le programme");
    connect(BtnQuit, &QPushButton::clicked, this, Guarded([this] { BtnQuitClick(); }));

    StatusBar1 = MakeControl<QStatusBar>(this, "StatusBar1", QRect(0, 460, kClientWidth, 20));
    StatusBar1->setSizeGripEnabled(false);

    GrUpdateAll = MakeControl<TGroupBoxLangue>(this, "GrUpdateAll", QRect(kPanelOutside, kPanelTop, 413, 297));
    GrUpdateAll->StreamTexts("Transfert des paramères", "Transfert des paramères", "Update parmeters");
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
    lcx_.OnTimeOut = [this](TObject* sender) { LCX1TimeOut(sender); };
    lcx_.OnReadMeasure = [this](TObject* sender) { TabMain->LCX1ReadMeasure(sender); };
    lcx_.OnReadOutput = [this](TObject* sender) { TabMain->LCX1ReadOutput(sender); };
}

QString TForm1::StatusText() const { return StatusBar1->currentMessage(); }

void TForm1::SetStatus(const QString& text) {
    if (text.isEmpty())
        StatusBar1->clearMessage();
    else
        StatusBar1->showMessage(text);
}

void TForm1::CheckChange() { CkChange->setChecked(true); }
bool TForm1::ChangeChecked() const { return CkChange->isChecked(); }

bool TForm1::AskWriteAllFirst() {
    QMessageBox box(QMessageBox::Question, "Attention",
                    "Vous devez d'abord transférer les nouveaux paramètres ?",
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    return RunModal(box) == QMessageBox::Ok;
}

void TForm1::FormShow() {
    TabCrawl->WriteGridHeaders();
    TabMem->FillStartNumbers();
    GrUpdateAll->move(kPanelShownLeft, GrUpdateAll->y());
    GrUpdateAll->hide();
    pageChangeAllowed_ = false;
    PageControl1->setCurrentIndex(0);
}

void TForm1::FormClose() { lcx_.CloseDevice(); }

void TForm1::FillSelectForm(int n) {
    TRadioGroup& group = *selectForm_->GrRdSelect;
    group.ClearItems();
    for (int k = 1; k <= n; ++k) group.AddItem(QString("USB N°%1").arg(k));
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
    lcx_.ReadAll();
}

void TForm1::BtnWriteAllClick() {
    ShowProgress(0);
    lcx_.WriteAll();
}

void TForm1::BtnQuitClick() { close(); }

void TForm1::LCX1Connect(TObject* /*Sender*/) {
    SetStatus("Connexion");
    LedConnect->SetLedStatus(true);
    BtnReadAllClick();
}

void TForm1::LCX1Disconnect(TObject* /*Sender*/) {
    SetStatus("Déconnexion");
    LedConnect->SetLedStatus(false);
    pageChangeAllowed_ = false;
    PageControl1->setCurrentIndex(0);
}

void TForm1::LCX1LoadProgressEvent(int progress) {
    ShowProgress(progress);
    SetStatus("Lecture des paramètres en cours");
}

void TForm1::LCX1SaveProgressEvent(int progress) {
    ShowProgress(progress);
    SetStatus("Ecriture des paramètres en cours");
}

void TForm1::LCX1ReadAllCompleted(TObject* /*Sender*/) {
    SetStatus("Lecture des paramètres termiée");
    BtnRefreshClick();
    pageChangeAllowed_ = true;
    PageControl1->setCurrentIndex(1);
    CkChange->setChecked(false);
    GrUpdateAll->hide();
    BtnReadAll->setEnabled(true);
    BtnWriteAll->setEnabled(true);
    emit readAllCompleted();
}

void TForm1::LCX1WriteAllCompleted(TObject* /*Sender*/) {
    SetStatus("Ecriture des paramètres terminée");
    BtnRefreshClick();
    CkChange->setChecked(false);
    GrUpdateAll->hide();
    lcx_.ReadOutput();
}

void TForm1::LCX1TimeOut(TObject* /*Sender*/) {
    GrUpdateAll->hide();
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), "Allumer le calibrateur",
                    QMessageBox::Ok, this);
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
    AllowChange = pageChangeAllowed_;
}

void TForm1::Image1Click() {
    if (aboutBox_) RunModal(*aboutBox_);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1) {
        switch (event->type()) {
            case QEvent::Enter: SetStatus(Image1->toolTip()); break;
            case QEvent::Leave: SetStatus(QString()); break;
            case QEvent::MouseButtonRelease: Image1Click(); return true;
            default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) FormShow();
    QWidget::showEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    QWidget::closeEvent(event);
}

}  // namespace vadero
