// The memories page: typed values taken when the edit is left, limited,
// stored in the calibrator's raw form and shown as stored; the start-up
// numbers and the refresh.

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

#include "app/LocaleText.h"
#include "app/NumberEntry.h"
#include "app/pages/MemoriesPage.h"
#include "calibrator/Conversions.h"
#include "tests/app/PageHarness.h"
#include "tests/app/pages/PageTestSupport.h"

namespace vadero::test {
namespace {

class MemoriesPageTest : public ::testing::Test {
  protected:
    QLineEdit& edit(int number) {
        const QByteArray name = QStringLiteral("Edit%1").arg(number).toLatin1();
        return Child<QLineEdit>(page, name.constData());
    }
    // Types into a cleared edit, as a user who selected its text first, then
    // leaves it with Enter.
    QLineEdit& type(int number, const QString& text) {
        QLineEdit& e = edit(number);
        e.clear();
        QTest::keyClicks(&e, text);
        QTest::keyClick(&e, Qt::Key_Return);
        return e;
    }
    std::uint16_t raw(int table, int index) { return host.lcx.Params().Memory(table, index); }

    LocaleScope locale;
    PageHarness host;
    MemoriesPage page{host};
};

TEST_F(MemoriesPageTest, ThreeGroupsOfEightEditsSideBySide) {
    EXPECT_EQ(page.objectName(), "TabMem");
    const char* const groups[] = {"GrMem020mA", "GrMem420mA", "GrMem010V"};
    const char* const captions[] = {"0 - 20mA", "4 - 20mA", "0 - 10V"};
    int left = -1;
    for (int t = 0; t < 3; ++t) {
        auto& group = Child<QGroupBox>(page, groups[t]);
        EXPECT_EQ(group.title(), captions[t]);
        EXPECT_GT(group.x(), left);
        left = group.geometry().right();
        int top = -1;
        for (int i = 1; i <= 8; ++i) {
            QLineEdit& e = edit(t * 8 + i);
            EXPECT_EQ(e.parentWidget(), &group);
            EXPECT_GT(e.y(), top);
            top = e.geometry().bottom();
        }
        EXPECT_LE(group.geometry().bottom(), 297);
    }
    EXPECT_LE(left, 425);
}

TEST_F(MemoriesPageTest, ATakenValueIsLimitedAndShownAsStored) {
    const struct {
        int number;  // Edit1..24
        const char* typed;
        const char* shown;
        std::uint16_t raw;
        const char* status;  // nothing said: ""
    } cases[] = {
        {1, "25", "22.000", 30800, "25 mA limité à 22.000 mA"},
        {2, "-1", "0.000", 0, "-1 mA limité à 0.000 mA"},
        {3, "5", "5.000", 7000, ""},
        {4, "1.2", "1.200", 1680, ""},
        {5, " 12,5 ", "12.500", 17500, ""},
        {6, "1.5e1", "15.000", 21000, ""},
        {24, "12", "11.000", 30800, "12 V limité à 11.000 V"},  // 0 - 10V holds up to 11 V
        // At the limits a value is taken as typed; past them, limited.
        {7, "22", "22.000", 30800, ""},
        {8, "22.001", "22.000", 30800, "22.001 mA limité à 22.000 mA"},
        {23, "11", "11.000", 30800, ""},
        {22, "11.0004", "11.000", 30800, "11.0004 V limité à 11.000 V"},
        {21, "0", "0.000", 0, ""},
        {20, "-0.001", "0.000", 0, "-0.001 V limité à 0.000 V"},
        // The raw step is finer than the shown decimals: the value sent is
        // the one shown, 3.333 V, not the 3.3333 V typed.
        {17, "3.3333", "3.333", 9332, "3.3333 V arrondi à 3.333 V"},
        // A 4-20 mA memory is in mA, down to 0 mA.
        {9, "0", "0.000", 0, ""},
        {10, "12", "12.000", 16800, ""},
    };
    for (const auto& c : cases) {
        host.status.clear();
        const int table = (c.number - 1) / 8;
        const int index = (c.number - 1) % 8 + 1;
        EXPECT_EQ(type(c.number, c.typed).text(), c.shown) << c.typed;
        EXPECT_EQ(raw(table, index), c.raw) << c.typed;
        EXPECT_EQ(host.status, c.status) << c.typed;
    }
}

TEST_F(MemoriesPageTest, ATextThatIsNoNumberIsRefusedAndChangesNothing) {
    host.lcx.Params().SetMemory(0, 2, 16800);
    page.ShowMemories();
    for (const char* typed : {"abc", "-", "5.5.5", "1,5.3", "12a", "1e", ""}) {
        host.changed = false;
        EXPECT_EQ(type(2, typed).text(), "12.000") << typed;
        EXPECT_EQ(raw(0, 2), 16800) << typed;
        EXPECT_FALSE(host.changed) << typed;
    }
    type(2, "abc");
    EXPECT_EQ(host.status, "Valeur non numérique : « abc », la mémoire 2 garde 12.000 mA");
    type(2, "");
    EXPECT_EQ(host.status, "Aucune valeur : la mémoire 2 garde 12.000 mA");
}

TEST_F(MemoriesPageTest, OnlyAChangedValueChecksChangement) {
    host.lcx.Params().SetMemory(0, 3, 16800);
    page.ShowMemories();
    type(3, "12");  // what it holds
    type(3, "12,000");
    EXPECT_FALSE(host.changed);
    type(3, "12.001");
    EXPECT_TRUE(host.changed);
}

TEST_F(MemoriesPageTest, StartUpNumbersAreStoredAndCheckChangement) {
    page.FillStartNumbers();
    for (int t = 0; t < 3; ++t) {
        for (int i = 1; i <= 8; ++i) {
            EXPECT_EQ(edit(t * 8 + i).text(), ShowNumber(i - 1, "#0.000"));
            EXPECT_FLOAT_EQ(host.lcx.GetMemory(TValueUnit::uPhysical, t, i), i - 1.0F);
        }
    }
    EXPECT_EQ(raw(2, 8), 19600);  // 7 V
    EXPECT_TRUE(host.changed);
}

TEST_F(MemoriesPageTest, RefreshShowsThreeDecimalsAndRewritingTheSameTextRunsNothing) {
    for (int t = 0; t < 3; ++t) {
        for (int i = 1; i <= 8; ++i) host.lcx.Params().SetMemory(t, i, 2800 * i);
    }
    page.ShowMemories();
    EXPECT_EQ(edit(1).text(), "2.000");
    EXPECT_EQ(edit(9).text(), "2.000");
    EXPECT_EQ(edit(17).text(), "1.000");
    EXPECT_EQ(edit(24).text(), "8.000");
    EXPECT_EQ(raw(1, 8), 22400);
    const int checks = host.changeChecks;
    page.ShowMemories();
    EXPECT_EQ(host.changeChecks, checks);
}

TEST_F(MemoriesPageTest, EveryValueOfThreeDecimalsIsSentAsShown) {
    // Typed and taken, each value shows as typed and is stored as the raw
    // count it converts to: what is shown is what a write sends, and typing
    // the shown text again changes nothing.
    for (int number : {1, 17}) {
        const int table = number == 1 ? 0 : 2;
        const int top = number == 1 ? 22000 : 11000;
        NumberEntry& e = static_cast<NumberEntry&>(edit(number));
        for (int k = 0; k <= top; ++k) {
            const QString text = ShowNumber(k / 1000.0, "#0.000");
            e.setText(text);
            e.Take();
            ASSERT_EQ(e.text(), text);
            const float value = host.lcx.GetMemory(TValueUnit::uPhysical, table, 1);
            ASSERT_EQ(ShowNumber(value, "#0.000"), text);
            ASSERT_EQ(raw(table, 1), ValueToRaw(TValueUnit::uPhysical, table,
                                                static_cast<float>(k / 1000.0), UserScale{}));
        }
    }
}

TEST_F(MemoriesPageTest, KeyByKeyNothingIsStoredUntilTheEditIsLeft) {
    host.lcx.Params().SetMemory(0, 1, 16800);
    page.ShowMemories();
    QLineEdit& e = edit(1);
    e.selectAll();
    QTest::keyClicks(&e, "1.25");
    EXPECT_EQ(e.text(), "1.25");
    EXPECT_EQ(raw(0, 1), 16800);
    EXPECT_FALSE(host.changed);
    QTest::keyClick(&e, Qt::Key_Return);
    EXPECT_EQ(e.text(), "1.250");
    EXPECT_EQ(raw(0, 1), 1750);
    EXPECT_TRUE(host.changed);
    // Escape gives back what the edit held.
    QTest::keyClicks(&e, "9");
    QTest::keyClick(&e, Qt::Key_Escape);
    EXPECT_EQ(e.text(), "1.250");
    EXPECT_EQ(raw(0, 1), 1750);
}

TEST_F(MemoriesPageTest, TheLocalesDecimalSeparatorIsShownAndEitherIsTyped) {
    const LocaleScope french{QLocale(QLocale::French, QLocale::France)};
    EXPECT_EQ(type(6, "1,2").text(), "1,200");
    EXPECT_EQ(raw(0, 6), 1680);
    EXPECT_EQ(type(7, "1.5").text(), "1,500");
    EXPECT_EQ(raw(0, 7), 2100);
}

}  // namespace
}  // namespace vadero::test
