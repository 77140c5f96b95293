// SPDX-License-Identifier: GPL-3.0-or-later
// Value lists and series: adding points, reading and replacing values, colours and labels.
#include <gtest/gtest.h>

#include <string>

#include "chart/tbarseries.h"
#include "chart/tseriesmarks.h"
#include "scorechartfixture.h"

namespace zelmo::chart {
namespace {

using testing::ErrorOf;
using testing::ScoreChart;

TEST(ValueList, StatisticsAreCachedUntilTheNextChange) {
    TBarSeries series;
    TChartValueList& y = series.YValues();
    EXPECT_DOUBLE_EQ(y.MaxValue(), 0);
    EXPECT_DOUBLE_EQ(y.MinValue(), 0);
    for (double v : {2.0, -3.0, 5.0, 1.0}) {
        series.Add(v);
    }
    EXPECT_TRUE(y.StatsDirty());
    EXPECT_DOUBLE_EQ(y.MaxValue(), 5);
    EXPECT_FALSE(y.StatsDirty());
    EXPECT_DOUBLE_EQ(y.MinValue(), -3);
    EXPECT_DOUBLE_EQ(y.Total(), 5);
    EXPECT_DOUBLE_EQ(y.TotalABS(), 11);
    series.SetYValue(1, 10);
    EXPECT_DOUBLE_EQ(y.MaxValue(), 10);
    EXPECT_DOUBLE_EQ(y.MinValue(), 1);
    // Every value is read through the multiplier.
    y.SetMultiplier(2);
    EXPECT_DOUBLE_EQ(y.MaxValue(), 20);
    series.SetYValue(1, 3);
    EXPECT_DOUBLE_EQ(series.GetYValue(1), 6);
}

TEST(ValueList, OrderedInsertion) {
    TBarSeries series;
    EXPECT_EQ(series.AddXY(1, 10), 0);
    EXPECT_EQ(series.AddXY(3, 30), 1);
    EXPECT_EQ(series.AddXY(2, 20), 1);  // after 1, before 3
    EXPECT_EQ(series.AddXY(0, 0), 0);   // before all
    EXPECT_EQ(series.AddXY(3, 31), 4);  // equal values keep their order
    EXPECT_DOUBLE_EQ(series.GetYValue(2), 20);
    series.XValues().SetOrder(TChartListOrder::loDescending);
    EXPECT_EQ(series.AddXY(2.5, 25), 5);  // not above the last value: appended
    EXPECT_EQ(series.AddXY(3.5, 35), 0);  // above every value: first
    series.XValues().SetOrder(TChartListOrder::loNone);
    EXPECT_EQ(series.AddXY(-1, 0), 7);
}

TEST(Series, AddAndItsHooks) {
    ScoreChart s;
    TBarSeries& series = *s.series;
    // The window's points: X = index, automatic colour = the series colour.
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(series.XValues().Value(i), i);
        EXPECT_EQ(series.PointColor(i), clRed);
    }
    EXPECT_EQ(series.PointLabel(1), QStringLiteral(u"Компьютер"));

    int after = 0;
    series.OnAfterAdd = [&](TChartSeries&) { ++after; };
    series.OnBeforeAdd = [](TChartSeries&) { return false; };
    const long requests = s.chart->RedrawRequests();
    EXPECT_EQ(series.Add(1.0, QStringLiteral("x")), -1);
    EXPECT_EQ(series.Count(), 3);
    EXPECT_EQ(after, 0);
    EXPECT_EQ(s.chart->RedrawRequests(), requests);

    series.OnBeforeAdd = [](TChartSeries&) { return true; };
    EXPECT_EQ(series.Add(1.0, QString(), 0x00FF00u), 3);
    EXPECT_EQ(after, 1);
    EXPECT_EQ(s.chart->RedrawRequests(), requests + 1);
    EXPECT_EQ(series.PointColor(3), 0x00FF00u);

    // An inactive series stores the point without a redraw; replacing a value redraws anyway.
    series.SetActive(false);
    const long inactive = s.chart->RedrawRequests();
    EXPECT_EQ(series.Add(2.0), 4);
    EXPECT_EQ(s.chart->RedrawRequests(), inactive);
    series.SetYValue(0, 5);
    EXPECT_EQ(s.chart->RedrawRequests(), inactive + 1);
}

TEST(Series, IndexOutOfBoundsChangesNothing) {
    ScoreChart s({1, 2, 3});
    const long requests = s.chart->RedrawRequests();
    for (int index : {-1, 3, 100}) {
        const std::string error = "List: List index out of bounds (" + std::to_string(index) + ")";
        EXPECT_EQ(ErrorOf([&] { s.series->SetYValue(index, 9); }), error);
        EXPECT_EQ(ErrorOf([&] { s.series->GetYValue(index); }), error);
    }
    EXPECT_EQ(s.chart->RedrawRequests(), requests);
    EXPECT_DOUBLE_EQ(s.series->GetYValue(2), 3);
}

TEST(Series, MarkTextsAndLabels) {
    TBarSeries series;
    series.Add(0);
    series.Add(3, QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"));
    series.Add(12.25, QString());
    series.Marks().SetStyle(TSeriesMarksStyle::smsValue);
    EXPECT_EQ(series.MarkText(0), QStringLiteral("0"));
    EXPECT_EQ(series.MarkText(1), QStringLiteral("3"));
    series.OnGetMarkText = [](TChartSeries&, int index, QString& text) {
        if (index == 1) {
            text.clear();
        }
    };
    EXPECT_EQ(series.MarkText(1), QString());
    // A label ends at its first NUL; an empty one is not stored.
    EXPECT_EQ(series.PointLabel(1), QStringLiteral("ab"));
    EXPECT_EQ(series.PointLabel(2), QString());
    EXPECT_TRUE(series.HasLabels());
}

}  // namespace
}  // namespace zelmo::chart
