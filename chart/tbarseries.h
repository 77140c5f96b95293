// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/tchartpen.h"
#include "chart/tchartseries.h"

#include <functional>

namespace zelmo::chart {

enum class TBarStyle {
    bsRectangle,
    bsPyramid,
    bsInvPyramid,
    bsCilinder,
    bsEllipse,
    bsArrow,
    bsRectGradient,
    bsCone
};
enum class TMultiBar { mbNone, mbSide, mbStacked, mbStacked100, mbSeries };

// The bar settings shared by vertical and horizontal bar series: style, grouping, origin, width
// and offset, pen and brush; the bar value range and the margins the bars and marks need.
class TCustomBarSeries : public TChartSeries {
  public:
    using TGetBarStyleEvent = std::function<void(TCustomBarSeries&, int, TBarStyle&)>;

    TCustomBarSeries();

    TBarStyle BarStyle() const { return barStyle_; }
    void SetBarStyle(TBarStyle v) { Change(barStyle_, v); }
    TMultiBar MultiBar() const { return multiBar_; }
    void SetMultiBar(TMultiBar v) { Change(multiBar_, v); }
    bool UseYOrigin() const { return useYOrigin_; }
    void SetUseYOrigin(bool v) { Change(useYOrigin_, v); }
    double YOrigin() const { return yOrigin_; }
    void SetYOrigin(double v) { Change(yOrigin_, v); }
    int BarWidthPercent() const { return barWidthPercent_; }
    // BarException outside 1..100; the old value stays.
    void SetBarWidthPercent(int v);
    int OffsetPercent() const { return offsetPercent_; }
    // BarException outside -100..100; the old value stays.
    void SetOffsetPercent(int v);
    bool AutoBarSize() const { return autoBarSize_; }
    void SetAutoBarSize(bool v) { Change(autoBarSize_, v); }
    bool SideMargins() const { return sideMargins_; }
    void SetSideMargins(bool v) { Change(sideMargins_, v); }
    bool Dark3D() const { return dark3D_; }
    void SetDark3D(bool v) { Change(dark3D_, v); }
    // Part of the series' interface, kept for its owner: marks are always placed above the bar.
    bool AutoMarkPosition() const { return autoMarkPosition_; }
    void SetAutoMarkPosition(bool v) { Change(autoMarkPosition_, v); }
    TChartPen& BarPen() { return barPen_; }
    const TChartPen& BarPen() const { return barPen_; }
    TChartBrush& BarBrush() { return barBrush_; }
    const TChartBrush& BarBrush() const { return barBrush_; }
    TGetBarStyleEvent OnGetBarStyle;

    // Width of a bar in pixels for the current pass (even, unless CustomBarWidth is odd).
    int BarWidth() const { return barWidth_; }
    const TRect& BarRect() const { return barRect_; }
    TBarStyle EffectiveBarStyle(int valueIndex);

    double MinYValue() const override;
    double MaxYValue() const override;
    void CalcHorizMargins(int& left, int& right) override;
    void CalcVerticalMargins(int& top, int& bottom) override;

  protected:
    virtual int CustomBarWidthValue() const { return 0; }
    // BarWidth for n points per axis and k bars side by side at each point.
    void CalcBarWidth(int n, int k);
    // Number of side-by-side series of this class and the most points among them.
    int SideBySideCount(int& mostPoints) const;
    void PrepareBarPaint(TColor color);

    int barWidth_ = 0;
    TRect barRect_;
    TColor currentBarColor_ = clNone;

  private:
    TBarStyle barStyle_ = TBarStyle::bsRectangle;
    TMultiBar multiBar_ = TMultiBar::mbSide;
    bool useYOrigin_ = true;
    double yOrigin_ = 0;
    int barWidthPercent_ = 70;
    int offsetPercent_ = 0;
    bool autoBarSize_ = false;
    bool sideMargins_ = true;
    bool dark3D_ = true;
    bool autoMarkPosition_ = true;
    TChartPen barPen_;
    TChartBrush barBrush_;
};

// Vertical bars: each point a bar (here a four-sided pyramid) from the axis end or the origin up
// to its value, centred on the point's pixel column.
class TBarSeries : public TCustomBarSeries {
  public:
    TBarSeries() = default;

    int CustomBarWidth() const { return customBarWidth_; }
    void SetCustomBarWidth(int v) { Change(customBarWidth_, v); }

    int BarLeft(int valueIndex) const;
    int BarBase(int valueIndex) const;

    void PlaceMark(int valueIndex, const QString& text, TSeriesMarkPosition& position) override;
    void DrawPoint(int valueIndex) override;
    int CalcXPos(int valueIndex) const override { return BarLeft(valueIndex); }
    bool DrawValuesForward() const override;
    virtual void PaintBar(int valueIndex, int startY, int endY);

  protected:
    int CustomBarWidthValue() const override { return customBarWidth_; }

  private:
    void PaintPrism(int startY, int endY);

    int customBarWidth_ = 0;
};

}  // namespace zelmo::chart
