// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/tcharttitle.h"
#include "chart/tcustomaxispanel.h"

namespace zelmo::chart {

class TBarSeries;

// One wall of the 3D box around the plot (back, left or bottom): pen, brush and thickness.
class TChartWall : public TChartPart {
  public:
    explicit TChartWall(TChartOwner* chart);

    TChartPen& Pen() { return pen_; }
    const TChartPen& Pen() const { return pen_; }
    TChartBrush& Brush() { return brush_; }
    const TChartBrush& Brush() const { return brush_; }
    TColor Color() const { return color_; }
    void SetColor(TColor v) { Change(color_, v); }
    int Size() const { return size_; }
    void SetSize(int v) { Change(size_, v); }

  private:
    TChartPen pen_;
    TChartBrush brush_;
    TColor color_ = AutoColor;
    int size_ = 0;
};

// The legend; this chart keeps it hidden, so it only carries its visibility.
class TChartLegend : public TChartPart {
  public:
    explicit TChartLegend(TChartOwner* chart) : TChartPart(chart) {}
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Change(visible_, v); }

  private:
    bool visible_ = true;
};

// The chart with title, foot, walls and legend.
class TCustomChart : public TCustomAxisPanel {
  public:
    explicit TCustomChart(QWidget* parent = nullptr);

    TChartTitle& Title() { return title_; }
    TChartTitle& Foot() { return foot_; }
    TChartWall& BackWall() { return backWall_; }
    TChartWall& LeftWall() { return leftWall_; }
    TChartWall& BottomWall() { return bottomWall_; }
    TChartLegend& Legend() { return legend_; }

    int LeftWallSize() const override { return leftWall_.Size(); }
    int BottomWallSize() const override { return bottomWall_.Size(); }
    int BackWallSize() const override { return backWall_.Size(); }

  protected:
    void DrawTitlesAndLegend() override;
    void DrawWalls() override;

  private:
    TChartTitle title_;
    TChartTitle foot_;
    TChartWall backWall_;
    TChartWall leftWall_;
    TChartWall bottomWall_;
    TChartLegend legend_;
};

// The chart control placed on a window. Series are created through it and owned by it.
class TChart : public TCustomChart {
  public:
    explicit TChart(QWidget* parent = nullptr);

    // Creates a bar series attached to this chart.
    TBarSeries* CreateBarSeries();
};

}  // namespace zelmo::chart
