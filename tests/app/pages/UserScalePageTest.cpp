// The user scale page: the format buttons and their limits, the typed values
// and their limits, and the displays after a refresh.

#include <gtest/gtest.h>
#include <cmath>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <climits>
#include <limits>

#include "app/LocaleText.h"
#include "app/pages/UserScalePage.h"
#include "app/pages/UserScaleValues.h"
#include "calibrator/Conversions.h"
#include "tests/app/PageHarness.h"
#include "tests/app/pages/PageTestSupport.h"
#include "widgets/SEGMENTS.h"

namespace vadero::test {
namespace {

class UserScalePageTest : public ::testing::Test {
  protected:
    TLCXParams& params() { return host.lcx.Params(); }
    TSEG& fs() { return Child<TSEG>(page, "SEG_US_FS"); }
    TSEG& zero() { return Child<TSEG>(page, "SEG_US_Zero"); }
    QLineEdit& edFS() { return Child<QLineEdit>(page, "EdFS_UserScalePt"); }
    QLineEdit& edZero() { return Child<QLineEdit>(page, "EdZero_UserScalePt"); }
    // Clicks a button; how often it checked "Changement".
    int click(const char* name) {
        const int before = host.changeChecks;
        Child<QPushButton>(page, name).click();
        return host.changeChecks - before;
    }
    void expectShape(int digits, int decimals) {
        EXPECT_EQ(fs().NbDigit(), digits);
        EXPECT_EQ(fs().PointDecimal(), decimals);
        EXPECT_EQ(zero().NbDigit(), digits);
        EXPECT_EQ(zero().PointDecimal(), decimals);
        EXPECT_EQ(params().UserFormat(), CodeOfFormat(digits, decimals));
    }

