#include "widgets/MyCanvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "tests/widgets/QtApp.h"

namespace vadero {
namespace {

const ClipBox kRect{0, 0, 100, 80};

TEST(MyCanvasTest, OutCodeFlagsEachEdgeOutsideTheInclusiveRectangle) {
    EXPECT_EQ(OutCode(kRect, 0, 0), 0);
    EXPECT_EQ(OutCode(kRect, 100, 80), 0);
    EXPECT_EQ(OutCode(kRect, -1, 40), kOutLeft);
    EXPECT_EQ(OutCode(kRect, 50, -1), kOutTop);
    EXPECT_EQ(OutCode(kRect, 101, 40), kOutRight);
    EXPECT_EQ(OutCode(kRect, 50, 81), kOutBottom);
    EXPECT_EQ(OutCode(kRect, -5, 90), kOutLeft | kOutBottom);
    EXPECT_EQ(OutCode(kRect, 200, -3), kOutRight | kOutTop);
}

TEST(MyCanvasTest, SegmentsAreCutWhereTheyCrossTheEdges) {
    // Entirely left of the rectangle, or passing outside a corner: nothing.
    EXPECT_FALSE(ClipSegment(kRect, {-50, 10, -5, 70}));
    EXPECT_FALSE(ClipSegment(kRect, {-20, 10, 10, -20}));
    // Inside: unchanged.
    EXPECT_EQ(ClipSegment(kRect, {10, 10, 90, 70}), (LineSegment{10, 10, 90, 70}));
    // Crossing from left to right: cut at both edges, direction kept.
    EXPECT_EQ(ClipSegment(kRect, {-50, 40, 150, 40}), (LineSegment{0, 40, 100, 40}));
    EXPECT_EQ(ClipSegment(kRect, {150, 20, -50, 60}), (LineSegment{100, 30, 0, 50}));
    // Vertical from above into the rectangle: only the top is cut.
    EXPECT_EQ(ClipSegment(kRect, {30, -40, 30, 60}), (LineSegment{30, 0, 30, 60}));
    // Through a corner region: both flagged edges are handled, the end
    // settles on the left edge.
    EXPECT_EQ(ClipSegment(kRect, {-10, -10, 50, 100}), (LineSegment{0, 7, 39, 80}));
}

TEST(MyCanvasTest, EndsFarOutsideDoNotOverflow) {
    const auto s = ClipSegment(kRect, {-2000000000, 40, 2000000000, 40});
    ASSERT_TRUE(s);
    EXPECT_EQ(*s, (LineSegment{0, 40, 100, 40}));
}

class ClippedLinesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureQtApp();
        image_.fill(Qt::white);
        lines_.ClipRect = {10, 10, 29, 29};
    }
    bool Black(int x, int y) const { return image_.pixel(x, y) == qRgb(0, 0, 0); }
    int BlackCount() const {
        int n = 0;
        for (int y = 0; y < image_.height(); ++y)
            for (int x = 0; x < image_.width(); ++x) n += Black(x, y) ? 1 : 0;
        return n;
    }

    QImage image_{40, 40, QImage::Format_RGB32};
    ClippedLines lines_;
};

TEST_F(ClippedLinesTest, DrawsOnlyTheVisiblePartAndMovesOnFromTheUnclippedEnd) {
    {
        QPainter canvas(&image_);
        canvas.setPen(QPen(Qt::black, 1));
        lines_.ClipMoveTo(0, 20);
        lines_.ClipLineTo(canvas, 5, 20);   // left of the rectangle: nothing
        lines_.ClipLineTo(canvas, 39, 20);  // from (5, 20), not from a clipped point
    }
    EXPECT_FALSE(Black(9, 20));
    EXPECT_TRUE(Black(10, 20));
    EXPECT_TRUE(Black(29, 20));
    EXPECT_FALSE(Black(30, 20));
    EXPECT_EQ(BlackCount(), 20);  // both ends of the visible part, nothing else
}

}  // namespace
}  // namespace vadero
