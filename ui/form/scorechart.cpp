// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form/scorechart.h"

#include "chart/chartexceptions.h"
#include "chart/tseriesmarks.h"
#include "ui/widgets/texts.h"

#include <memory>

namespace zelmo::ui {

using namespace zelmo::chart;

namespace {

const QString kLeftAxisFormat = QStringLiteral("###");

TFontData TitleFont() {
    TFontData font;
    font.Name = QString::fromUtf8(chart::texts::kDefaultFontName);
    font.Height = -16;
    font.Color = clBlack;
    return font;
}

void ConfigureChart(TChart& chart) {
    chart.SetBorderStyle(TBorderStyle::bsSingle);
    chart.SetBevelOuter(TPanelBevel::bvNone);
    chart.SetBevelInner(TPanelBevel::bvRaised);
    chart.SetBevelWidth(1);
    chart.SetBorderWidth(0);
    chart.SetColor(clBtnFace);
    chart.SetMarginLeft(5);
    chart.SetMarginRight(5);
    chart.SetMarginTop(0);
    chart.SetMarginBottom(0);
    chart.SetGradientVisible(false);

    TChartTitle& title = chart.Title();
    title.SetText(QStringList{ui::texts::kScoreName});
    title.SetFont(TitleFont());
    title.SetAlignment(TAlignment::taCenter);
    title.SetVisible(true);
    title.SetAdjustFrame(true);
    title.Frame().SetVisible(false);
    title.Brush().SetStyle(TBrushStyle::bsSolid);
    title.Brush().SetColor(AutoColor);
    title.SetColor(AutoColor);
    chart.Foot().SetText(QStringList());
    chart.Foot().SetAlignment(TAlignment::taRightJustify);
    chart.Legend().SetVisible(false);

    chart.SetView3D(true);
    chart.SetChart3DPercent(15);
    TView3DOptions& view = chart.View3DOptions();
    view.SetOrthogonal(true);
    view.SetZoom(100);
    view.SetZoomText(true);
    view.SetRotation(345);
    view.SetElevation(345);
    view.SetPerspective(15);
    view.SetHorizOffset(0);
    view.SetVertOffset(0);
    view.SetTilt(0);
    chart.SetView3DWalls(false);
    chart.BackWall().Brush().SetColor(clWhite);
    chart.BackWall().Brush().SetStyle(TBrushStyle::bsClear);
    chart.SetAxisVisible(true);
    chart.SetClipPoints(true);
    chart.SetMaxPointsPerPage(4);
    chart.SetPage(1);
    chart.SetScaleLastPage(true);

    chart.BottomAxis().SetLabelStyle(TAxisLabelStyle::talText);
    chart.BottomAxis().Title().SetAngle(360);
    chart.BottomAxis().SetTitleSize(5);
    chart.LeftAxis().SetVisible(false);
    chart.LeftAxis().SetAxisValuesFormat(kLeftAxisFormat);
    chart.RightAxis().SetVisible(false);
    chart.TopAxis().SetVisible(false);
    chart.TopAxis().Title().SetAngle(90);
    chart.TopAxis().SetTitleSize(1);
}

void ConfigureSeries(TBarSeries& series) {
    series.SetSeriesColor(clRed);
    series.SetColorEachPoint(false);
    series.SetBarStyle(TBarStyle::bsPyramid);
    series.SetMultiBar(TMultiBar::mbNone);
    series.SetUseYOrigin(false);
    series.SetYOrigin(0.0);
    series.SetBarWidthPercent(70);
    series.SetSideMargins(true);
    series.SetAutoBarSize(false);
    series.SetCustomBarWidth(0);
    series.SetDark3D(true);
    series.SetAutoMarkPosition(true);

    TSeriesMarks& marks = series.Marks();
    marks.SetVisible(true);
    marks.SetArrowLength(20);
    marks.SetStyle(TSeriesMarksStyle::smsValue);
    marks.SetFont(DefaultChartFont());
    marks.Frame().SetColor(clBlack);
    marks.Frame().SetWidth(1);
    marks.Frame().SetStyle(TPenStyle::psSolid);
    marks.Frame().SetVisible(true);

    series.XValues().SetName(QStringLiteral("X"));
    series.XValues().SetOrder(TChartListOrder::loAscending);
    series.XValues().SetMultiplier(1);
    series.XValues().SetDateTime(false);
    series.YValues().SetName(QStringLiteral("Bar"));
    series.YValues().SetOrder(TChartListOrder::loNone);
    series.YValues().SetMultiplier(1);
    series.YValues().SetDateTime(false);

    series.SetHorizAxis(THorizAxis::aBottomAxis);
    series.SetVertAxis(TVertAxis::aLeftAxis);
    series.SetActive(true);
    series.SetShowInLegend(true);
    series.SetValueFormat(QString::fromUtf8(chart::texts::kDefaultValueFormat));
    series.SetPercentFormat(QString::fromUtf8(chart::texts::kDefaultPercentFormat));
}

}  // namespace

void ConfigureScoreChart(chart::TChart& chart, chart::TBarSeries& series) {
    ConfigureChart(chart);
    ConfigureSeries(series);
    // A series that is not attached yet was allocated by the caller; the chart owns it now.
    if (series.ParentChart() == nullptr) {
        chart.AddSeries(std::unique_ptr<TChartSeries>(&series));
    }
}

}  // namespace zelmo::ui
