// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tcustomchart.h"

#include "chart/tbarseries.h"

namespace zelmo::chart {

TChartWall::TChartWall(TChartOwner* chart) : TChartPart(chart) {
    RedrawOnChange(pen_);
    RedrawOnChange(brush_);
}

TCustomChart::TCustomChart(QWidget* parent)
    : TCustomAxisPanel(parent),
      title_(this, false),
      foot_(this, true),
      backWall_(this),
      leftWall_(this),
      bottomWall_(this),
      legend_(this) {}

void TCustomChart::DrawTitlesAndLegend() {
    title_.Draw();
    foot_.Draw();
}

void TCustomChart::DrawWalls() {
    TChartCanvas3D& canvas = Canvas();
    canvas.ApplyChartPen(backWall_.Pen());
    canvas.Brush =
        TBrushData{backWall_.Brush().Color() == AutoColor ? clWhite : backWall_.Brush().Color(),
                   backWall_.Brush().Style()};
    // In 3D the walls are painted only when they are switched on, and this chart never does;
    // a flat chart draws its back wall as a rectangle around the plot.
    if (!View3D()) {
        const TRect& plot = PlotRect();
        canvas.Rectangle2D(TRect{plot.Left, plot.Top, plot.Right + 1, plot.Bottom + 1});
    }
}

TChart::TChart(QWidget* parent) : TCustomChart(parent) {
    FinishConstruction();
}

TBarSeries* TChart::CreateBarSeries() {
    auto series = std::make_unique<TBarSeries>();
    TBarSeries* result = series.get();
    AddSeries(std::move(series));
    return result;
}

}  // namespace zelmo::chart