    LocaleScope locale;
    PageHarness host;
    UserScalePage page{host};
};

TEST_F(UserScalePageTest, StartsEmptyWithTwoFiveDigitLcdDisplays) {
    EXPECT_EQ(page.objectName(), "TabUserScale");
    EXPECT_TRUE(edFS().text().isEmpty());
    EXPECT_TRUE(edZero().text().isEmpty());
    for (TSEG* seg : {&fs(), &zero()}) {
        EXPECT_EQ(seg->Style(), TStyle::LCD);
        EXPECT_EQ(seg->NbDigit(), 5);
        EXPECT_FALSE(seg->HalfDigit());
        EXPECT_EQ(seg->size(), QSize(214, 52));
    }
    EXPECT_EQ(Child<QPushButton>(page, "Button1").text(), "<");
    EXPECT_EQ(Child<QPushButton>(page, "Button3").text(), "<<");
    EXPECT_EQ(Child<QPushButton>(page, "Button4").text(), ">>");
    EXPECT_EQ(Child<QPushButton>(page, "Button2").text(), ">");
}

TEST_F(UserScalePageTest, ButtonsStopAtTheirLimitsAndStillStoreTheFormat) {
    params().SetUserFormat(0);
    EXPECT_GE(click("Button2"), 1);  // ">" with no decimals left
    expectShape(5, 0);

    for (int i = 0; i < 3; ++i) click("Button1");
    expectShape(5, 3);
    EXPECT_GE(click("Button1"), 1);  // "<" stops at 3 decimals
    expectShape(5, 3);

    click("Button3");  // "<<": one digit fewer pulls the point in
    expectShape(4, 2);
    for (int i = 0; i < 3; ++i) click("Button3");
    expectShape(2, 0);
    EXPECT_GE(click("Button3"), 1);
    expectShape(2, 0);
    EXPECT_EQ(fs().size(), QSize(94, 52));

    for (int i = 0; i < 3; ++i) click("Button4");
    expectShape(5, 0);
    EXPECT_GE(click("Button4"), 1);  // ">>" stops at 5
    expectShape(5, 0);
    EXPECT_EQ(fs().size(), QSize(214, 52));
}

TEST_F(UserScalePageTest, ButtonsRewriteTheEditsInTheNewFormat) {
    params().SetUserFullScale(12.345F);
    params().SetUserZero(-2.0F);
    click("Button1");
    // The edits show the new picture, never fewer decimals than a value
    // has; the stored values stay and the displays show the format.
    EXPECT_EQ(edFS().text(), "12.345");
    EXPECT_EQ(edZero().text(), "-2.0");
    EXPECT_FLOAT_EQ(params().UserFullScale(), 12.345F);
    EXPECT_FLOAT_EQ(params().UserZero(), -2.0F);
    EXPECT_EQ(fs().Nb(), 123);
    EXPECT_EQ(zero().Nb(), -20);
    click("Button2");
    EXPECT_EQ(edFS().text(), "12.345");
    EXPECT_EQ(edZero().text(), "-2");
    EXPECT_EQ(fs().Nb(), 12);
}

// Both edits behave alike; each case is typed into one of them.
struct EditCase {
    const char* edit;
    float (TLCXParams::*stored)() const;
};

class UserScaleEditTest : public UserScalePageTest, public ::testing::WithParamInterface<EditCase> {
  protected:
    QLineEdit& edit() { return Child<QLineEdit>(page, GetParam().edit); }
    float stored() { return (params().*GetParam().stored)(); }
    // Types over what the edit shows and presses Enter.
    void type(const QString& text) {
        edit().selectAll();
        QTest::keyClicks(&edit(), text);
        QTest::keyClick(&edit(), Qt::Key_Return);
    }
    void holdSeven() {
        params().SetUserFormat(CodeOfFormat(5, 0));
        params().SetUserFullScale(7.0F);
        params().SetUserZero(7.0F);
        page.RefreshStep();
        host.changed = false;
    }
};

TEST_P(UserScaleEditTest, ATextThatIsNoNumberIsRefusedAndTheValueStays) {
    holdSeven();
    for (const char* typed : {"-", "x", "12a", "1e", "1.2.3", ""}) {
        type(typed);
        EXPECT_EQ(edit().text(), "7") << typed;
        EXPECT_EQ(stored(), 7.0F) << typed;
        EXPECT_FALSE(host.changed) << typed;
    }
    type("1e3");
    EXPECT_EQ(edit().text(), "1000");
    EXPECT_EQ(stored(), 1000.0F);
}

TEST_P(UserScaleEditTest, ValuesBeyondTheDisplayAreLimitedAndShownLimited) {
    holdSeven();
    const struct {
        const char* typed;
        float stored;
        const char* status;
    } cases[] = {
        {"123456", 99999.0F, "123456 limité à 99999"},
        {"-12000", -9999.0F, "-12000 limité à -9999"},
        {"99999", 99999.0F, ""},
        {"99998.5", 99998.5F, ""},
        {"-9999", -9999.0F, ""},
        {"-9998,5", -9998.5F, ""},
        {"99999.5", 99999.0F, "99999.5 limité à 99999"},
        {"-9999.5", -9999.0F, "-9999.5 limité à -9999"},
    };
    for (const auto& c : cases) {
        host.status.clear();
        type(c.typed);
        EXPECT_EQ(stored(), c.stored) << c.typed;
        EXPECT_EQ(ReadNumber(edit().text()), c.stored) << c.typed;
        EXPECT_EQ(host.status, c.status) << c.typed;
    }
}

TEST_P(UserScaleEditTest, TheValueIsTakenOnEnterUpdatingItsDisplayAndChangement) {
    holdSeven();
    click("Button1");
    click("Button1");  // two decimals
    host.changed = false;
    edit().selectAll();
    QTest::keyClicks(&edit(), "4.5");
    EXPECT_EQ(stored(), 7.0F);
    EXPECT_FALSE(host.changed);
    QTest::keyClick(&edit(), Qt::Key_Return);
    EXPECT_EQ(stored(), 4.5F);
    EXPECT_EQ(edit().text(), "4.50");
    TSEG& seg = GetParam().edit == std::string("EdFS_UserScalePt") ? fs() : zero();
    EXPECT_EQ(seg.Nb(), 450);
    EXPECT_TRUE(host.changed);
}

INSTANTIATE_TEST_SUITE_P(BothEdits, UserScaleEditTest,
                         ::testing::Values(EditCase{"EdFS_UserScalePt", &TLCXParams::UserFullScale},
                                           EditCase{"EdZero_UserScalePt", &TLCXParams::UserZero}));

TEST_F(UserScalePageTest, RefreshShowsTheCalibratorsDecimalsAndKeepsTheDigitCount) {
    click("Button3");  // 4 digits
    params().SetUserFormat(CodeOfFormat(5, 3));
    params().SetUserFullScale(12.345F);
    params().SetUserZero(-1.5F);
    page.RefreshStep();
    EXPECT_EQ(fs().NbDigit(), 4);
    EXPECT_EQ(zero().NbDigit(), 4);
    EXPECT_EQ(fs().PointDecimal(), 3);
    EXPECT_EQ(zero().PointDecimal(), 3);
    EXPECT_EQ(edFS().text(), "12.345");
    EXPECT_EQ(edZero().text(), "-1.500");
    EXPECT_EQ(fs().Nb(), 12345);
    EXPECT_EQ(zero().Nb(), -1500);
}

TEST_F(UserScalePageTest, RefreshShowsTheValuesAsFormattedAndStoresNothing) {
    params().SetUserFormat(CodeOfFormat(3, 1));
    params().SetUserFullScale(12.345F);
    params().SetUserZero(0.26F);
    page.RefreshStep();
    // The picture "  #0.0" keeps its leading blanks; the values show whole.
    EXPECT_EQ(edFS().text(), "  12.345");
    EXPECT_EQ(edZero().text(), "  0.26");
    EXPECT_FLOAT_EQ(params().UserFullScale(), 12.345F);
    EXPECT_FLOAT_EQ(params().UserZero(), 0.26F);
    EXPECT_EQ(fs().Nb(), 123);
    EXPECT_EQ(zero().Nb(), 3);
    // Writing what the edits already hold runs nothing.
    const int checks = host.changeChecks;
    page.ShowUserScaleEdits();
    EXPECT_EQ(host.changeChecks, checks);
}

TEST_F(UserScalePageTest, AFiveDecimalFormatNeverOverflowsTheDisplays) {
    // "." then five "0": five decimals, as only a calibrator can hold it.
    params().SetUserFormat(0x6AA);
    ASSERT_EQ(DecimalsOfFormat(0x6AA), 5);
    params().SetUserFullScale(99999.0F);
    params().SetUserZero(-9999.0F);
    page.RefreshStep();
    EXPECT_EQ(fs().Nb(), INT_MAX);
    EXPECT_NEAR(zero().Nb(), -999900000, 64);  // single precision
    page.ShowUserScaleDisplays();
    EXPECT_EQ(fs().Nb(), INT_MAX);
}

TEST_F(UserScalePageTest, ANotANumberFromTheCalibratorShowsAsZeroAndIsKept) {
    params().SetUserFormat(CodeOfFormat(4, 2));
    params().SetUserFullScale(5.0F);
    page.RefreshStep();
    ASSERT_EQ(fs().Nb(), 500);
    params().SetWord(4, 0x0000);
    params().SetWord(5, 0x7FC0);  // quiet NaN
    page.RefreshStep();
    EXPECT_TRUE(std::isnan(params().UserFullScale()));
    EXPECT_EQ(fs().Nb(), 0);
}

TEST(UserScaleValues, TheWholePictureAddsOnlyTheDecimalsAValueNeeds) {
    const struct {
        float value;
        std::uint16_t code;
        const char* picture;
    } cases[] = {
        {250.5F, CodeOfFormat(5, 0), "####0.0"},
        {250.0F, CodeOfFormat(5, 0), "####0."},
        {12.345F, CodeOfFormat(3, 1), "  #0.000"},
        {1.5F, CodeOfFormat(4, 2), " #0.00"},
        {0.125F, 0x0002, "     0.000"},  // a format with no point at all
    };
    for (const auto& c : cases) EXPECT_EQ(WholePicture(c.value, c.code), c.picture) << c.value;
}

TEST(UserScaleValues, DisplayNumberRoundsHalvesToEvenAndClamps) {
    EXPECT_EQ(DisplayNumber(0.125F, 2), 12);
    EXPECT_EQ(DisplayNumber(0.375F, 2), 38);
    EXPECT_EQ(DisplayNumber(-2.5F, 0), -2);
    EXPECT_EQ(DisplayNumber(1e30F, 0), INT_MAX);
    EXPECT_EQ(DisplayNumber(-1e30F, 3), INT_MIN);
    EXPECT_EQ(DisplayNumber(std::numeric_limits<float>::infinity(), 0), INT_MAX);
    EXPECT_FALSE(DisplayNumber(std::numeric_limits<float>::quiet_NaN(), 1).has_value());
}

}  // namespace
}  // namespace vadero::test
