#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QSet>
#include <QTest>
#include <QWidget>

#include "tests/widgets/QtApp.h"
#include "widgets/Bitmaps.h"
#include "widgets/Led.h"

namespace vadero {
namespace {

const QRgb kParent = qRgb(0x3A, 0x6E, 0xA5);
const QRgb kFrame = qRgb(0xC0, 0xC0, 0xC0);

class CountingLed : public Tled {
  public:
    using Tled::Tled;
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        Tled::paintEvent(event);
    }
};

class LedTest : public ::testing::Test {
  protected:
    // Before the fixture's widgets are made.
    static void SetUpTestSuite() { EnsureQtApp(); }

    void SetUp() override {
        parent.resize(64, 48);
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, QColor(kParent));
        parent.setPalette(palette);
        parent.setAutoFillBackground(true);
        led = new CountingLed(&parent);
        led->move(20, 10);
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }

    // The lamp as it shows on its parent.
    QImage Shown() { return parent.grab(led->geometry()).toImage(); }

    static QImage Picture(const QString& resource) { return QImage(resource, "BMP"); }

    QWidget parent;
    CountingLed* led = nullptr;
};

TEST_F(LedTest, PicturesShareTheFrameAndCarryTheirLampColour) {
    struct Expect {
        bool status;
        TLedKind kind;
        const char* name;
        QRgb lamp;
        QRgb absent;
    };
    const Expect pictures[] = {
        {true, TLedKind::Red, ":/LEDRON", qRgb(0xFF, 0, 0), qRgb(0, 0xFF, 0)},
        {false, TLedKind::Red, ":/LEDROFF", qRgb(0x80, 0, 0), qRgb(0xFF, 0, 0)},
        {true, TLedKind::Green, ":/LEDVON", qRgb(0, 0xFF, 0), qRgb(0xFF, 0, 0)},
        {false, TLedKind::Green, ":/LEDVOFF", qRgb(0, 0x80, 0), qRgb(0, 0xFF, 0)},
    };
    for (const Expect& e : pictures) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(Tled::ResourceName(e.status, e.kind), QString::fromLatin1(e.name));
        const QImage picture = Picture(QString::fromLatin1(e.name));
        ASSERT_EQ(picture.size(), QSize(16, 16));
        EXPECT_LE(picture.colorCount(), 16);
        EXPECT_GT(picture.colorCount(), 0);  // a palette picture
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(picture.pixel(x, 15), kFrame) << "bottom row " << x;
        }
        EXPECT_EQ(picture.pixel(0, 0), kFrame);
        EXPECT_EQ(picture.pixel(15, 0), kFrame);
        QSet<QRgb> colours;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                colours.insert(picture.pixel(x, y));
            }
        }
        EXPECT_TRUE(colours.contains(qRgb(0, 0, 0)));           // rim
        EXPECT_TRUE(colours.contains(qRgb(0x80, 0x80, 0x80)));  // bevel
        EXPECT_TRUE(colours.contains(qRgb(0xFF, 0xFF, 0xFF)));
        EXPECT_TRUE(colours.contains(e.lamp));
        EXPECT_FALSE(colours.contains(e.absent));
        EXPECT_EQ(picture.pixel(7, 7), e.lamp);  // the lamp's middle
    }
}

TEST_F(LedTest, ShowsThePictureOfItsStateAndKindWithTheParentInTheCorners) {
    for (const TLedKind kind : {TLedKind::Red, TLedKind::Green}) {
        for (const bool status : {true, false, true}) {
            led->SetKind(kind);
            led->SetLedStatus(status);
            SCOPED_TRACE(Tled::ResourceName(status, kind).toStdString());
            QImage expected(16, 16, QImage::Format_RGB32);
            expected.fill(kParent);
            {
                QPainter painter(&expected);
                painter.drawImage(0, 0,
                                  WithAutoTransparency(Picture(Tled::ResourceName(status, kind))));
            }
            const QImage shown = Shown().convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(shown, expected);
            for (const QPoint corner :
                 {QPoint(0, 0), QPoint(15, 0), QPoint(0, 15), QPoint(15, 15)}) {
                EXPECT_EQ(shown.pixel(corner), kParent);
            }
        }
    }
}

TEST_F(LedTest, SettersRepaintAtOnceOnlyWhenTheValueChanges) {
    EXPECT_FALSE(led->LedStatus());
    EXPECT_EQ(led->Kind(), TLedKind::Red);
    EXPECT_EQ(led->size(), QSize(16, 16));
    QCoreApplication::processEvents();
    led->paints = 0;

    led->SetLedStatus(false);
    led->SetKind(TLedKind::Red);
    EXPECT_EQ(led->paints, 0);

    led->SetLedStatus(true);
    EXPECT_EQ(led->paints, 1);
    led->SetLedStatus(true);
    EXPECT_EQ(led->paints, 1);
    led->SetKind(TLedKind::Green);
    EXPECT_EQ(led->paints, 2);
    led->SetKind(TLedKind::Green);
    EXPECT_EQ(led->paints, 2);
}

TEST_F(LedTest, HidingADrawnLampForgetsTheDrawingOnce) {
    led->repaint();
    EXPECT_TRUE(led->WasDrawn());
    led->hide();
    EXPECT_FALSE(led->WasDrawn());
    led->show();
    led->repaint();
    EXPECT_TRUE(led->WasDrawn());
}

TEST_F(LedTest, ClicksReachTheBoundEvents) {
    int clicks = 0;
    int doubles = 0;
    led->OnClick = [&](QObject* sender) {
        EXPECT_EQ(sender, led);
        ++clicks;
    };
    led->OnDblClick = [&](QObject*) { ++doubles; };
    QTest::mouseClick(led, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(clicks, 1);
    QTest::mouseDClick(led, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(doubles, 1);
    QTest::mouseClick(led, Qt::RightButton, {}, QPoint(8, 8));
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace vadero
