// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tcustomaxispanel.h"

#include "chart/chartexceptions.h"
#include "chart/chartmath.h"
#include "chart/tbarseries.h"
#include "chart/tseriesmarks.h"

#include <algorithm>
#include <cstdlib>
#include <typeinfo>

namespace zelmo::chart {

TCustomAxisPanel::TCustomAxisPanel(QWidget* parent)
    : TCustomChartPanel(parent),
      bottomAxis_(std::make_unique<TChartAxis>(this, true, false)),
      topAxis_(std::make_unique<TChartAxis>(this, true, true)),
      leftAxis_(std::make_unique<TChartAxis>(this, false, false)),
      rightAxis_(std::make_unique<TChartAxis>(this, false, true)),
      depthAxis_(std::make_unique<TChartDepthAxis>(this)) {
    axes_ = {bottomAxis_.get(), topAxis_.get(), leftAxis_.get(), rightAxis_.get(),
             depthAxis_.get()};
}

TCustomAxisPanel::~TCustomAxisPanel() {
    for (auto& series : series_) {
        series->SetParentChart(nullptr);
    }
}

TChartSeries* TCustomAxisPanel::AddSeries(std::unique_ptr<TChartSeries> series) {
    TChartSeries* added = series.get();
    series_.push_back(std::move(series));
    added->SetParentChart(this);
    RequestRedraw();
    return added;
}

void TCustomAxisPanel::SetMaxPointsPerPage(int v) {
    if (v < 0) {
        throw ChartException(texts::kMaxPointsPerPage);
    }
    if (maxPointsPerPage_ != v) {
        maxPointsPerPage_ = v;
        const int pages = NumPages();
        if (page_ > pages) {
            SetPage(pages);
        }
        RequestRedraw();
    }
}

void TCustomAxisPanel::SetPage(int v) {
    v = std::max(1, std::min(v, NumPages()));
    if (page_ != v) {
        page_ = v;
        if (OnPageChange) {
            OnPageChange();
        }
        RequestRedraw();
    }
}

int TCustomAxisPanel::NumPages() const {
    if (maxPointsPerPage_ < 1) {
        return 1;
    }
    int most = 0;
    bool any = false;
    for (const auto& series : series_) {
        if (series->Active() &&
            (series->AssociatedToAxis(*topAxis_) || series->AssociatedToAxis(*bottomAxis_))) {
            any = true;
            most = std::max(most, series->Count());
        }
    }
    if (!any) {
        return 1;
    }
    // In 64 bits: a page size near the int limit would overflow the rounding up.
    const long long pages =
        (static_cast<long long>(most) + maxPointsPerPage_ - 1) / maxPointsPerPage_;
    return std::max(1, static_cast<int>(pages));
}

int TCustomAxisPanel::CalcSeriesDepth(int plotWidth) const {
    if (!View3D()) {
        return 0;
    }
    // The factor is formed in extended precision and stored as a double, slightly below the
    // decimal value: an exact half of a pixel then goes down.
    double factor = static_cast<double>(Chart3DPercent() * kThousandth);
    if (!View3DOptions().Orthogonal()) {
        factor *= 2;
    }
    return Rnd(plotWidth * static_cast<long double>(factor));
}

void TCustomAxisPanel::CalcZOrder() {
    maxZIndex_ = 0;
    if (!View3D()) {
        for (auto& series : series_) {
            series->SetZIndex(0);
        }
        return;
    }
    maxZIndex_ = -1;
    std::vector<TChartSeries*> placed;
    for (auto& series : series_) {
        if (!series->Active()) {
            continue;
        }
        // Side-by-side and stacked bars share the slot of the first earlier bar series of
        // their class.
        TChartSeries* partner = nullptr;
        if (auto* bar = dynamic_cast<TCustomBarSeries*>(series.get());
            bar != nullptr && bar->MultiBar() != TMultiBar::mbNone) {
            for (TChartSeries* earlier : placed) {
                if (typeid(*earlier) == typeid(*bar)) {
                    partner = earlier;
                    break;
                }
            }
        }
        if (partner != nullptr) {
            series->SetSlotInUse(partner->SlotInUse());
        } else if (series->ZOrder() < 0) {
            series->SetSlotInUse(++maxZIndex_);
        } else {
            series->SetSlotInUse(series->ZOrder());
            maxZIndex_ = std::max(maxZIndex_, series->ZOrder());
        }
        placed.push_back(series.get());
    }
    for (TChartSeries* series : placed) {
        series->SetZIndex(maxZIndex_ - series->SlotInUse());
    }
}

void TCustomAxisPanel::CalcPlotRect() {
    for (TChartAxis* axis : axes_) {
        axis->CalcMinMax();
    }

    seriesDepth_ = CalcSeriesDepth(PlotWidth());
    totalDepth_ = View3D() ? seriesDepth_ * std::max(1, maxZIndex_ + 1) : 0;

    if (View3D() && View3DOptions().Orthogonal()) {
        const int wall = View3DWalls() ? BackWallSize() : 0;
        TRect r = PlotRect();
        r.Right -= std::abs(totalDepth_) + wall;
        r.Top += std::abs(totalDepth_) + wall;
        SetPlotRect(r);
    }

    // Each visible axis takes its room from a copy of the plot rectangle; the rectangle keeps
    // what all of them leave.
    const TRect start = PlotRect();
    TRect current = start;
    for (TChartAxis* axis : axes_) {
        if (!axis->IsVisible()) {
            continue;
        }
        TRect reduced = start;
        axis->CalcSpace(reduced);
        const TRect both{std::max(current.Left, reduced.Left), std::max(current.Top, reduced.Top),
                         std::min(current.Right, reduced.Right),
                         std::min(current.Bottom, reduced.Bottom)};
        if (both.Right > both.Left && both.Bottom > both.Top) {
            current = both;
        }
    }
    SetPlotRect(current);

    for (TChartAxis* axis : axes_) {
        axis->CalcPixelExtent();
    }
}

void TCustomAxisPanel::DrawChart() {
    const TRect outer = OuterRect();
    const int w = outer.Width();
    const int h = outer.Height();
    const int border = BorderWidth();
    SetPlotRect(TRect{outer.Left + MulDiv(MarginLeft(), w, 100) + border,
                      outer.Top + MulDiv(MarginTop(), h, 100) + border,
                      outer.Right - border - MulDiv(MarginRight(), w, 100),
                      outer.Bottom - border - MulDiv(MarginBottom(), h, 100)});

    PaintPanel();

    TChartCanvas3D& canvas = Canvas();
    canvas.BeginFlatDrawing();
    DrawTitlesAndLegend();
    canvas.EndFlatDrawing();

    CalcZOrder();
    CalcPlotRect();

    for (auto& series : series_) {
        if (series->Active()) {
            series->SetDepthPlacement(seriesDepth_);
        }
    }

    for (TChartAxis* axis :
         {topAxis_.get(), leftAxis_.get(), rightAxis_.get(), bottomAxis_.get()}) {
        axis->AdjustMaxMinRect();
    }

    canvas.SetProjection(totalDepth_, outer, PlotRect());
    DrawWalls();

    if (OnBeforeDrawAxes) {
        OnBeforeDrawAxes();
    }
    for (TChartAxis* axis : axes_) {
        if (axis->IsVisible()) {
            axis->Draw();
        }
    }
    if (OnBeforeDrawSeries) {
        OnBeforeDrawSeries();
    }
    for (auto& series : series_) {
        if (series->Active()) {
            DrawSeries(*series);
        }
    }
    if (OnAfterDraw) {
        OnAfterDraw();
    }
}

void TCustomAxisPanel::DrawSeries(TChartSeries& series) {
    series.CalcFirstLastVisibleIndex();
    if (series.FirstVisible() < 0) {
        return;
    }
    if (series.BeforeDrawValues) {
        series.BeforeDrawValues(series);
    }
    TChartCanvas3D& canvas = Canvas();
    if (clipPoints_) {
        canvas.ClipToBox(PlotRect(), 0, totalDepth_);
    }
    series.DrawAllPoints();
    if (clipPoints_) {
        canvas.Unclip();
    }
    if (series.Marks().Visible()) {
        if (series.Marks().Clip()) {
            canvas.ClipToBox(PlotRect(), 0, totalDepth_);
        }
        series.DrawAllMarks();
        if (series.Marks().Clip()) {
            canvas.Unclip();
        }
    }
    if (series.AfterDrawValues) {
        series.AfterDrawValues(series);
    }
}

}  // namespace zelmo::chart
