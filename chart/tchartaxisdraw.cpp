// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing of an axis: the label increment, the labels with their overlap rule, the line, the
// ticks, the grid on the back plane and the minor ticks.
#include "chart/chartmath.h"
#include "chart/numberformat.h"
#include "chart/tcanvas3d.h"
#include "chart/tchartaxis.h"
#include "chart/tchartseries.h"

#include <algorithm>
#include <cmath>

namespace zelmo::chart {

namespace {

constexpr size_t kMaxTicks = 2000;
constexpr double kSmallestStep = 1e-12;

}  // namespace

int TChartAxis::LabelSize(const QString& text) {
    TChartCanvas3D& canvas = Canvas();
    const int angle = labelsAngle_ % 360;
    const bool turned = angle == 90 || angle == 270;
    const bool flat = angle == 0 || angle == 180;
    if ((horizontal_ && turned) || (!horizontal_ && flat)) {
        return static_cast<int>(TextLines(text).size()) * canvas.FontHeight();
    }
    int lines = 1;
    return canvas.WidestLineWidth(text, lines);
}

int TChartAxis::MaxLabelSize() {
    int widest = 0;
    if (labelStyle_ == TAxisLabelStyle::talText || labelStyle_ == TAxisLabelStyle::talAuto ||
        labelStyle_ == TAxisLabelStyle::talMark) {
        for (int s = 0; s < Chart().SeriesCount(); ++s) {
            const TChartSeries& series = Chart().Series(s);
            if (series.Active() && series.AssociatedToAxis(*this)) {
                for (int i = 0; i < series.LabelCount(); ++i) {
                    widest = std::max(widest, LabelSize(series.PointLabel(i)));
                }
            }
        }
    }
    widest = std::max(widest, LabelSize(FormatFloat(axisValuesFormat_, scaleMin_)));
    return std::max(widest, LabelSize(FormatFloat(axisValuesFormat_, scaleMax_)));
}

double TChartAxis::CalcIncrement() {
    const int size = std::max(LabelSize(FormatFloat(axisValuesFormat_, scaleMin_)),
                              LabelSize(FormatFloat(axisValuesFormat_, scaleMax_)));
    int maxLabels = 1;
    if (size > 0) {
        const int separation = labelsSeparation_ > 0 ? Rnd(labelsSeparation_ * kPercent * size) : 0;
        maxLabels = Rnd(AxisLength() / static_cast<long double>(size + separation));
    }
    if (maxLabels < 1) {
        return kSmallestStep;
    }
    double step = increment_ > 0 ? increment_ : (std::fabs(scaleRange_) >= 1 ? 1 : kSmallestStep);
    // An infinite or undefined range has no step that fits; neither has an infinite step.
    if (labelsSeparation_ > 0 && std::isfinite(scaleRange_)) {
        while (std::isfinite(step)) {
            const double q = scaleRange_ / step;
            if (std::fabs(q) < 2147483647.0 && Rnd(q) <= maxLabels) {
                break;
            }
            // Among the smallest doubles the series loses its precision and can stand still;
            // doubling keeps the search moving where it would otherwise never end.
            const double next = NextNiceStep(step);
            step = next > step ? next : step * 2;
        }
    }
    return std::max(kSmallestStep, step);
}

void TChartAxis::AddTick(int position) {
    if (tickPositions_.size() < kMaxTicks) {
        tickPositions_.push_back(position);
    }
}

void TChartAxis::Draw() {
    Canvas().Font = labelsFont_;
    passIncrement_ = CalcIncrement();

    const TRect& plot = Chart().PlotRect();
    if (horizontal_) {
        axisLinePos_ = otherSide_ ? plot.Top : plot.Bottom;
    } else {
        axisLinePos_ = otherSide_ ? plot.Right : plot.Left;
    }
    axisLinePos_ += PositionShift();

    tickPositions_.clear();
    if (passIncrement_ > 0 && scaleMax_ >= scaleMin_) {
        bool textLabels =
            labelStyle_ == TAxisLabelStyle::talText || labelStyle_ == TAxisLabelStyle::talMark;
        if (labelStyle_ == TAxisLabelStyle::talAuto) {
            for (int s = 0; s < Chart().SeriesCount() && !textLabels; ++s) {
                const TChartSeries& series = Chart().Series(s);
                textLabels =
                    series.Active() && series.AssociatedToAxis(*this) && series.HasLabels();
            }
        }
        TPriorLabel prior;
        if (textLabels) {
            DrawTextLabels(prior);
        } else if (labelStyle_ != TAxisLabelStyle::talNone) {
            DrawValueLabels(prior);
        }
    }
    DrawLineTicksGrid();
}

void TChartAxis::LabelCandidate(int position, const QString& text, TPriorLabel& prior) {
    if (!labels_) {
        return;
    }
    const int width = LabelSize(text);
    if (!prior.Drawn || labelsSeparation_ == 0) {
        DrawLabel(position, text);
        prior = TPriorLabel{true, position, width / 2};
        return;
    }
    // Each label keeps a share of its width free on both sides.
    const int half = (width + LabelAllowance(width, labelsSeparation_)) / 2;
    const bool clear = position < prior.Position ? prior.Position - prior.Half >= position + half
                                                 : position - half >= prior.Position + prior.Half;
    if (clear) {
        DrawLabel(position, text);
        prior = TPriorLabel{true, position, half};
    }
}

void TChartAxis::DrawTextLabels(TPriorLabel& prior) {
    std::vector<TChartSeries*> labelSeries;
    int first = -1;
    int last = -1;
    for (int s = 0; s < Chart().SeriesCount(); ++s) {
        TChartSeries& series = Chart().Series(s);
        if (!series.Active() || !series.AssociatedToAxis(*this) || !series.HasLabels()) {
            continue;
        }
        labelSeries.push_back(&series);
        series.CalcFirstLastVisibleIndex();
        if (series.FirstVisible() >= 0) {
            if (first < 0) {
                first = series.FirstVisible();
            }
            last = std::max(last, series.LastVisible());
        }
    }
    if (first < 0) {
        return;
    }
    for (int i = first; i <= last; ++i) {
        TChartSeries* owner = nullptr;
        for (TChartSeries* series : labelSeries) {
            if (i < series->LabelCount()) {
                owner = series;
                break;
            }
        }
        if (owner == nullptr) {
            continue;
        }
        const QString text =
            labelStyle_ == TAxisLabelStyle::talMark ? owner->MarkText(i) : owner->PointLabel(i);
        const bool xDimension = owner->YMandatory() == horizontal_;
        const double value = xDimension ? owner->XValues().Value(i) : owner->YValues().Value(i);
        if (value < scaleMin_ || value > scaleMax_) {
            continue;
        }
        const int position = ValueToPixel(value);
        if (!tickOnLabelsOnly_) {
            AddTick(position);
        }
        LabelCandidate(position, text, prior);
    }
}

void TChartAxis::DrawValueLabels(TPriorLabel& prior) {
    const double step = passIncrement_;
    double value = std::ceil(scaleMin_ / step) * step;
    // A little slack lets the last label through despite the sums' rounding.
    const double end = scaleMax_ + step * 1e-9;
    for (size_t n = 0; value <= end && n < kMaxTicks; ++n, value += step) {
        const int position = ValueToPixel(value);
        if (!tickOnLabelsOnly_) {
            AddTick(position);
        }
        LabelCandidate(position, FormatFloat(axisValuesFormat_, value), prior);
    }
}

void TChartAxis::DrawLabel(int position, const QString& text) {
    if (tickOnLabelsOnly_) {
        AddTick(position);
    }
    TChartCanvas3D& canvas = Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.BackMode = TBackMode::Transparent;
    const QStringList lines = TextLines(text);
    const int lineHeight = canvas.FontHeight();
    if (horizontal_) {
        canvas.SetTextAlignment(TA_CENTER);
        // The top axis writes its labels above the line, the bottom axis below.
        int y = otherSide_ ? labelsPos_ - static_cast<int>(lines.size()) * lineHeight : labelsPos_;
        for (const QString& line : lines) {
            canvas.TextAtDepth(position, y, 0, line);
            y += lineHeight;
        }
    } else {
        canvas.SetTextAlignment(TA_LEFT | TA_TOP);
        int y = position - static_cast<int>(lines.size()) * lineHeight / 2;
        for (const QString& line : lines) {
            const int width = canvas.MeasureTextWidth(line);
            // The left axis's labels end at the labels position, the right axis's start there.
            const int x = otherSide_ ? labelsPos_ : labelsPos_ - width;
            canvas.TextAtDepth(x, y, 0, line);
            y += lineHeight;
        }
    }
    canvas.SetTextAlignment(TA_LEFT | TA_TOP);
}

void TChartAxis::LineAlong(int from, int to, int across) {
    TChartCanvas3D& canvas = Canvas();
    if (horizontal_) {
        canvas.HLineAtDepth(from, to, across, 0);
    } else {
        canvas.VLineAtDepth(across, from, to, 0);
    }
}

void TChartAxis::LineAcross(int along, int from, int to, int z) {
    TChartCanvas3D& canvas = Canvas();
    if (horizontal_) {
        canvas.VLineAtDepth(along, from, to, z);
    } else {
        canvas.HLineAtDepth(from, to, along, z);
    }
}

void TChartAxis::DrawLineTicksGrid() {
    TChartCanvas3D& canvas = Canvas();
    const int wall = WallSize();
    // Ticks point away from the plot: down from the bottom axis, left from the left axis.
    const int out = horizontal_ ? (otherSide_ ? -1 : 1) : (otherSide_ ? 1 : -1);
    const int tickStart = axisLinePos_ + out * (1 + wall);

    if (axisPen_.Visible()) {
        canvas.ApplyChartPen(axisPen_);
        const TChartAxis& crossing = horizontal_ ? Chart().LeftAxis() : Chart().BottomAxis();
        LineAlong(axisStart_ - crossing.WallSize(), axisEnd_, axisLinePos_ + out * wall);
    }
    if (ticks_.Visible()) {
        canvas.ApplyChartPen(ticks_);
        for (int tick : tickPositions_) {
            LineAcross(tick, tickStart, tickStart + out * tickLength_, 0);
        }
    }
    if (grid_.Visible()) {
        std::vector<int> lines;
        if (gridCentered_) {
            for (size_t i = 1; i < tickPositions_.size(); ++i) {
                lines.push_back(Rnd((tickPositions_[i] + tickPositions_[i - 1]) * 0.5L));
            }
        } else {
            lines = tickPositions_;
        }
        DrawGridLines(grid_, lines);
    }
    if (ticksInner_.Visible() && tickInnerLength_ != 0) {
        canvas.ApplyChartPen(ticksInner_);
        const int innerStart = axisLinePos_ + out * (wall - 1);
        for (int tick : tickPositions_) {
            LineAcross(tick, innerStart, innerStart - out * tickInnerLength_, 0);
        }
    }
    if (tickPositions_.size() >= 2 && (minorTicks_.Visible() || minorGrid_.Visible())) {
        const std::vector<int> minor = MinorTickPositions();
        if (minorTicks_.Visible()) {
            canvas.ApplyChartPen(minorTicks_);
            for (int tick : minor) {
                LineAcross(tick, tickStart, tickStart + out * minorTickLength_, 0);
            }
        }
        if (minorGrid_.Visible()) {
            DrawGridLines(minorGrid_, minor);
        }
    }
}

void TChartAxis::DrawGridLines(const TChartPen& pen, const std::vector<int>& positions) {
    TChartCanvas3D& canvas = Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.BackMode = TBackMode::Transparent;
    canvas.ApplyChartPen(pen);
    if (canvas.Pen.Color == AutoColor) {
        canvas.Pen.Color = clGray;
    }
    const TRect& plot = Chart().PlotRect();
    const int depth = Chart().TotalDepth();
    const int from = horizontal_ ? plot.Top : plot.Left;
    const int to = horizontal_ ? plot.Bottom : plot.Right;
    for (int position : positions) {
        if (Chart().View3D()) {
            // The grid lies on the back plane, joined to the axis line by a depth line.
            if (horizontal_) {
                canvas.DepthLine(position, axisLinePos_, 0, depth);
            } else {
                canvas.DepthLine(axisLinePos_, position, 0, depth);
            }
            LineAcross(position, from, to, depth);
        } else {
            LineAcross(position, from, to, 0);
        }
    }
    canvas.BackMode = TBackMode::Opaque;
}

std::vector<int> TChartAxis::MinorTickPositions() const {
    std::vector<int> result;
    const std::vector<int>& t = tickPositions_;
    const int n = minorTickCount_;
    auto keep = [&](int position) {
        if (position > axisStart_ && position < axisEnd_) {
            result.push_back(position);
        }
    };
    const long double spacing = static_cast<long double>(t[1] - t[0]) / (n + 1);
    for (int j = 1; j <= n; ++j) {
        keep(t.front() - Rnd(j * spacing));
    }
    for (int j = 1; j <= n; ++j) {
        keep(t.back() + Rnd(j * spacing));
    }
    for (size_t i = 1; i < t.size(); ++i) {
        const long double gap = static_cast<long double>(t[i] - t[i - 1]) / (n + 1);
        for (int j = 1; j <= n; ++j) {
            keep(t[i] - Rnd(j * gap));
        }
    }
    return result;
}

}  // namespace zelmo::chart
