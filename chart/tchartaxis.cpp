// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tchartaxis.h"

#include "chart/chartexceptions.h"
#include "chart/chartmath.h"
#include "chart/tcanvas3d.h"
#include "chart/tchartseries.h"

#include <algorithm>
#include <cmath>

namespace zelmo::chart {

namespace {

constexpr long long kFarPixel = 1LL << 30;

}  // namespace

void TChartAxisTitle::SetAngle(int v) {
    // 360 is accepted as another way of saying 0.
    if (v < 0 || v > 360) {
        throw ChartException(FormatMessage(texts::kAngleRange, texts::kAxisTitle));
    }
    Change(angle_, v);
}

TChartAxis::TChartAxis(TChartOwner* chart, bool horizontal, bool otherSide, bool depth)
    : TChartPart(chart),
      horizontal_(horizontal),
      otherSide_(otherSide),
      depth_(depth),
      axisValuesFormat_(QString::fromUtf8(texts::kDefaultValueFormat)) {
    for (TChartPen* pen : std::initializer_list<TChartPen*>{&axisPen_, &ticks_, &minorTicks_,
                                                            &ticksInner_, &grid_, &minorGrid_}) {
        RedrawOnChange(*pen);
    }
    if (!horizontal_ && !depth_) {
        title_.SetAngle(otherSide_ ? 270 : 90);
    }
    if (depth_) {
        visible_ = false;
    }
    tickPositions_.reserve(2000);
}

void TChartAxis::SetLabelsSeparation(int v) {
    if (v < 0) {
        throw AxisException(texts::kLabelsSeparation);
    }
    Change(labelsSeparation_, v);
}

bool TChartAxis::IsVisible() const {
    if (!Chart().AxisVisible() || !visible_) {
        return false;
    }
    if (depth_) {
        return Chart().View3D();
    }
    return LeadSeries() != nullptr;
}

int TChartAxis::WallSize() const {
    TChartOwner& chart = Chart();
    if (!chart.View3D() || !chart.View3DWalls()) {
        return 0;
    }
    if (this == &chart.LeftAxis()) {
        return chart.LeftWallSize();
    }
    if (this == &chart.BottomAxis()) {
        return chart.BottomWallSize();
    }
    return 0;
}

TChartSeries* TChartAxis::LeadSeries() const {
    for (int i = 0; i < Chart().SeriesCount(); ++i) {
        TChartSeries& series = Chart().Series(i);
        if (series.Active() && series.AssociatedToAxis(*this)) {
            return &series;
        }
    }
    return nullptr;
}

void TChartAxis::DataMinMax(double& min, double& max) const {
    min = max = 0;
    if (depth_) {
        max = std::max(0, Chart().MaxZIndex());
        return;
    }
    TChartSeries* lead = LeadSeries();
    const int perPage = Chart().MaxPointsPerPage();
    const bool leadXAxis = lead != nullptr && (lead->YMandatory() ? horizontal_ : !horizontal_);
    if (perPage > 0 && leadXAxis) {
        const int n = lead->Count();
        if (n == 0) {
            return;
        }
        const TChartValueList& x = lead->YMandatory() ? lead->XValues() : lead->YValues();
        int first = perPage * (Chart().Page() - 1);
        if (first >= n) {
            first = std::max(0, n / perPage - 1) * perPage;
        }
        int last = first + perPage - 1;
        if (last >= n) {
            last = first + (n % perPage) - 1;
        }
        min = x.Value(first);
        max = x.Value(last);
        // A short last page keeps the spacing of a full one unless it is to be stretched.
        const int shown = last - first + 1;
        if (!Chart().ScaleLastPage() && shown < perPage) {
            max = static_cast<double>(min + (x.Value(last) - min) *
                                                static_cast<long double>(perPage) / shown);
        }
        return;
    }
    bool first = true;
    for (int i = 0; i < Chart().SeriesCount(); ++i) {
        const TChartSeries& series = Chart().Series(i);
        if (!series.Active() || series.Count() == 0 || !series.AssociatedToAxis(*this)) {
            continue;
        }
        const bool xDimension = series.YMandatory() == horizontal_;
        const double lo = xDimension ? series.MinXValue() : series.MinYValue();
        const double hi = xDimension ? series.MaxXValue() : series.MaxYValue();
        if (first) {
            min = lo;
            max = hi;
            first = false;
        } else {
            min = std::min(min, lo);
            max = std::max(max, hi);
        }
    }
}

void TChartAxis::CalcMinMax() {
    double dataMin = 0;
    double dataMax = 0;
    DataMinMax(dataMin, dataMax);
    if (automatic_ || automaticMaximum_) {
        maximum_ = dataMax;
    }
    if (automatic_ || automaticMinimum_) {
        minimum_ = dataMin;
    }
    scaleMax_ = maximum_;
    scaleMin_ = minimum_;
    scaleRange_ = scaleMax_ - scaleMin_;
}

void TChartAxis::ReduceSide(TRect& rect, int amount, int& recorded) const {
    if (horizontal_) {
        if (otherSide_) {
            rect.Top += amount;
            recorded = rect.Top;
        } else {
            rect.Bottom -= amount;
            recorded = rect.Bottom;
        }
    } else if (otherSide_) {
        rect.Right -= amount;
        recorded = rect.Right;
    } else {
        rect.Left += amount;
        recorded = rect.Left;
    }
}

void TChartAxis::CalcSpace(TRect& rect) {
    if (depth_) {
        return;
    }
    TChartCanvas3D& canvas = Canvas();
    const bool hasTitle = !title_.Caption().isEmpty();
    if (hasTitle) {
        int size = titleSize_;
        if (size == 0) {
            const int angle = title_.Angle() % 360;
            const bool along =
                horizontal_ ? (angle == 0 || angle == 180) : (angle == 90 || angle == 270);
            canvas.Font = title_.Font();
            size = along ? canvas.FontHeight() : canvas.MeasureTextWidth(title_.Caption());
        }
        ReduceSide(rect, size, titlePos_);
    }
    if (labels_) {
        ReduceSide(rect, LabelsSpace(), labelsPos_);
    }
    int ticks = (axisPen_.Visible() ? axisPen_.Width() : 0) + (ticks_.Visible() ? tickLength_ : 0);
    if (minorTicks_.Visible()) {
        ticks = std::max(ticks, minorTickLength_);
    }
    int unused = 0;
    ReduceSide(rect, ticks + WallSize(), unused);

    const int inward = PositionShift();
    if (labels_) {
        labelsPos_ += inward;
    }
    if (hasTitle) {
        titlePos_ += inward;
    }
}

int TChartAxis::PositionShift() const {
    if (positionPercent_ == 0) {
        return 0;
    }
    const TRect& plot = Chart().PlotRect();
    const int across = horizontal_ ? plot.Height() : plot.Width();
    const int shift = Rnd(positionPercent_ * kPercent * across);
    // Towards the inside of the plot: up from the bottom, down from the top, right from the
    // left and left from the right.
    return horizontal_ != otherSide_ ? -shift : shift;
}

int TChartAxis::LabelsSpace() {
    if (labelsSize_ != 0) {
        return labelsSize_;
    }
    Canvas().Font = labelsFont_;
    const int angle = labelsAngle_ % 360;
    const bool along = horizontal_ ? (angle == 0 || angle == 180) : (angle == 90 || angle == 270);
    if (along) {
        return Canvas().FontHeight();
    }
    return MaxLabelSize();
}

void TChartAxis::CalcPixelExtent() {
    if (depth_) {
        axisStart_ = 0;
        axisEnd_ = Chart().TotalDepth();
    } else {
        const TRect& plot = Chart().PlotRect();
        const int start = horizontal_ ? plot.Left : plot.Top;
        const int size = horizontal_ ? plot.Width() : plot.Height();
        axisStart_ = start + Rnd(size * kPercent * startPosition_);
        axisEnd_ = start + Rnd(size * kPercent * endPosition_);
    }
}

int TChartAxis::ValueToPixel(double value) const {
    if (scaleRange_ == 0) {
        return AxisCenter();
    }
    const double t = static_cast<double>((static_cast<long double>(value) - scaleMin_) *
                                         AxisLength() / scaleRange_);
    // Written so that NaN (a NaN value or scale) takes the centre as well.
    if (!(std::fabs(t) < 2147483647.0)) {
        return AxisCenter();
    }
    const long long offset = Rnd(t);
    long long pixel = 0;
    if (horizontal_ || depth_) {
        pixel = inverted_ ? axisEnd_ - offset : axisStart_ + offset;
    } else {
        pixel = inverted_ ? axisStart_ + offset : axisEnd_ - offset;
    }
    // A pixel a billion away is as undrawable as an overflow, and the sizes and depths that the
    // drawing adds to it must stay within int.
    if (pixel < -kFarPixel || pixel > kFarPixel) {
        return AxisCenter();
    }
    return static_cast<int>(pixel);
}

double TChartAxis::PixelToValue(int pixel) const {
    if (AxisLength() < 1) {
        return 0;
    }
    const int distance = inverted_ ? axisEnd_ - pixel : pixel - axisStart_;
    const long double d = static_cast<long double>(distance) * scaleRange_ / AxisLength();
    if (horizontal_ || depth_) {
        return static_cast<double>(scaleMin_ + d);
    }
    return static_cast<double>(scaleMax_ - d);
}

void TChartAxis::AdjustMaxMinRect() {
    if (depth_) {
        return;
    }
    int nearMargin = 0;
    int farMargin = 0;
    for (int i = 0; i < Chart().SeriesCount(); ++i) {
        TChartSeries& series = Chart().Series(i);
        if (!series.Active() || !series.AssociatedToAxis(*this)) {
            continue;
        }
        int a = 0;
        int b = 0;
        if (horizontal_) {
            series.CalcHorizMargins(a, b);
            if (automaticMinimum_) {
                nearMargin = std::max(nearMargin, a);
            }
            if (automaticMaximum_) {
                farMargin = std::max(farMargin, b);
            }
        } else {
            series.CalcVerticalMargins(a, b);
            if (automaticMaximum_) {
                nearMargin = std::max(nearMargin, a);
            }
            if (automaticMinimum_) {
                farMargin = std::max(farMargin, b);
            }
        }
    }
    if (nearMargin != 0 || farMargin != 0) {
        Widen(nearMargin, farMargin);
    }
}

void TChartAxis::Widen(int nearMargin, int farMargin) {
    const int s0 = axisStart_;
    const int e0 = axisEnd_;
    axisStart_ += nearMargin;
    axisEnd_ -= farMargin;
    // The values at the old ends, seen through the narrowed extent, become the new scale.
    const double v1 = PixelToValue(s0);
    const double v2 = PixelToValue(e0);
    CalcPixelExtent();
    scaleMin_ = std::min(v1, v2);
    scaleMax_ = std::max(v1, v2);
    scaleRange_ = scaleMax_ - scaleMin_;
}

}  // namespace zelmo::chart
