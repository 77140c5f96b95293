// SPDX-License-Identifier: GPL-3.0-or-later
// Values and settings the game never makes but a caller can: every pass ends, in time bounded by
// the image, and what cannot be drawn is skipped.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "chart/qtcanvas.h"
#include "chart/tchartpen.h"
#include "chart/tseriesmarks.h"
#include "scorechartfixture.h"

namespace zelmo::chart {
namespace {

using testing::ScoreChart;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct OddCase {
    std::string name;
    std::array<double, 3> scores;
    bool manualLeft;  // left axis shown with the range below instead of the scores'
    double leftMin;
    double leftMax;
    int bars;  // pyramids and marks drawn: a non-finite score is not drawn
    double leftIncrement = 0;
};

TEST(OddValues, PassEndsAndSkipsWhatCannotBeDrawn) {
    const OddCase cases[] = {
        {"NaN score", {3, kNaN, 0}, false, 0, 0, 2},
        {"infinite score", {kInf, 1, 0}, false, 0, 0, 2},
        {"all NaN", {kNaN, kNaN, kNaN}, false, 0, 0, 0},
        {"far above a manual 0..1", {1e7, 1, 0}, true, 0, 1, 3},
        {"far below a manual 0..1", {-2e9, 1, 0}, true, 0, 1, 3},
        {"tiny manual range", {1, 0, 0}, true, 0, 1e-300, 3},
        {"infinite manual range", {3, 1, 0}, true, -kInf, kInf, 3},
        {"NaN manual range", {3, 1, 0}, true, kNaN, 1, 3},
        {"huge finite range", {3, 1, 0}, true, -1.7e308, 1.7e308, 3},
        {"subnormal manual increment", {3, 1, 0}, true, 0, 10, 3, 4.94e-324},
        {"tiny manual increment, huge range", {3, 1, 0}, true, -1e300, 1e300, 3, 1e-310},
    };
    for (const OddCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScoreChart s;
        for (int i = 0; i < 3; ++i) {
            s.series->SetYValue(i, c.scores[static_cast<size_t>(i)]);
        }
        if (c.manualLeft) {
            TChartAxis& left = s.chart->LeftAxis();
            left.SetVisible(true);
            left.SetAutomatic(false);
            left.SetMinimum(c.leftMin);
            left.SetMaximum(c.leftMax);
            left.SetIncrement(c.leftIncrement);
        }
        s.Pass();
        EXPECT_EQ(s.canvas.Of("DrawPyramid").size(), static_cast<size_t>(c.bars));
        EXPECT_EQ(s.canvas.Of("LineWithDepth").size(), static_cast<size_t>(c.bars));
        // The real device draws it too, large and small.
        for (const QSize size : {QSize(217, 225), QSize(1200, 900)}) {
            s.chart->resize(size);
            const QImage shown = s.Paint();
            EXPECT_EQ(shown.size(), size);
        }
    }
}

// A page size at the int limit: one page, and bars as wide as the rounding allows (the sums
// behind both overflowed int, which the sanitizer build reports).
TEST(OddValues, PageSizeAtTheIntLimit) {
    ScoreChart s({3, 1, 0});
    s.chart->SetMaxPointsPerPage(INT_MAX);
    s.Pass();
    EXPECT_EQ(s.chart->NumPages(), 1);
    EXPECT_EQ(s.series->BarWidth(), 0);
    EXPECT_EQ(s.canvas.Of("DrawPyramid").size(), 3u);
}

// Geometry billions of pixels away is clipped before it is walked; what crosses the image is
// drawn where the exact line or polygon crosses it.
TEST(OddValues, DeviceClipsFarGeometryBeforeWalking) {
    TQtChartCanvas canvas;
    canvas.BeginPaint(QSize(40, 30));
    canvas.Pen.Width = 5;
    canvas.ClipPolygon(std::array<TPoint, 3>{TPoint{INT_MIN, INT_MIN}, {INT_MAX, 0}, {0, INT_MAX}});
    canvas.Unclip();
    canvas.Rectangle2D({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    canvas.TextOut2D(INT_MAX, INT_MIN, QStringLiteral("far"));
    canvas.Brush = {clWhite, TBrushStyle::bsSolid};
    canvas.FillRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    canvas.Brush = {clRed, TBrushStyle::bsSolid};
    canvas.Pen = {};
    // A vertical line from far above to far below covers the whole column, last pixel aside.
    canvas.MoveTo(5, INT_MIN);
    canvas.LineTo(5, INT_MAX);
    // A steep line through (20, 0) and (20 + 1, 2e9): x steps once, half way.
    canvas.MoveTo(20, -2000000000);
    canvas.LineTo(22, 2000000000);
    // A wide pen along a far line stamps only where it meets the image.
    canvas.Pen.Width = 3;
    canvas.MoveTo(-2000000000, 25);
    canvas.LineTo(2000000000, 25);
    canvas.Pen.Width = 1;
    // A triangle with a far apex: its rows inside the image are filled.
    const std::array<TPoint, 3> far = {TPoint{30, 20}, {34, -2000000000}, {38, 20}};
    canvas.FillPolygon(far);
    canvas.EndPaint();
    const QImage& img = canvas.Image();
    auto at = [&](int x, int y) { return img.pixel(x, y) & 0xFFFFFFu; };
    EXPECT_EQ(at(5, 0), 0x000000u);
    EXPECT_EQ(at(5, 29), 0x000000u);
    EXPECT_EQ(at(21, 10), 0x000000u);
    EXPECT_EQ(at(20, 10), 0xFFFFFFu);
    EXPECT_EQ(at(12, 24), 0x000000u);
    EXPECT_EQ(at(12, 26), 0x000000u);
    EXPECT_EQ(at(12, 22), 0xFFFFFFu);
    EXPECT_EQ(at(34, 5), 0xFF0000u);
    EXPECT_EQ(at(34, 19), 0xFF0000u);
}

}  // namespace
}  // namespace zelmo::chart
