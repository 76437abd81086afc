// The settings page: the calibrator's language and its measurement filter.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include "app/pages/FilterTime.h"
#include "app/pages/OthersPage.h"
#include "tests/app/PageHarness.h"
#include "tests/app/pages/PageTestSupport.h"
#include "widgets/MyControls.h"

namespace vadero::test {
namespace {

class OthersPageTest : public ::testing::Test {
  protected:
    TLCXParams& params() { return host.lcx.Params(); }
    QSlider& filter() { return Child<QSlider>(page, "TrFiltre"); }
    QLineEdit& filterText() { return Child<QLineEdit>(page, "EdFiltre"); }
    TRadioButtonLangue& francais() { return Child<TRadioButtonLangue>(page, "RadioButtonLangue7"); }
    TRadioButtonLangue& anglais() { return Child<TRadioButtonLangue>(page, "RadioButtonLangue8"); }

    PageHarness host;
    OthersPage page{host};
};

TEST_F(OthersPageTest, StartsWithNoLanguageAndTheFilterOff) {
    EXPECT_EQ(page.objectName(), "TabOthers");
    EXPECT_FALSE(francais().isChecked());
    EXPECT_FALSE(anglais().isChecked());
    EXPECT_EQ(francais().text(), "Français");
    EXPECT_EQ(Child<TGroupBoxLangue>(page, "GrLangue").title(), "Langue");
    EXPECT_EQ(Child<TGroupBoxLangue>(page, "GrFiltre").title(), "Filtre");
    EXPECT_EQ(filter().minimum(), 0);
    EXPECT_EQ(filter().maximum(), 16);
    EXPECT_EQ(filter().value(), 0);
    EXPECT_EQ(filter().tickPosition(), QSlider::TicksBelow);
    EXPECT_EQ(filter().tickInterval(), 1);
    EXPECT_EQ(filterText().text(), "Off");
    EXPECT_TRUE(filterText().isReadOnly());
    EXPECT_LT(Child<TGroupBoxLangue>(page, "GrLangue").y(),
              Child<TGroupBoxLangue>(page, "GrFiltre").y());
    EXPECT_EQ(host.changeChecks, 0);
}

TEST_F(OthersPageTest, EachFilterMoveShowsItsTimeStoresItAndChecksChangement) {
    const std::pair<int, const char*> moves[] = {{2, "8 s"},   {6, "22 s"},  {10, "38 s"},
                                                 {14, "52 s"}, {16, "60 s"}, {0, "Off"}};
    int checks = 0;
    for (const auto& [position, text] : moves) {
        filter().setValue(position);
        EXPECT_EQ(filterText().text(), text) << position;
        EXPECT_EQ(params().Filter(), position);
        EXPECT_EQ(host.changeChecks, ++checks) << position;
    }
    QTest::keyClick(&filter(), Qt::Key_Right);  // by the user
    EXPECT_EQ(filterText().text(), "4 s");
    EXPECT_EQ(host.changeChecks, ++checks);
}

TEST_F(OthersPageTest, FilterTimesRoundHalvesToEven) {
    const char* const table[] = {"Off",  "4 s",  "8 s",  "11 s", "15 s", "19 s",
                                 "22 s", "26 s", "30 s", "34 s", "38 s", "41 s",
                                 "45 s", "49 s", "52 s", "56 s", "60 s"};
    for (int p = 0; p <= 16; ++p) EXPECT_EQ(FilterText(p), table[p]) << p;
}

TEST_F(OthersPageTest, RefreshSetsTheFilterOnlyWithinItsRange) {
    params().SetFilter(5);
    page.ShowFilter();
    EXPECT_EQ(filter().value(), 5);
    EXPECT_EQ(filterText().text(), "19 s");
    EXPECT_EQ(host.changeChecks, 1);

    params().SetFilter(17);
    page.ShowFilter();
    EXPECT_EQ(filter().value(), 5);
    EXPECT_EQ(filterText().text(), "19 s");
    EXPECT_EQ(params().Filter(), 17);  // kept as read
    EXPECT_EQ(host.changeChecks, 1);

    params().SetFilter(5);
    page.ShowFilter();  // the value the bar holds: nothing runs
    EXPECT_EQ(host.changeChecks, 1);
}

TEST_F(OthersPageTest, AnglaisSelectsTheCalibratorsLanguageOnly) {
    page.show();
    // On the indicator: the button reacts to its indicator and text only.
    QTest::mouseClick(&anglais(), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_TRUE(anglais().isChecked());
    EXPECT_EQ(params().Language(), 1);
    EXPECT_EQ(host.changeChecks, 1);
    // The window's captions stay French.
    EXPECT_EQ(anglais().text(), "Anglais");
    EXPECT_EQ(francais().text(), "Français");
    EXPECT_EQ(Child<TGroupBoxLangue>(page, "GrLangue").title(), "Langue");

    QTest::mouseClick(&francais(), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(params().Language(), 0);
    EXPECT_EQ(host.changeChecks, 2);  // only the button becoming checked runs
}

TEST_F(OthersPageTest, RefreshChecksTheStoredLanguageOnlyForZeroOrOne) {
    params().SetLanguage(1);
    page.ShowLanguage();
    EXPECT_TRUE(anglais().isChecked());
    EXPECT_EQ(host.changeChecks, 1);
    params().SetLanguage(2);
    page.ShowLanguage();
    EXPECT_TRUE(anglais().isChecked());
    EXPECT_EQ(params().Language(), 2);
    EXPECT_EQ(host.changeChecks, 1);
    params().SetLanguage(0);
    page.ShowLanguage();
    EXPECT_TRUE(francais().isChecked());
    EXPECT_FALSE(anglais().isChecked());
    EXPECT_EQ(host.changeChecks, 2);
}

}  // namespace
}  // namespace vadero::test
