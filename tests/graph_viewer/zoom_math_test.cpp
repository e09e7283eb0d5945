// The arithmetic of zooming, scrolling, the readout and the printed page,
// without widgets.
#include "view/zoom_math.h"

#include <QLocale>

#include "qt_printers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vessor::graph {
namespace {

TEST(ZoomMath, ThumbMovesOfLineAndPageEvents) {
    struct Case {
        ScrollCode code;
        std::int64_t pos;
        std::optional<std::int64_t> moved;
    };
    // Range 0..1000, a line of 60, a page of 300.
    const Case cases[] = {
        {ScrollCode::LineUp, 600, 540},     {ScrollCode::LineUp, 60, 0},
        {ScrollCode::LineUp, 59, {}},       {ScrollCode::LineDown, 940, 1000},
        {ScrollCode::LineDown, 941, {}},    {ScrollCode::PageUp, 600, 300},
        {ScrollCode::PageUp, 100, 0},       {ScrollCode::PageDown, 600, 900},
        {ScrollCode::PageDown, 900, 1000},  {ScrollCode::ThumbTrack, 600, {}},
        {ScrollCode::EndScroll, 600, {}},   {ScrollCode::Other, 600, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(movedThumb(c.code, {0, 1000, c.pos}, 60, 300), c.moved)
            << int(c.code) << " from " << c.pos;
    }
}

TEST(ZoomMath, HorizontalScrollEndKeepsTheWidthInsideTheReadings) {
    struct Case {
        std::int64_t pos;
        XSpan shown;
    };
    // Readings every 60 s up to 6000 s; 1200 s on show, so xPage is 1260.
    for (const Case& c : {Case{600, {600, 1800}}, Case{0, {0, 1200}}, Case{4800, {4800, 6000}},
                          Case{5400, {4800, 6000}}, Case{-60, {0, 1200}}}) {
        EXPECT_EQ(horizontalScrollEnd(c.pos, 1260, 60, 6000), c.shown) << c.pos;
    }
    // A view as wide as all the readings stays at the start.
    EXPECT_EQ(horizontalScrollEnd(0, 6060, 60, 6000), (XSpan{0, 6000}));
}

TEST(ZoomMath, VerticalScrollEndMovesY1ByStepsAndY2InProportion) {
    ZoomRange full;
    full.y1Min = 0;
    full.y1Max = 30;
    full.y2Min = 0;
    full.y2Max = 100;
    const double step = 0.1;
    // 10 degrees and 20 %rh on show: y1Page 10.1, y2Page 20.1; the thumb travels 200 steps.
    struct Case {
        std::int64_t pos;
        double y1Min, y1Max, y2Min, y2Max;
    };
    // y2 moves by (100 - 20.1) / 200 per step of the thumb.
    for (const Case& c : {Case{0, 20, 30, 80, 100}, Case{100, 10, 20, 40.05, 60.05},
                          Case{200, 0, 10, 0.1, 20.1}, Case{250, 0, 10, 0, 20},
                          Case{-5, 20, 30, 80, 100}}) {
        const YSpan y1 = verticalScrollEndY1(c.pos, step, 10.1, full);
        const YSpan y2 = verticalScrollEndY2(c.pos, 200, step, 20.1, full);
        EXPECT_NEAR(y1.min, c.y1Min, 1e-9) << c.pos;
        EXPECT_NEAR(y1.max, c.y1Max, 1e-9) << c.pos;
        EXPECT_NEAR(y2.min, c.y2Min, 1e-9) << c.pos;
        EXPECT_NEAR(y2.max, c.y2Max, 1e-9) << c.pos;
    }
    // The bar has no travel when the zoom kept the whole y1 span: y2 keeps its
    // span at the top instead of dividing by zero.
    const YSpan still = verticalScrollEndY2(0, 0, step, 20.1, full);
    EXPECT_DOUBLE_EQ(still.max, 100);
    EXPECT_DOUBLE_EQ(still.min, 80);
    // Thumb range and position for the middle of that view.
    EXPECT_EQ(verticalThumbMax(full, 10, 20, step), 200);
    EXPECT_EQ(verticalThumbPos(full, 20, step), 100);
    EXPECT_EQ(verticalThumbMax(full, 0, 30, step), 0);
    // 9.1 degrees on show: the last thumb position brings the bottom (0) into
    // view, however the division rounds.
    EXPECT_EQ(verticalThumbMax(full, 20.9, 30, step), 209);
    EXPECT_NEAR(verticalScrollEndY1(209, step, 9.1 + step, full).min, 0, 1e-9);
}

TEST(ZoomMath, AZoomBoxIsOrderedSnappedAndClippedToTheFullView) {
    ZoomRange full{0, 6000, 0, 30, 0, 100};
    // Top-left to bottom-right and the other way round give the same zoom.
    ZoomRange down{600, 1800, 24.37, 11.52, 80.3, 40.6};
    ZoomRange up{1800, 600, 11.52, 24.37, 40.6, 80.3};
    ASSERT_TRUE(finishZoomBox(down, full, 0.1));
    ASSERT_TRUE(finishZoomBox(up, full, 0.1));
    EXPECT_EQ(down, up);
    EXPECT_EQ(down.xFrom, 600);
    EXPECT_EQ(down.xTo, 1800);
    EXPECT_NEAR(down.y1Min, 11.5, 1e-9);
    EXPECT_NEAR(down.y1Max, 24.4, 1e-9);
    EXPECT_NEAR(down.y2Min, 40.6, 1e-9); // already on a step: kept
    EXPECT_NEAR(down.y2Max, 80.3, 1e-9);

    // Corners beyond the full view are brought back into it.
    ZoomRange wide{-60, 6060, -0.04, 30.02, -1, 101};
    ASSERT_TRUE(finishZoomBox(wide, full, 0.1));
    EXPECT_EQ(wide, full);

    // Narrower than two seconds: abandoned.
    ZoomRange narrow{600, 601, 10, 20, 10, 20};
    EXPECT_FALSE(finishZoomBox(narrow, full, 0.1));
    ZoomRange two{600, 602, 10, 20, 10, 20};
    EXPECT_TRUE(finishZoomBox(two, full, 1));

    // A box without height still leaves each axis a step to draw, inside the full view.
    ZoomRange flat{600, 1800, 12, 12, 30, 30};
    ASSERT_TRUE(finishZoomBox(flat, full, 1));
    EXPECT_EQ(flat.y1Min, 12);
    EXPECT_EQ(flat.y1Max, 13);
    ZoomRange flatTop{600, 1800, 30, 30, 100, 100};
    ASSERT_TRUE(finishZoomBox(flatTop, full, 1));
    EXPECT_EQ(flatTop.y1Min, 29);
    EXPECT_EQ(flatTop.y1Max, 30);
    EXPECT_EQ(flatTop.y2Max, 100);
}

TEST(ZoomMath, ReadingUnderAnXValue) {
    struct Case {
        double x;
        std::optional<int> index;
    };
    // Readings every 300 s, the last one is index 287.
    for (const Case& c : {Case{0, 0}, Case{149.9, 0}, Case{150, 1}, Case{-200, 0}, Case{-450, {}},
                          Case{86100, 287}, Case{86250, {}}, Case{NAN, {}}}) {
        EXPECT_EQ(readingAt(c.x, 300, 287), c.index) << c.x;
    }
}

TEST(ZoomMath, ReadoutValuesLeaveOutWhatIsHiddenOrMissing) {
    struct Case {
        std::optional<double> y1, extra, y2;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {21.04, 12.91, 60.0, 1, " : 21.0\u00B0C, 12.9\u00B0C, 60.0%rh"},
        {{}, 12.91, 60.0, 1, " : 12.9\u00B0C, 60.0%rh"},
        {{}, {}, 60.0, 1, " : 60.0%rh"},
        {21.04, {}, 60.0, 1, " : 21.0\u00B0C, 60.0%rh"},
        {12.8, {}, {}, 2, " : 12.80\u00B0C"},
        {356, {}, {}, 0, " : 356\u00B0C"},
        {1234.5, {}, {}, 1, " : 1234.5\u00B0C"},
        {{}, {}, {}, 1, " : "},
    };
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const Case& c : cases) {
        ReadoutParts parts{c.y1, c.extra, c.y2, c.decimals, QString::fromUtf8("\u00B0C"), "%rh"};
        EXPECT_EQ(readoutValues(parts), QString::fromUtf8(c.text)) << c.text;
    }
    // The values read like the axis labels, in the user's language.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(readoutValues({1234.5, {}, 60.0, 1, "V", "%rh"}), " : 1234,5V, 60,0%rh");
    QLocale::setDefault(before);
}

TEST(ZoomMath, ThePrintedGraphKeepsFourToThreeAndIsCentred) {
    struct Case {
        int width, height;
        QRect area;
    };
    for (const Case& c : {Case{1200, 600, {200, 0, 800, 600}}, Case{600, 1200, {0, 375, 600, 450}},
                          Case{1024, 768, {0, 0, 1024, 768}}, Case{0, 0, {0, 0, 0, 0}}}) {
        EXPECT_EQ(printArea(c.width, c.height), c.area) << c.width << "x" << c.height;
    }
    EXPECT_DOUBLE_EQ(yStepFor(0), 1);
    EXPECT_DOUBLE_EQ(yStepFor(2), 0.01);
    EXPECT_DOUBLE_EQ(yStepFor(99), 1e-15);
}

} // namespace
} // namespace vessor::graph
