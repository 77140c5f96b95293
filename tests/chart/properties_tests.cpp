// SPDX-License-Identifier: GPL-3.0-or-later
// Property setters: invalid values raise the chart's errors and keep the old value; a value
// equal to the current one requests no redraw, a different one requests exactly one.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "chart/tseriesmarks.h"
#include "scorechartfixture.h"

namespace zelmo::chart {
namespace {

using testing::ErrorOf;
using testing::ScoreChart;

// Each property with values just outside its range and the accepted edges of the range.
TEST(Properties, InvalidValuesRaiseAndKeepTheOldValue) {
    ScoreChart s;
    TChart& chart = *s.chart;
    TBarSeries& bars = *s.series;
    TChartAxis& axis = chart.BottomAxis();
    auto check = [&](const std::function<void(int)>& set, const std::function<int()>& get,
                     std::initializer_list<int> bad, std::initializer_list<int> edges,
                     const std::string& error) {
        const int old = get();
        for (int v : bad) {
            const long before = chart.RedrawRequests();
            EXPECT_EQ(ErrorOf([&] { set(v); }), error) << v;
            EXPECT_EQ(get(), old) << error;
            EXPECT_EQ(chart.RedrawRequests(), before) << error;
        }
        for (int v : edges) {
            EXPECT_EQ(ErrorOf([&] { set(v); }), "none") << v;
            EXPECT_EQ(get(), v) << error;
        }
        set(old);
    };
    check([&](int v) { chart.SetChart3DPercent(v); }, [&] { return chart.Chart3DPercent(); },
          {0, 101}, {1, 100}, "Chart: 3D effect percent must be between 1 and 100");
    check([&](int v) { chart.SetMaxPointsPerPage(v); }, [&] { return chart.MaxPointsPerPage(); },
          {-1}, {0}, "Chart: MaxPointsPerPage must be >= 0");
    check([&](int v) { axis.Title().SetAngle(v); }, [&] { return axis.Title().Angle(); }, {-1, 361},
          {0, 359}, "Chart: Axis Title Angle must be between 0 and 359 degrees");
    check([&](int v) { axis.SetLabelsSeparation(v); }, [&] { return axis.LabelsSeparation(); },
          {-1}, {0}, "Axis: Labels Separation % must be greater than 0");
    check([&](int v) { bars.SetBarWidthPercent(v); }, [&] { return bars.BarWidthPercent(); },
          {0, 101}, {1, 100}, "Bar: Bar Width Percent must be between 1 and 100");
    check([&](int v) { bars.SetOffsetPercent(v); }, [&] { return bars.OffsetPercent(); },
          {-101, 101}, {-100, 100}, "Bar: Bar Offset Percent must be between -100% and 100%");
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

}  // namespace
}  // namespace zelmo::chart
