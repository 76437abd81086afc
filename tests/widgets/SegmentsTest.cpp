#include <gtest/gtest.h>
#include <QImage>
#include <QTest>
#include <QVBoxLayout>
#include <climits>
#include <string>

#include "tests/widgets/QtApp.h"
#include "widgets/SEGMENTS.h"

namespace vadero {
namespace {

const QRgb kLedBack = qRgb(0x80, 0x00, 0x00);
const QRgb kLedSeg = qRgb(0xFF, 0x00, 0x00);
const QRgb kLcdBack = qRgb(0xDF, 0xDF, 0xDF);
const QRgb kLcdSeg = qRgb(0x80, 0x80, 0x80);

// Middle of each segment a..g, relative to the cell origin.
const QPoint kMiddles[7] = {{24, 0}, {34, 10}, {30, 30}, {16, 40}, {4, 30}, {8, 10}, {20, 20}};

// The lit segments of what a cell shows; ' ' is an empty cell.
std::string SegmentsOf(char shown) {
    switch (shown) {
        case '0':
            return "abcdef";
        case '1':
            return "bc";
        case '2':
            return "abdeg";
        case '3':
            return "abcdg";
        case '4':
            return "bcfg";
        case '5':
            return "acdfg";
        case '6':
            return "acdefg";
        case '7':
            return "abc";
        case '8':
            return "abcdefg";
        case '9':
            return "abcdfg";
        case 'd':
            return "bcdeg";
        case 'E':
            return "adefg";
        case 'P':
            return "abefg";
        case '-':
            return "g";
        default:
            return "";
    }
}

class SegTest : public ::testing::Test {
  protected:
    // Before the fixture's widgets are made.
    static void SetUpTestSuite() { EnsureQtApp(); }

    QImage Grab() { return seg.grab().toImage(); }

    // Each full cell, from the left, shows the character of `cells`.
    void ExpectCells(const QImage& image, const std::string& cells, QRgb lit = kLedSeg) {
        ASSERT_EQ(static_cast<int>(cells.size()), seg.NbDigit());
        for (int k = 0; k < seg.NbDigit(); ++k) {
            const QPoint origin = TCustomSeg::CellOrigin(k, seg.HalfDigit());
            const std::string on = SegmentsOf(cells[static_cast<std::size_t>(k)]);
            for (int s = 0; s < 7; ++s) {
                const char name = static_cast<char>('a' + s);
                const bool expectLit = on.find(name) != std::string::npos;
                EXPECT_EQ(image.pixel(origin + kMiddles[s]) == lit, expectLit)
                    << "cell " << k << " segment " << name << " of '" << cells << "'";
            }
        }
    }

    // The half digit can show only its b and c; the short minus sits left of them.
    void ExpectHalfDigit(const QImage& image, bool one, bool shortMinus) {
        const QPoint origin = TCustomSeg::HalfDigitOrigin();
        EXPECT_EQ(image.pixel(origin + kMiddles[1]) == kLedSeg, one) << "half digit b";
        EXPECT_EQ(image.pixel(origin + kMiddles[2]) == kLedSeg, one) << "half digit c";
        EXPECT_EQ(image.pixel(origin + kMiddles[0]) == kLedSeg, false) << "half digit a";
        EXPECT_EQ(image.pixel(origin + kMiddles[3]) == kLedSeg, false) << "half digit d";
        EXPECT_EQ(image.pixel(12, 25) == kLedSeg, shortMinus) << "short minus";
    }

    void Show(int nbDigit, bool halfDigit, int pointDecimal, int nb) {
        seg.SetNbDigit(nbDigit);
        seg.SetHalfDigit(halfDigit);
        seg.SetPointDecimal(pointDecimal);
        seg.SetNb(nb);
    }

    TSEG seg;
};

TEST_F(SegTest, NewDisplayIsLedWithAZeroInTheRightmostOfFourCells) {
    EXPECT_EQ(seg.Style(), TStyle::LED);
    EXPECT_EQ(seg.NbDigit(), 4);
    EXPECT_FALSE(seg.HalfDigit());
    EXPECT_EQ(seg.size(), QSize(174, 52));
    const QImage image = Grab();
    EXPECT_EQ(image.pixel(0, 0), kLedBack);
    EXPECT_EQ(image.pixel(173, 51), kLedBack);
    ExpectCells(image, "   0");
    // The side segments lean right: b meets a at its top right end, not below it.
    const QPoint cell3 = TCustomSeg::CellOrigin(3, false);
    EXPECT_EQ(image.pixel(cell3 + QPoint(35, 4)), kLedSeg);
    EXPECT_EQ(image.pixel(cell3 + QPoint(36, 18)), kLedBack);
}

TEST_F(SegTest, NegativeValueWithDecimalsGetsLeadingZeroPointAndMinus) {
    Show(5, false, 2, -5);
    const QImage image = Grab();
    ExpectCells(image, " -005");
    // The point stands between cells 2 and 3, on the digits' baseline.
    EXPECT_EQ(image.pixel(124, 45), kLedSeg);
    EXPECT_EQ(image.pixel(84, 45), kLedBack);

    seg.SetStyle(TStyle::LCD);
    const QImage lcd = Grab();
    EXPECT_EQ(lcd.pixel(0, 0), kLcdBack);
    EXPECT_EQ(lcd.pixel(124, 45), kLcdSeg);
    ExpectCells(lcd, " -005", kLcdSeg);
}

TEST_F(SegTest, FiveDigitsShowTheirRangeAndDEPBeyondIt) {
    Show(5, false, 0, 99999);
    ExpectCells(Grab(), "99999");
    seg.SetNb(100000);
    ExpectCells(Grab(), "  dEP");
    seg.SetNb(-9999);
    ExpectCells(Grab(), "-9999");
    seg.SetNb(-10000);
    ExpectCells(Grab(), "  dEP");
    seg.SetNb(INT_MIN);
    ExpectCells(Grab(), "  dEP");
}

TEST_F(SegTest, TwoDigitsOutOfRangeShowOnlyTheBackground) {
    Show(2, false, 0, 100);
    const QImage image = Grab();
    ASSERT_EQ(image.size(), QSize(94, 52));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ASSERT_EQ(image.pixel(x, y), kLedBack) << x << "," << y;
        }
    }
    seg.SetNb(-9);
    ExpectCells(Grab(), "-9");
}

