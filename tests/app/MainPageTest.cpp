// The "Principal" page: range, loop power, output and measurement.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/NumberEntry.h"
#include "app/pages/MainPage.h"
#include "calibrator/Conversions.h"
#include "tests/app/PageHarness.h"
#include "tests/app/WindowHarness.h"
#include "widgets/MyControls.h"

namespace vadero {
namespace {

using namespace std::chrono_literals;

class MainPageTest : public ::testing::Test {
  protected:
    test::PageHarness host;
    MainPage page{host};
    TLCXParams& params = host.lcx.Params();
};

TEST_F(MainPageTest, EachRangeSetsItsUnitsAndControls) {
    struct Row {
        int range;
        const char* outputUnit;
        const char* inputUnit;
        bool write, loopEnabled, loopChecked;
    };
    // The loop power box starts checked in every row, so each row shows what
    // the range does to it.
    for (const Row& r :
         {Row{2, "V", "V", true, false, false}, Row{0, "mA", "mA", true, true, true},
          Row{3, "mA", "mA", false, true, false}, Row{2, "V", "V", true, false, false},
          Row{4, "V", "V", false, false, false}, Row{5, "V", "KOhms", false, false, false},
          Row{1, "mA", "mA", true, true, true}}) {
        page.CkLoopPower->setEnabled(true);
        page.CkLoopPower->setChecked(true);
        page.EdiOutput->setText("12");
        host.changed = false;
        page.RadioButtonLangue[r.range]->click();
        EXPECT_EQ(params.Range(), r.range);
        EXPECT_TRUE(host.changed);
        EXPECT_EQ(page.RdOutputmAV->text(), r.outputUnit) << r.range;
        EXPECT_EQ(page.RdInputmAV->text(), r.inputUnit) << r.range;
        EXPECT_EQ(page.BtnWrOutput->isEnabled(), r.write) << r.range;
        EXPECT_EQ(page.CkLoopPower->isEnabled(), r.loopEnabled) << r.range;
        EXPECT_EQ(page.CkLoopPower->isChecked(), r.loopChecked) << r.range;
        EXPECT_EQ(params.LoopPower(), r.loopChecked ? 1 : 0) << r.range;
        EXPECT_EQ(page.EdiOutput->text(), "");
    }
}

TEST_F(MainPageTest, ARangeOutsideTheSixLeavesEverythingAsItWas) {
    page.RadioButtonLangue[2]->click();
    page.EdiOutput->setText("3");
    params.SetRange(9);
    page.ShowRange();
    EXPECT_TRUE(page.RadioButtonLangue[2]->isChecked());
    EXPECT_EQ(page.RdOutputmAV->text(), "V");
    EXPECT_EQ(page.EdiOutput->text(), "3");
}

TEST_F(MainPageTest, TheOutputIsShownInTheCheckedUnit) {
    params.SetRange(rgGenerate420mA);
    params.SetOutputDecimals(1);
    params.SetUserFormat(CodeOfFormat(4, 1));
    params.SetUserZero(0);
    params.SetUserFullScale(200);
    host.lcx.SetOutput(TValueUnit::uPhysical, 4.0F);
    page.ShowOutput();
    EXPECT_EQ(page.EdiOutput->text(), "4.00");
    page.RdPourc->click();
    EXPECT_EQ(page.EdiOutput->text(), "0.00");
    host.lcx.SetOutput(TValueUnit::uPhysical, 12.0F);
    page.ShowOutput();
    EXPECT_EQ(page.EdiOutput->text(), "50.00");
    page.RadioButtonLangue10->click();
    EXPECT_EQ(page.EdiOutput->text(), " 100.0");
    page.RdOutputmAV->click();
    EXPECT_EQ(page.EdiOutput->text(), "12.00");
}

TEST_F(MainPageTest, WritingTheOutputSendsTheValueShownAndNothingForAMistypedOne) {
    params.SetRange(rgGenerate020mA);
    page.EdiOutput->setText("10");
    page.BtnWrOutputClick();
    EXPECT_EQ(params.OutputValue(), 14000);
    EXPECT_EQ(host.status, "Génération de la valeur");
    EXPECT_EQ(host.lcx.Step(), WriteOutputStep);
    host.lcx.StopSequence();

    page.RdPourc->click();
    EXPECT_EQ(page.EdiOutput->text(), "50.00");
    page.EdiOutput->setText("dix");
    page.BtnWrOutputClick();
    EXPECT_EQ(page.EdiOutput->text(), "50.00");
    EXPECT_EQ(
        host.status,
        "Valeur non numérique : « dix », la valeur à générer garde 50.00 % ; rien n'est envoyé");
    EXPECT_EQ(host.lcx.Step(), StepIdle);
    page.BtnWrOutputClick();  // now what the edit shows
    EXPECT_EQ(host.lcx.Step(), WriteOutputStep);
    host.lcx.StopSequence();

    page.EdiOutput->setText("120");  // past 110 %: limited, and shown so
    page.BtnWrOutputClick();
    EXPECT_EQ(page.EdiOutput->text(), "110.00");
    EXPECT_EQ(params.OutputValue(), 30800);
    host.lcx.StopSequence();

    page.RadioButtonLangue[1]->click();  // a range change empties the edit
    host.changed = false;
    page.BtnWrOutputClick();
    EXPECT_EQ(host.lcx.Step(), StepIdle);
    EXPECT_EQ(host.questions, 0);
}

TEST_F(MainPageTest, NumbersShowTheLocaleSeparatorAndTakeEither) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    params.SetRange(rgGenerate020mA);
    host.lcx.SetOutput(TValueUnit::uPhysical, 4.5F);
    page.ShowOutput();
    const QString shown = page.EdiOutput->text();
    page.EdiOutput->setText("10,5");
    page.BtnWrOutputClick();
    const std::int16_t comma = params.OutputValue();
    page.EdiOutput->setText("10.25");
    page.BtnWrOutputClick();
    const QString point = page.EdiOutput->text();
    QLocale::setDefault(before);
    EXPECT_EQ(shown, "4,500");
    EXPECT_EQ(comma, 14700);
    EXPECT_EQ(point, "10,250");
    EXPECT_EQ(params.OutputValue(), 14350);
}

TEST_F(MainPageTest, PendingChangesAskForACompleteWriteFirst) {
    params.SetRange(rgGenerate020mA);
    host.changed = true;
    page.EdiOutput->setText("10");
    host.answerOk = false;
    page.BtnWrOutputClick();
    page.BtnRdInputClick();
    EXPECT_EQ(host.questions, 2);
    EXPECT_EQ(host.writeAlls, 0);
    EXPECT_EQ(params.OutputValue(), 0);
    EXPECT_EQ(host.lcx.Step(), StepIdle);
    host.answerOk = true;
    page.BtnWrOutputClick();
    page.BtnRdInputClick();
    EXPECT_EQ(host.writeAlls, 2);
    EXPECT_EQ(params.OutputValue(), 0);
    EXPECT_EQ(host.lcx.Step(), StepIdle);
}

TEST(MainPageOnTheWindow, TheQuestionBoxStartsTheWriteAndSendsNoOutput) {
    test::WindowHarness w(1);
    TForm1& f = w.form();
    w.ConnectAndLoad();
    f.TabMain->RadioButtonLangue[0]->click();
    f.TabMain->EdiOutput->setText("15");
    f.TabMain->EdiOutput->setFocus();
    w.answer = [](QDialog&) { return int(QMessageBox::Cancel); };
    QTest::mouseClick(f.TabMain->BtnWrOutput, Qt::LeftButton);
    ASSERT_EQ(w.modals.size(), 1u);
    EXPECT_EQ(w.modals[0].title, "Attention");
    EXPECT_EQ(w.modals[0].text, "Vous devez d'abord transférer les nouveaux paramètres ?");
    w.Tick();
    w.Tick();
    EXPECT_EQ(w.device().WriteCount(0), 0u);
    EXPECT_EQ(w.device().WriteCount(1), 0u);

    w.answer = nullptr;  // OK
    QTest::mouseClick(f.TabMain->BtnWrOutput, Qt::LeftButton);
    EXPECT_TRUE(f.GrUpdateAll->isVisibleTo(&f));
    ASSERT_TRUE(w.TickUntil([&] { return f.StatusText() == "Ecriture des paramètres terminée"; }));
    EXPECT_EQ(w.device().Holding(1), 0);
    EXPECT_EQ(w.device().WriteCount(0), 0u);  // the write-all leaves register 0 alone
}

TEST(MainPageOnTheWindow, TheMeasurementShowsItsValueOrTheOverrun) {
    test::WindowHarness w(1);
    TForm1& f = w.form();
    w.ConnectAndLoad();
    f.TabMain->RadioButtonLangue[3]->click();  // current measure
    QTest::mouseClick(f.BtnWriteAll, Qt::LeftButton);
    ASSERT_TRUE(w.TickUntil([&] { return !f.CkChange->isChecked(); }));
    w.Tick();
    struct Row {
        std::int16_t raw;
        const char* text;
    };
    for (const Row& r : {Row{14000, "10.000"}, Row{32000, "Dep+"}, Row{-2000, "Dep-"}}) {
        w.device().SetMeasuredInput(r.raw);
        QTest::mouseClick(f.TabMain->BtnRdInput, Qt::LeftButton);
        EXPECT_EQ(f.StatusText(), "Lecture de la mesure en cours");
        EXPECT_EQ(f.TabMain->EdiInput->text(), "");
        ASSERT_TRUE(w.TickUntil([&] { return f.StatusText() == "Lecture de la mesure terminée"; }));
        EXPECT_EQ(f.TabMain->EdiInput->text(), r.text);
    }
    EXPECT_TRUE(w.modals.empty());
}

}  // namespace
}  // namespace vadero
