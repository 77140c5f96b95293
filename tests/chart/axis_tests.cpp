// SPDX-License-Identifier: GPL-3.0-or-later
// Axes: value ranges with paging, the mapping between values and pixels, visibility and the
// label increment.
#include <gtest/gtest.h>

#include "scorechartfixture.h"

namespace zelmo::chart {
namespace {

using testing::ScoreChart;

TEST(AxisRange, PagingOfFourPointsPerPage) {
    ScoreChart s({3, 1, 0});
    TChart& chart = *s.chart;
    TChartAxis& bottom = chart.BottomAxis();
    auto range = [&] {
        s.Pass();
        return std::pair{bottom.Minimum(), bottom.Maximum()};
    };
    EXPECT_EQ(chart.NumPages(), 1);
    chart.SetPage(2);
    EXPECT_EQ(chart.Page(), 1);
    EXPECT_EQ(range(), std::pair(0.0, 2.0));
    // A short last page keeps the spacing of a full one when it is not to be stretched.
    chart.SetScaleLastPage(false);
    EXPECT_EQ(range(), std::pair(0.0, 8.0 / 3));
    // The vertical axis is not paged: it spans the scores.
    EXPECT_EQ(std::pair(chart.LeftAxis().Minimum(), chart.LeftAxis().Maximum()),
              std::pair(0.0, 3.0));

    chart.SetScaleLastPage(true);
    for (int i = 0; i < 6; ++i) {
        s.series->Add(i);
    }
    EXPECT_EQ(chart.NumPages(), 3);
    chart.SetPage(2);
    EXPECT_EQ(range(), std::pair(4.0, 7.0));
    chart.SetPage(3);
    EXPECT_EQ(range(), std::pair(8.0, 8.0));
    chart.SetPage(9);
    EXPECT_EQ(chart.Page(), 3);
    chart.SetPage(0);
    EXPECT_EQ(chart.Page(), 1);

    int changes = 0;
    chart.OnPageChange = [&] { ++changes; };
    chart.SetPage(3);
    chart.SetMaxPointsPerPage(8);  // two pages now: the page follows
    EXPECT_EQ(chart.Page(), 2);
    EXPECT_EQ(changes, 2);
    chart.SetMaxPointsPerPage(0);
    EXPECT_EQ(chart.NumPages(), 1);
    EXPECT_EQ(chart.Page(), 1);
    EXPECT_EQ(range(), std::pair(0.0, 8.0));
}

TEST(AxisMapping, DegenerateScalesAndExtents) {
    ScoreChart s;
    s.Pass();
    TChartAxis& left = s.chart->LeftAxis();
    // All scores equal: no range, every value maps to the centre.
    EXPECT_EQ(left.ValueToPixel(0), left.AxisCenter());
    EXPECT_EQ(left.ValueToPixel(1e9), left.AxisCenter());
    // A mapping beyond the 32-bit range falls back to the centre as well.
    TChartAxis& bottom = s.chart->BottomAxis();
    EXPECT_EQ(bottom.ValueToPixel(1e300), bottom.AxisCenter());
    EXPECT_EQ(bottom.ValueToPixel(-1e300), bottom.AxisCenter());
    // Pixel to value is the inverse of the mapping along the axis.
    EXPECT_NEAR(bottom.PixelToValue(bottom.ValueToPixel(1)), 1, 0.02);
    EXPECT_DOUBLE_EQ(bottom.PixelToValue(bottom.AxisStart()), bottom.ScaleMin());
    // An axis shorter than a pixel gives 0.
    TChartAxis& top = s.chart->TopAxis();
    top.SetEndPosition(0);
    s.Pass();
    EXPECT_EQ(top.AxisLength(), 0);
    EXPECT_DOUBLE_EQ(top.PixelToValue(50), 0);
}

TEST(AxisMapping, InvertedAxesRunTheOtherWay) {
    ScoreChart s({3, 1, 0});
    s.chart->BottomAxis().SetInverted(true);
    s.chart->LeftAxis().SetInverted(true);
    s.Pass();
    EXPECT_EQ(s.chart->BottomAxis().ValueToPixel(0), 173);
    EXPECT_EQ(s.chart->BottomAxis().ValueToPixel(2), 37);
    EXPECT_EQ(s.chart->LeftAxis().ValueToPixel(0), s.chart->PlotRect().Top);
    // The bars are drawn from the last point to the first, the marks in point order.
    const auto pyramids = s.canvas.Args("DrawPyramid");
    ASSERT_EQ(pyramids.size(), 3u);
    EXPECT_EQ(pyramids[0][1], 24);
    EXPECT_EQ(pyramids[2][1], 160);
    const auto arrows = s.canvas.Args("LineWithDepth");
    ASSERT_EQ(arrows.size(), 3u);
    EXPECT_EQ(arrows[0][0], 173);
    EXPECT_EQ(arrows[2][0], 37);
}

TEST(AxisVisibility, HiddenAxesTakeNoRoomButStillMap) {
    ScoreChart s({3, 1, 0});
    s.chart->LeftAxis().SetVisible(true);
    s.Pass();
    EXPECT_TRUE(s.chart->LeftAxis().IsVisible());
    EXPECT_GT(s.chart->PlotRect().Left, 11) << "the left axis takes its labels' width";

    s.chart->LeftAxis().SetVisible(false);
    s.chart->SetAxisVisible(false);
    s.Pass();
    EXPECT_FALSE(s.chart->BottomAxis().IsVisible());
    EXPECT_EQ(s.chart->PlotRect().Bottom, 221);
    EXPECT_TRUE(s.canvas.Of("TextAtDepth").empty());
    EXPECT_EQ(s.canvas.Of("DrawPyramid").size(), 3u);

    // An axis no active series uses is hidden.
    s.chart->SetAxisVisible(true);
    s.series->SetActive(false);
    s.Pass();
    EXPECT_FALSE(s.chart->BottomAxis().IsVisible());
    EXPECT_TRUE(s.canvas.Of("DrawPyramid").empty());
}

TEST(AxisIncrement, StepsGrowUntilTheLabelsFit) {
    ScoreChart s({3, 1, 0});
    s.Pass();
    EXPECT_DOUBLE_EQ(s.chart->BottomAxis().IncrementOfPass(), 1);
    // Labels 100 pixels wide on a 188-pixel axis: only 2 fit and the step becomes 2.
    s.canvas.TextWidth = [](const TFontData&, const QString&) { return 100; };
    s.Pass();
    EXPECT_DOUBLE_EQ(s.chart->BottomAxis().IncrementOfPass(), 2);
    s.chart->BottomAxis().SetIncrement(5);
    s.Pass();
    EXPECT_DOUBLE_EQ(s.chart->BottomAxis().IncrementOfPass(), 5);
}

}  // namespace
}  // namespace zelmo::chart