TEST_F(SegTest, HalfDigitShowsALeadingOneAndTheShortMinus) {
    Show(4, true, 0, 19999);
    EXPECT_EQ(seg.size(), QSize(194, 52));
    QImage image = Grab();
    ExpectCells(image, "9999");
    ExpectHalfDigit(image, true, false);

    seg.SetNb(20000);
    image = Grab();
    ExpectCells(image, " dEP");
    ExpectHalfDigit(image, false, false);

    seg.SetNb(-12345);
    image = Grab();
    ExpectCells(image, "2345");
    ExpectHalfDigit(image, true, true);

    seg.SetNb(-123);
    image = Grab();
    ExpectCells(image, "-123");
    ExpectHalfDigit(image, false, true);

    Show(3, true, 0, 1999);
    image = Grab();
    ExpectCells(image, "999");
    ExpectHalfDigit(image, true, false);
    seg.SetNb(2000);
    ExpectCells(Grab(), "dEP");
    seg.SetNb(-1999);
    image = Grab();
    ExpectCells(image, "999");
    ExpectHalfDigit(image, true, true);
}

TEST_F(SegTest, NbDigitOutsideOneToEightIsIgnoredAndSizeFollowsTheDigits) {
    seg.SetNbDigit(0);
    seg.SetNbDigit(9);
    EXPECT_EQ(seg.NbDigit(), 4);
    EXPECT_EQ(seg.size(), QSize(174, 52));
    seg.SetNbDigit(1);
    EXPECT_EQ(seg.size(), QSize(54, 52));
    seg.SetNb(7);
    ExpectCells(Grab(), "7");
    seg.SetNb(-1);  // one digit leaves no room for a minus
    ExpectCells(Grab(), " ");
    seg.SetNbDigit(5);
    EXPECT_EQ(seg.size(), QSize(214, 52));
    seg.SetHalfDigit(true);
    EXPECT_EQ(seg.size(), QSize(234, 52));
    seg.SetNbDigit(8);
    seg.SetNb(-199999999);
    const QImage image = Grab();
    ExpectCells(image, "99999999");
    ExpectHalfDigit(image, true, true);
}

TEST_F(SegTest, ResizingByOtherMeansSnapsBack) {
    QWidget parent;
    parent.resize(500, 400);
    auto* shown = new TSEG(&parent);
    shown->SetNbDigit(5);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));

    shown->resize(300, 100);
    EXPECT_EQ(shown->size(), QSize(214, 52));
    shown->setGeometry(10, 20, 30, 40);
    EXPECT_EQ(shown->geometry(), QRect(10, 20, 214, 52));
    shown->setMinimumSize(400, 90);
    shown->resize(400, 90);
    EXPECT_EQ(shown->size(), QSize(214, 52));

    // A layout that offers far more room gets the same size.
    auto* layout = new QVBoxLayout(&parent);
    auto* inLayout = new TSEG(&parent);
    layout->addWidget(inLayout);
    inLayout->show();
    layout->activate();
    EXPECT_EQ(inLayout->size(), QSize(174, 52));
}

TEST_F(SegTest, PointLeftOfTheFirstCellDoesNotHang) {
    Show(4, false, INT_MAX, 5);
    ExpectCells(Grab(), "0005");
    Show(4, false, 4, 5);
    ExpectCells(Grab(), "0005");
    Show(4, false, -3, 5);  // no point at all
    const QImage image = Grab();
    ExpectCells(image, "   5");
    for (int k = 0; k <= 4; ++k) {
        EXPECT_EQ(image.pixel(40 * k + 4, 45), kLedBack) << k;
    }
}

TEST_F(SegTest, ClicksReachTheBoundEvents) {
    int clicks = 0;
    int doubles = 0;
    int downs = 0;
    seg.OnClick = [&](QObject* sender) {
        EXPECT_EQ(sender, &seg);
        ++clicks;
    };
    seg.OnDblClick = [&](QObject*) { ++doubles; };
    seg.OnMouseDown = [&](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
        EXPECT_EQ(button, Qt::LeftButton);
        EXPECT_EQ(QPoint(x, y), QPoint(30, 20));
        ++downs;
    };
    QTest::mouseClick(&seg, Qt::LeftButton, {}, QPoint(30, 20));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, 1);
    QTest::mouseDClick(&seg, Qt::LeftButton, {}, QPoint(30, 20));
    EXPECT_EQ(doubles, 1);
}

}  // namespace
}  // namespace vadero
