// The memories page: typed values stored in the calibrator's raw form and
// shown back when the conversion changed them, the start-up numbers and the
// refresh.

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

#include "app/LocaleText.h"
#include "app/pages/MemoriesPage.h"
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

TEST_F(MemoriesPageTest, TypedValuesAreReplacedByWhatIsStored) {
    EXPECT_EQ(type(1, "25").text(), "22.000");
    EXPECT_EQ(raw(0, 1), 30800);
    EXPECT_EQ(type(2, "-1").text(), "0.000");
    EXPECT_EQ(raw(0, 2), 0);
    EXPECT_EQ(type(3, "5").text(), "5");  // stored exactly
    EXPECT_EQ(raw(0, 3), 7000);
    EXPECT_EQ(type(4, "1.2").text(), "1.200");
    EXPECT_EQ(raw(0, 4), 1680);
    EXPECT_EQ(type(24, "12").text(), "11.000");  // 0 - 10V holds up to 11 V
    EXPECT_EQ(raw(2, 8), 30800);
    // At the limits a value is kept as typed; one raw step past, limited.
    EXPECT_EQ(type(5, "22").text(), "22");
    EXPECT_EQ(raw(0, 5), 30800);
    EXPECT_EQ(type(6, "22.001").text(), "22.000");
    EXPECT_EQ(type(23, "11").text(), "11");
    EXPECT_EQ(type(22, "11.0004").text(), "11.000");
    EXPECT_EQ(raw(2, 6), 30800);
}

TEST_F(MemoriesPageTest, AFourToTwentyMemoryTakesMilliampsDownToZero) {
    EXPECT_EQ(type(9, "0").text(), "0");
    EXPECT_EQ(raw(1, 1), 0);
    EXPECT_EQ(type(10, "12").text(), "12");
    EXPECT_EQ(raw(1, 2), 16800);
}

TEST_F(MemoriesPageTest, PartialInputIsKeptAndStoresNothingButChecksChangement) {
    host.lcx.Params().SetMemory(0, 5, 1234);
    edit(5).setText("1");
    const int before = host.changeChecks;
    host.lcx.Params().SetMemory(0, 5, 1234);
    edit(5).setText("-");
    EXPECT_EQ(edit(5).text(), "-");
    EXPECT_EQ(raw(0, 5), 1234);
    EXPECT_EQ(host.changeChecks, before + 1);
    edit(5).setText("-x");
    EXPECT_EQ(edit(5).text(), "-x");
    EXPECT_EQ(raw(0, 5), 1234);
    EXPECT_EQ(host.changeChecks, before + 2);
}

TEST_F(MemoriesPageTest, AnEmptiedEditStoresZero) {
    edit(20).setText("3");
    ASSERT_EQ(raw(2, 4), 8400);
    edit(20).clear();
    EXPECT_EQ(raw(2, 4), 0);
    EXPECT_EQ(edit(20).text(), "");
}

TEST_F(MemoriesPageTest, StartUpNumbersAreStoredAndCheckChangement) {
    page.FillStartNumbers();
    for (int t = 0; t < 3; ++t) {
        for (int i = 1; i <= 8; ++i) {
            EXPECT_EQ(edit(t * 8 + i).text(), QString::number(i - 1));
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

TEST_F(MemoriesPageTest, EveryRawValueSettlesOnAStableTextWithinOneStep) {
    // A refresh re-stores each shown value; the rewrite must settle, and the
    // stored value may move by at most one raw step.
    for (int number : {1, 17}) {
        const int table = number == 1 ? 0 : 2;
        for (int r = 0; r <= 30800; ++r) {
            host.lcx.Params().SetMemory(table, 1, static_cast<std::uint16_t>(r));
            const float value = host.lcx.GetMemory(TValueUnit::uPhysical, table, 1);
            WriteText(edit(number), ShowNumber(value, "#0.000"));
            emit edit(number).editingFinished();
            const int stored = raw(table, 1);
            ASSERT_LE(std::abs(stored - r), 1) << "raw " << r;
            const float shown = host.lcx.GetMemory(TValueUnit::uPhysical, table, 1);
            const QString text = edit(number).text();
            ASSERT_TRUE(text == ShowNumber(shown, "#0.000") || ReadNumber(text) == shown)
                << "raw " << r << " shows " << text.toStdString();
        }
    }
}

TEST_F(MemoriesPageTest, KeyByKeyTheEditKeepsWhatIsTypedUntilLeft) {
    // Each prefix is stored as it comes; "1.2" rewritten as "1.200" would
    // have turned the next key into "1.2005".
    const struct {
        int number;
        const char* keys;
        int table, index;
        std::uint16_t raw;
        const char* left;  // the text once the edit is left
    } cases[] = {{1, "1.25", 0, 1, 1750, "1.25"},
                 {2, "25", 0, 2, 30800, "22.000"},
                 {17, "3.3333", 2, 1, 9333, "3.333"}};
    for (const auto& c : cases) {
        QLineEdit& e = edit(c.number);
        e.clear();
        QTest::keyClicks(&e, c.keys);
        EXPECT_EQ(e.text(), c.keys);
        EXPECT_EQ(raw(c.table, c.index), c.raw) << c.keys;
        QTest::keyClick(&e, Qt::Key_Return);
        EXPECT_EQ(e.text(), c.left);
        EXPECT_EQ(raw(c.table, c.index), c.raw) << c.keys;
    }
}

TEST_F(MemoriesPageTest, TheLocalesDecimalSeparatorIsTypedAndShown) {
    const LocaleScope french{QLocale(QLocale::French, QLocale::France)};
    EXPECT_EQ(type(6, "1,2").text(), "1,200");
    EXPECT_EQ(raw(0, 6), 1680);
    EXPECT_EQ(type(7, "1.2").text(), "1.2");  // "." is no separator here: kept, not stored
    EXPECT_EQ(raw(0, 7), 1400);
}

}  // namespace
}  // namespace vadero::test
