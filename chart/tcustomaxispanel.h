// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/tchartaxis.h"
#include "chart/tchartseries.h"
#include "chart/tcustomchartpanel.h"

#include <functional>
#include <memory>
#include <vector>

namespace zelmo::chart {

// The chart panel with axes and series: the series list, the five axes, paging, the depth of the
// series and the steps of the drawing pass that lay out the plot, draw the axes and then the
// series with their marks.
class TCustomAxisPanel : public TCustomChartPanel {
  public:
    explicit TCustomAxisPanel(QWidget* parent = nullptr);
    ~TCustomAxisPanel() override;

    TChartAxis& BottomAxis() override { return *bottomAxis_; }
    TChartAxis& TopAxis() override { return *topAxis_; }
    TChartAxis& LeftAxis() override { return *leftAxis_; }
    TChartAxis& RightAxis() override { return *rightAxis_; }
    TChartDepthAxis& DepthAxis() { return *depthAxis_; }
    // Bottom, top, left, right, depth: the order of every loop over the axes.
    const std::vector<TChartAxis*>& AxesList() const { return axes_; }

    // Attaches a series: the chart owns it from now on and connects its axes.
    TChartSeries* AddSeries(std::unique_ptr<TChartSeries> series);
    int SeriesCount() const override { return static_cast<int>(series_.size()); }
    TChartSeries& Series(int index) const override { return *series_[static_cast<size_t>(index)]; }

    bool AxisVisible() const override { return axisVisible_; }
    void SetAxisVisible(bool v) { Change(axisVisible_, v); }
    bool ClipPoints() const { return clipPoints_; }
    void SetClipPoints(bool v) { Change(clipPoints_, v); }
    bool View3DWalls() const override { return view3DWalls_; }
    void SetView3DWalls(bool v) { Change(view3DWalls_, v); }
    int MaxPointsPerPage() const override { return maxPointsPerPage_; }
    // ChartException below 0; Page is lowered to the number of pages afterwards.
    void SetMaxPointsPerPage(int v);
    int Page() const override { return page_; }
    // Clamped to 1..NumPages.
    void SetPage(int v);
    bool ScaleLastPage() const override { return scaleLastPage_; }
    void SetScaleLastPage(bool v) { Change(scaleLastPage_, v); }
    int NumPages() const;

    // Depth of the current pass.
    int SeriesDepth() const { return seriesDepth_; }
    int TotalDepth() const override { return totalDepth_; }
    int MaxZIndex() const override { return maxZIndex_; }
    // rnd(plotWidth x the depth factor): the depth of one series for a plot width.
    int CalcSeriesDepth(int plotWidth) const;

    // Wall thickness under the axes and behind the plot; no walls here.
    int LeftWallSize() const override { return 0; }
    int BottomWallSize() const override { return 0; }
    virtual int BackWallSize() const { return 0; }

    std::function<void()> OnPageChange;
    std::function<void()> OnBeforeDrawAxes;
    std::function<void()> OnBeforeDrawSeries;
    std::function<void()> OnAfterDraw;

  protected:
    void DrawChart() override;
    // Title, foot and legend between flat drawing calls; the walls before the axes.
    virtual void DrawTitlesAndLegend() {}
    virtual void DrawWalls() {}

  private:
    void CalcZOrder();
    void CalcPlotRect();
    void DrawSeries(TChartSeries& series);

    std::unique_ptr<TChartAxis> bottomAxis_;
    std::unique_ptr<TChartAxis> topAxis_;
    std::unique_ptr<TChartAxis> leftAxis_;
    std::unique_ptr<TChartAxis> rightAxis_;
    std::unique_ptr<TChartDepthAxis> depthAxis_;
    std::vector<TChartAxis*> axes_;
    std::vector<std::unique_ptr<TChartSeries>> series_;

    bool axisVisible_ = true;
    bool clipPoints_ = true;
    bool view3DWalls_ = true;
    int maxPointsPerPage_ = 0;
    int page_ = 1;
    bool scaleLastPage_ = true;

    int seriesDepth_ = 0;
    int totalDepth_ = 0;
    int maxZIndex_ = 0;
};

}  // namespace zelmo::chart
