// Property setters: invalid values raise the chart's errors and keep the old value; a value
// equal to the current one requests no redraw, a different one requests exactly one.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "chart/chartexceptions.h"
#include "chart/tseriesmarks.h"
#include "scorechartfixture.h"

namespace zelmo::chart {
namespace {

using testing::ScoreChart;

template <typename E>
void ExpectError(const std::function<void()>& set, const std::string& message) {
    try {
        set();
        ADD_FAILURE() << "no error, expected: " << message;
    } catch (const E& e) {
        EXPECT_EQ(std::string(e.what()), message);
    }
}

TEST(Properties, InvalidValuesRaiseAndKeepTheOldValue) {
    ScoreChart s;
    TChart& chart = *s.chart;
    const long requests = chart.RedrawRequests();

    ExpectError<ChartException>([&] { chart.SetChart3DPercent(0); },
                                "3D effect percent must be between 1 and 100");
    ExpectError<ChartException>([&] { chart.SetChart3DPercent(101); },
                                "3D effect percent must be between 1 and 100");
    EXPECT_EQ(chart.Chart3DPercent(), 15);

    ExpectError<ChartException>([&] { chart.SetMaxPointsPerPage(-1); },
                                "MaxPointsPerPage must be >= 0");
    EXPECT_EQ(chart.MaxPointsPerPage(), 4);

    ExpectError<ChartException>([&] { chart.BottomAxis().Title().SetAngle(361); },
                                "Axis Title Angle must be between 0 and 359 degrees");
    ExpectError<ChartException>([&] { chart.BottomAxis().Title().SetAngle(-1); },
                                "Axis Title Angle must be between 0 and 359 degrees");
    EXPECT_EQ(chart.BottomAxis().Title().Angle(), 360);

    ExpectError<AxisException>([&] { chart.BottomAxis().SetLabelsSeparation(-1); },
                               "Labels Separation % must be greater than 0");
    EXPECT_EQ(chart.BottomAxis().LabelsSeparation(), 10);

    ExpectError<BarException>([&] { s.series->SetBarWidthPercent(0); },
                              "Bar Width Percent must be between 1 and 100");
    ExpectError<BarException>([&] { s.series->SetBarWidthPercent(101); },
                              "Bar Width Percent must be between 1 and 100");
    EXPECT_EQ(s.series->BarWidthPercent(), 70);
    ExpectError<BarException>([&] { s.series->SetOffsetPercent(-101); },
                              "Bar Offset Percent must be between -100% and 100%");
    ExpectError<BarException>([&] { s.series->SetOffsetPercent(101); },
                              "Bar Offset Percent must be between -100% and 100%");
    EXPECT_EQ(s.series->OffsetPercent(), 0);

    EXPECT_EQ(chart.RedrawRequests(), requests);

    // The edges of the ranges are accepted.
    chart.SetChart3DPercent(100);
    chart.SetChart3DPercent(1);
    chart.BottomAxis().Title().SetAngle(0);
    chart.BottomAxis().SetLabelsSeparation(0);
    s.series->SetBarWidthPercent(1);
    s.series->SetOffsetPercent(-100);
    chart.SetMaxPointsPerPage(0);
    EXPECT_EQ(chart.RedrawRequests(), requests + 7);
}

TEST(Properties, SameValueRequestsNoRedraw) {
    ScoreChart s;
    TChart& chart = *s.chart;
    TChartAxis& axis = chart.BottomAxis();
    TBarSeries& series = *s.series;

    // Each setter applied with the current value, then with a different one.
    const std::vector<std::pair<std::function<void()>, std::function<void()>>> setters = {
        {[&] { chart.SetMarginLeft(5); }, [&] { chart.SetMarginLeft(6); }},
        {[&] { chart.SetView3D(true); }, [&] { chart.SetView3D(false); }},
        {[&] { chart.SetChart3DPercent(15); }, [&] { chart.SetChart3DPercent(16); }},
        {[&] { chart.SetColor(clBtnFace); }, [&] { chart.SetColor(clWhite); }},
        {[&] { chart.SetPage(1); }, [&] { chart.SetScaleLastPage(false); }},
        {[&] { chart.View3DOptions().SetZoom(100); }, [&] { chart.View3DOptions().SetZoom(90); }},
        {[&] { chart.Title().SetText(QStringList{QStringLiteral(u"Счёт")}); },
         [&] { chart.Title().SetText(QStringLiteral("x")); }},
        {[&] { chart.Title().SetVisible(true); }, [&] { chart.Title().SetVisible(false); }},
        {[&] { axis.SetLabelStyle(TAxisLabelStyle::talText); },
         [&] { axis.SetLabelStyle(TAxisLabelStyle::talValue); }},
        {[&] { axis.SetTickLength(4); }, [&] { axis.SetTickLength(5); }},
        {[&] { axis.Grid().SetStyle(TPenStyle::psDot); },
         [&] { axis.Grid().SetStyle(TPenStyle::psSolid); }},
        {[&] { axis.Title().SetAngle(360); }, [&] { axis.Title().SetAngle(0); }},
        {[&] { axis.SetLabelsFont(DefaultChartFont()); },
         [&] {
             axis.SetLabelsFont(TFontData{QStringLiteral("Arial"), -13});
         }},
        {[&] { series.SetSeriesColor(clRed); }, [&] { series.SetSeriesColor(clBlue); }},
        {[&] { series.SetBarStyle(TBarStyle::bsPyramid); },
         [&] { series.SetBarStyle(TBarStyle::bsRectangle); }},
        {[&] { series.BarPen().SetWidth(1); }, [&] { series.BarPen().SetWidth(2); }},
        {[&] { series.Marks().SetArrowLength(20); }, [&] { series.Marks().SetArrowLength(8); }},
        {[&] { series.Marks().Frame().SetVisible(true); },
         [&] { series.Marks().Frame().SetVisible(false); }},
    };
    int i = 0;
    for (const auto& [same, different] : setters) {
        const long before = chart.RedrawRequests();
        same();
        EXPECT_EQ(chart.RedrawRequests(), before) << "setter " << i;
        different();
        EXPECT_EQ(chart.RedrawRequests(), before + 1) << "setter " << i;
        ++i;
    }
}

TEST(Properties, ClassDefaultsOfTheElements) {
    TChart chart;
    EXPECT_EQ(chart.MarginLeft(), 3);
    EXPECT_EQ(chart.MarginTop(), 4);
    EXPECT_EQ(chart.BevelOuter(), TPanelBevel::bvRaised);
    EXPECT_EQ(chart.Color(), clBtnFace);
    EXPECT_EQ(chart.Chart3DPercent(), 15);
    EXPECT_TRUE(chart.View3D());
    EXPECT_TRUE(chart.View3DWalls());
    EXPECT_EQ(chart.MaxPointsPerPage(), 0);
    EXPECT_EQ(chart.Title().Font().Color, clBlue);
    EXPECT_EQ(chart.Foot().Alignment(), TAlignment::taRightJustify);

    const auto& axes = chart.AxesList();
    ASSERT_EQ(axes.size(), 5u);
    EXPECT_EQ(axes[0], &chart.BottomAxis());
    EXPECT_EQ(axes[1], &chart.TopAxis());
    EXPECT_EQ(axes[2], &chart.LeftAxis());
    EXPECT_EQ(axes[3], &chart.RightAxis());
    EXPECT_EQ(axes[4], &chart.DepthAxis());
    TChartAxis& a = chart.BottomAxis();
    EXPECT_EQ(a.Axis().Width(), 2);
    EXPECT_EQ(a.Ticks().Color(), clGray);
    EXPECT_EQ(a.Grid().Style(), TPenStyle::psDot);
    EXPECT_FALSE(a.MinorGrid().Visible());
    EXPECT_EQ(a.TickLength(), 4);
    EXPECT_EQ(a.MinorTickLength(), 2);
    EXPECT_EQ(a.MinorTickCount(), 3);
    EXPECT_EQ(a.LabelsSeparation(), 10);
    EXPECT_EQ(a.AxisValuesFormat(), QStringLiteral("#,##0.###"));
    EXPECT_EQ(a.LabelsFont().Name, QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(a.EndPosition(), 100);
    EXPECT_EQ(chart.LeftAxis().Title().Angle(), 90);
    EXPECT_EQ(chart.RightAxis().Title().Angle(), 270);
    EXPECT_FALSE(chart.DepthAxis().Visible());

    TBarSeries bars;
    EXPECT_EQ(bars.BarStyle(), TBarStyle::bsRectangle);
    EXPECT_EQ(bars.MultiBar(), TMultiBar::mbSide);
    EXPECT_TRUE(bars.UseYOrigin());
    EXPECT_EQ(bars.BarWidthPercent(), 70);
    EXPECT_TRUE(bars.Marks().Visible());
    EXPECT_EQ(bars.Marks().ArrowLength(), 20);
    EXPECT_EQ(bars.Marks().BackColor(), 0x0080FFFFu);
    EXPECT_EQ(bars.Marks().Arrow().Color(), clWhite);
    EXPECT_EQ(bars.YValues().Order(), TChartListOrder::loNone);
    EXPECT_EQ(bars.XValues().Order(), TChartListOrder::loAscending);
    EXPECT_EQ(bars.ValueFormat(), QStringLiteral("#,##0.###"));
}

}  // namespace
}  // namespace zelmo::chart
