// The main window's frame and connection flow against emulated calibrators.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>

#include "app/Application.h"
#include "app/Guard.h"
#include "app/NumberEntry.h"
#include "app/PageControl.h"
#include "app/pages/MainPage.h"
#include "tests/app/WindowHarness.h"
#include "widgets/Led.h"
#include "widgets/MyControls.h"

namespace vadero {
namespace {

using namespace std::chrono_literals;
using test::WindowHarness;

TEST(WindowStart, ShowsTheFrameLockedOnTheConnectionPage) {
    WindowHarness w(1);
    TForm1& f = w.form();
    EXPECT_EQ(f.windowTitle(), "Configurateur du calibrateur LCX3[*]");
    EXPECT_FALSE(f.isWindowModified());
    // The client area keeps its size below the menu bar.
    EXPECT_EQ(f.Client->size(), QSize(449, 480));
    EXPECT_EQ(f.size(), QSize(449, 480 + f.MenuBar1->height()));
    EXPECT_EQ(f.Client->y(), f.MenuBar1->height());
    EXPECT_EQ(f.PageControl1->currentIndex(), 0);
    QStringList tabs;
    for (int k = 0; k < f.PageControl1->count(); ++k) tabs << f.PageControl1->tabText(k);
    EXPECT_EQ(tabs, (QStringList{"Connexion", "Principal", "Echelle utilisateur", "Mémoires",
                                 "Rampe", "Divers"}));
    // The memory edits were filled at show, which checked the indicator.
    EXPECT_TRUE(f.CkChange->isChecked());
    // Drawn in normal colours, yet a click of the user toggles nothing.
    EXPECT_TRUE(f.CkChange->isEnabled());
    QTest::mouseClick(f.CkChange, Qt::LeftButton);
    EXPECT_TRUE(f.CkChange->isChecked());
    EXPECT_FALSE(f.LedConnect->LedStatus());
    EXPECT_EQ(f.LedConnect->Kind(), TLedKind::Green);
    EXPECT_FALSE(f.BtnReadAll->isEnabled());
    EXPECT_FALSE(f.BtnWriteAll->isEnabled());
    EXPECT_TRUE(f.GrUpdateAll->isHidden());
    EXPECT_EQ(f.GrUpdateAll->x(), 18);
    EXPECT_EQ(f.BtnScan->text(), "Recheche du materiel USB");
    EXPECT_EQ(f.GrUpdateAll->title(), "Transfert des paramères");
    EXPECT_EQ(f.LabelLangue4->text(), "Présence de l'appareil USB");
}

TEST(WindowStart, WithoutACalibratorTheScanDoesNothingAndTheTabsStayLocked) {
    WindowHarness w(0);
    TForm1& f = w.form();
    QTest::mouseClick(f.BtnScan, Qt::LeftButton);
    w.Run(100ms);
    EXPECT_TRUE(w.modals.empty());
    EXPECT_FALSE(f.LedConnect->LedStatus());
    EXPECT_EQ(f.StatusText(), "");
    w.ClickTab(2);
    EXPECT_EQ(f.PageControl1->currentIndex(), 0);
    QTest::keyClick(f.PageControl1, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(f.PageControl1->currentIndex(), 0);
}

TEST(WindowStart, TwoCalibratorsAreOfferedAndTheChosenOneIsOpened) {
    WindowHarness w(2);
    TForm1& f = w.form();
    QStringList items;
    int selected = -2;
    w.answer = [&](QDialog& dialog) {
        auto* select = qobject_cast<TSelectForm*>(&dialog);
        EXPECT_NE(select, nullptr);
        items = select->GrRdSelect->Items();
        selected = select->GrRdSelect->ItemIndex();
        select->GrRdSelect->Button(1)->click();
        return int(QDialog::Rejected);  // the close box: the outcome is not looked at
    };
    f.BtnScanClick();
    EXPECT_EQ(items, (QStringList{"USB N°1", "USB N°2"}));
    EXPECT_EQ(selected, 0);
    ASSERT_EQ(w.modals.size(), 1u);
    EXPECT_EQ(w.modals[0].title, "Selection");
    w.Run(20ms);
    EXPECT_TRUE(f.LedConnect->LedStatus());
    // The second calibrator is the open one: unplugging the first changes nothing.
    w.device(1).Unplug();
    w.Run(300ms);
    EXPECT_TRUE(f.LedConnect->LedStatus());
    w.device(2).Unplug();
    w.Run(300ms);
    EXPECT_FALSE(f.LedConnect->LedStatus());
}

TEST(WindowStart, ClosingTheChoiceAtOnceOpensTheFirst) {
    WindowHarness w(2);
    w.answer = [](QDialog&) { return int(QDialog::Rejected); };
    w.form().BtnScanClick();
    w.Run(20ms);
    ASSERT_TRUE(w.form().LedConnect->LedStatus());
    w.device(1).Unplug();
    w.Run(300ms);
    EXPECT_FALSE(w.form().LedConnect->LedStatus());
}

TEST(ConnectionFlow, TheFirstReadFillsThePagesAndUnlocksThem) {
    WindowHarness w(1);
    TForm1& f = w.form();
    std::vector<int> positions;
    QObject::connect(f.ProgressBar, &QProgressBar::valueChanged,
                     [&](int value) { positions.push_back(value); });
    f.BtnScanClick();
    w.Run(20ms);
    EXPECT_EQ(f.StatusText(), "Connexion");
    EXPECT_TRUE(f.LedConnect->LedStatus());
    EXPECT_TRUE(f.GrUpdateAll->isVisibleTo(&f));
    w.Tick();
    EXPECT_EQ(f.StatusText(), "Lecture des paramètres en cours");
    ASSERT_TRUE(w.TickUntil([&] { return f.PageChangeAllowed(); }));
    EXPECT_EQ(f.StatusText(), "Lecture des paramètres termiée");
    EXPECT_EQ(positions, (std::vector<int>{15, 32, 100}));
    EXPECT_EQ(f.PageControl1->currentIndex(), 1);
    EXPECT_FALSE(f.CkChange->isChecked());
    EXPECT_TRUE(f.GrUpdateAll->isHidden());
    EXPECT_TRUE(f.BtnReadAll->isEnabled());
    EXPECT_TRUE(f.BtnWriteAll->isEnabled());
    // The factory set: range 4-20 mA, output 4 mA shown with three decimals.
    EXPECT_TRUE(f.TabMain->RadioButtonLangue[1]->isChecked());
    EXPECT_EQ(f.TabMain->EdiOutput->text(), "4.000");
    w.ClickTab(4);
    EXPECT_EQ(f.PageControl1->currentIndex(), 4);
}

TEST(ConnectionFlow, UnplugLocksTheTabsAndReplugReadsAgain) {
    WindowHarness w(1);
    TForm1& f = w.form();
    w.ConnectAndLoad();
    w.ClickTab(3);
    w.device().Unplug();
    w.Run(300ms);
    EXPECT_EQ(f.StatusText(), "Déconnexion");
    EXPECT_FALSE(f.LedConnect->LedStatus());
    EXPECT_EQ(f.PageControl1->currentIndex(), 0);
    EXPECT_FALSE(f.PageChangeAllowed());
    EXPECT_TRUE(f.BtnReadAll->isEnabled());
    EXPECT_TRUE(f.BtnWriteAll->isEnabled());
    w.ClickTab(1);
    EXPECT_EQ(f.PageControl1->currentIndex(), 0);
    // A read started while the calibrator is away ends in the time-out message.
    QTest::mouseClick(f.BtnReadAll, Qt::LeftButton);
    ASSERT_TRUE(w.TickUntil([&] { return !w.modals.empty(); }));
    EXPECT_EQ(w.modals[0].text, "Allumer le calibrateur");
    EXPECT_TRUE(f.GrUpdateAll->isHidden());

    w.device().SetHolding(3, 6);  // the filter changed on the calibrator meanwhile
    w.device().Plug();
    w.Run(300ms);
    EXPECT_EQ(f.StatusText(), "Connexion");
    EXPECT_TRUE(f.LedConnect->LedStatus());
    EXPECT_TRUE(f.GrUpdateAll->isVisibleTo(&f));
    ASSERT_TRUE(w.TickUntil([&] { return f.PageChangeAllowed(); }));
    EXPECT_EQ(f.PageControl1->currentIndex(), 1);
    EXPECT_EQ(f.LCX1().Params().Filter(), 6);
}

TEST(ConnectionFlow, ACompleteWriteEndsWithTheOutputReadBack) {
    WindowHarness w(1);
    TForm1& f = w.form();
    w.ConnectAndLoad();
    f.TabMain->RadioButtonLangue[0]->click();  // 0-20 mA
    EXPECT_TRUE(f.CkChange->isChecked());
    QTest::mouseClick(f.BtnWriteAll, Qt::LeftButton);
    EXPECT_TRUE(f.GrUpdateAll->isVisibleTo(&f));
    ASSERT_TRUE(w.TickUntil([&] { return f.StatusText() == "Ecriture des paramètres terminée"; }));
    EXPECT_FALSE(f.CkChange->isChecked());
    EXPECT_TRUE(f.GrUpdateAll->isHidden());
    EXPECT_EQ(w.device().Holding(1), 0);
    ASSERT_TRUE(w.TickUntil([&] { return f.StatusText().isEmpty(); }, 3));
    EXPECT_EQ(f.TabMain->EdiOutput->text(), "4.000");
}

TEST(ConnectionFlow, ATimeOutHidesThePanelAndAsksToSwitchTheCalibratorOn) {
    WindowHarness w(1);
    TForm1& f = w.form();
    w.device().PowerOff();
    f.BtnScanClick();
    w.Run(20ms);
    ASSERT_TRUE(w.TickUntil([&] { return !w.modals.empty(); }));
    EXPECT_EQ(w.modals[0].text, "Allumer le calibrateur");
    EXPECT_TRUE(f.GrUpdateAll->isHidden());
    EXPECT_FALSE(f.PageChangeAllowed());
    EXPECT_EQ(f.PageControl1->currentIndex(), 0);
    EXPECT_EQ(f.StatusText(), "Connexion");
    EXPECT_FALSE(f.BtnReadAll->isEnabled());
}

TEST(WindowFrame, TheLogoShowsItsHintAndOpensTheAboutBox) {
    WindowHarness w(1);
    TForm1& f = w.form();
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(f.Image1, &enter);
    EXPECT_EQ(f.StatusText(), "Norvelectrics");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.Image1, &leave);
    EXPECT_EQ(f.StatusText(), "");

    QStringList labels;
    w.answer = [&](QDialog& dialog) {
        dialog.show();
        auto* about = qobject_cast<TAboutBox*>(&dialog);
        EXPECT_NE(about, nullptr);
        labels << about->windowTitle() << about->ProductName->text() << about->Version->text()
               << about->Systeme->text() << about->VersionWin->text();
        dialog.hide();
        return int(QDialog::Accepted);
    };
    QTest::mouseClick(f.Image1, Qt::LeftButton);
    ASSERT_EQ(labels.size(), 5);
    EXPECT_EQ(labels[0], "A propos de ...");
    EXPECT_EQ(labels[1], "VADERO - Français");
    EXPECT_EQ(labels[2], "Version : 1.00");
    EXPECT_EQ(labels[3], "Système : Linux");
    EXPECT_TRUE(labels[4].startsWith("Version n° : ")) << labels[4].toStdString();
    EXPECT_GT(labels[4].size(), QString("Version n° : ").size());
    // Aide > A propos opens the same box.
    labels.clear();
    f.ActAPropos->trigger();
    EXPECT_EQ(labels.size(), 5);
}

TEST(WindowFrame, CentredByTheProgramWithTheToolkitsButtonsInFrench) {
    WindowHarness w(1);
    TForm1& f = w.form();
    const QPoint centre = f.screen()->availableGeometry().center();
    EXPECT_LE((f.frameGeometry().center() - centre).manhattanLength(), 2);
    QMessageBox box(QMessageBox::Question, "", "", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Annuler");
}

TEST(WindowFrame, AnExceptionInAHandlerIsShownAndTheWindowGoesOn) {
    auto* app = qobject_cast<Application*>(QApplication::instance());
    ASSERT_NE(app, nullptr);
    QStringList shown;
    app->OnException = [&](const QString& message) { shown << message; };
    WindowHarness w(1);
    QPushButton faulty("faulty", &w.form());
    int clicks = 0;
    QObject::connect(&faulty, &QPushButton::clicked, Guarded([&] {
        if (++clicks == 1)
            throw std::out_of_range("register 1025");
    }));
    faulty.show();
    QTest::mouseClick(&faulty, Qt::LeftButton);
    QTest::mouseClick(&faulty, Qt::LeftButton);
    app->OnException = nullptr;
    EXPECT_EQ(shown, QStringList{"register 1025"});
    EXPECT_EQ(clicks, 2);
    w.ConnectAndLoad();
    EXPECT_EQ(w.form().PageControl1->currentIndex(), 1);
}

}  // namespace
}  // namespace vadero
