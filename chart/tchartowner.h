// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/chartproperty.h"
#include "chart/tchartcanvas.h"

namespace zelmo::chart {

class TChartAxis;
class TChartCanvas3D;
class TChartSeries;
class TView3DOptions;

// What the parts of a chart (series, axes, marks, titles) reach of the chart that owns them:
// the canvas and geometry of the running drawing pass, the settings they draw by, the axes and
// the series. The chart panel implements it; the parts know nothing else of the panel.
class TChartOwner : public TChartElement {
  public:
    // The drawing pass.
    virtual TChartCanvas3D& Canvas() const = 0;
    virtual const TRect& PlotRect() const = 0;
    virtual void SetPlotRect(const TRect& r) = 0;
    virtual int TotalDepth() const = 0;
    virtual int MaxZIndex() const = 0;

    // Settings.
    virtual TColor Color() const = 0;
    virtual bool View3D() const = 0;
    virtual const TView3DOptions& View3DOptions() const = 0;
    virtual bool View3DWalls() const = 0;
    virtual int LeftWallSize() const = 0;
    virtual int BottomWallSize() const = 0;
    virtual bool AxisVisible() const = 0;
    virtual int MaxPointsPerPage() const = 0;
    virtual int Page() const = 0;
    virtual bool ScaleLastPage() const = 0;

    // The parts.
    virtual TChartAxis& BottomAxis() = 0;
    virtual TChartAxis& TopAxis() = 0;
    virtual TChartAxis& LeftAxis() = 0;
    virtual TChartAxis& RightAxis() = 0;
    virtual int SeriesCount() const = 0;
    virtual TChartSeries& Series(int index) const = 0;
};

// A part of a chart: it reaches its chart through TChartOwner only, and passes its redraw
// requests on to it (none while it belongs to no chart).
class TChartPart : public TChartElement {
  public:
    TChartOwner* ParentChart() const { return chart_; }
    void RequestRedraw() override {
        if (chart_ != nullptr) {
            chart_->RequestRedraw();
        }
    }

  protected:
    explicit TChartPart(TChartOwner* chart) : chart_(chart) {}

    // The chart during a drawing pass, and its canvas.
    TChartOwner& Chart() const { return *chart_; }
    TChartCanvas3D& Canvas() const { return chart_->Canvas(); }
    void SetChart(TChartOwner* chart) { chart_ = chart; }

  private:
    TChartOwner* chart_;
};

}  // namespace zelmo::chart
