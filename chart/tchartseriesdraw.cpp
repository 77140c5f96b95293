// SPDX-License-Identifier: GPL-3.0-or-later
// A series on its axes during a drawing pass: the axes it belongs to, the points inside the
// plot, the pixels of its values, and its points and marks drawn in order.
#include "chart/chartmath.h"
#include "chart/numberformat.h"
#include "chart/tcanvas3d.h"
#include "chart/tchartaxis.h"
#include "chart/tchartseries.h"
#include "chart/tseriesmarks.h"
#include "chart/tview3doptions.h"

#include <algorithm>
#include <cstdlib>

namespace zelmo::chart {

bool TChartSeries::AssociatedToAxis(const TChartAxis& axis) const {
    if (axis.IsDepthAxis()) {
        return false;
    }
    if (axis.Horizontal()) {
        return horizAxis_ == THorizAxis::aBothHorizAxis || horizAxisObject_ == &axis;
    }
    return vertAxis_ == TVertAxis::aBothVertAxis || vertAxisObject_ == &axis;
}

void TChartSeries::CalcFirstLastVisibleIndex() {
    firstVisible_ = -1;
    lastVisible_ = -1;
    const int count = Count();
    if (count == 0) {
        return;
    }
    if (xValues_.Order() == TChartListOrder::loNone || horizAxisObject_ == nullptr ||
        ParentChart() == nullptr) {
        firstVisible_ = 0;
        lastVisible_ = count - 1;
        return;
    }
    const TChartAxis& axis = *horizAxisObject_;
    const TRect& plot = Chart().PlotRect();
    const double low = axis.PixelToValue(axis.Inverted() ? plot.Right : plot.Left);
    const double high = axis.PixelToValue(axis.Inverted() ? plot.Left : plot.Right);
    for (int i = 0; i < count; ++i) {
        if (xValues_.Value(i) >= low) {
            firstVisible_ = i;
            break;
        }
    }
    if (firstVisible_ < 0) {
        return;
    }
    if (xValues_.Value(count - 1) > high) {
        int last = count - 1;
        for (int i = firstVisible_; i < count; ++i) {
            if (xValues_.Value(i) >= high) {
                last = i;
                break;
            }
        }
        if (xValues_.Value(last) > high) {
            --last;
        }
        lastVisible_ = last;
    } else {
        lastVisible_ = count - 1;
    }
}

int TChartSeries::XToPixel(double x) const {
    return horizAxisObject_->ValueToPixel(x);
}

int TChartSeries::YToPixel(double y) const {
    return vertAxisObject_->ValueToPixel(y);
}

int TChartSeries::CalcXPos(int valueIndex) const {
    return XToPixel(xValues_.Value(valueIndex));
}

int TChartSeries::CalcYPos(int valueIndex) const {
    return YToPixel(yValues_.Value(valueIndex));
}

bool TChartSeries::DrawValuesForward() const {
    return horizAxisObject_ == nullptr || !horizAxisObject_->Inverted();
}

void TChartSeries::DrawAllPoints() {
    if (DrawValuesForward()) {
        for (int i = firstVisible_; i <= lastVisible_; ++i) {
            DrawPoint(i);
        }
    } else {
        for (int i = lastVisible_; i >= firstVisible_; --i) {
            DrawPoint(i);
        }
    }
}

void TChartSeries::DrawPoint(int /*valueIndex*/) {}

QString TChartSeries::MarkText(int valueIndex) const {
    const double value = MarkValue(valueIndex);
    const QString valueText = FormatFloat(valueFormat_, value);
    auto percentText = [&] {
        const double total = yValues_.TotalABS();
        return FormatFloat(percentFormat_, total != 0 ? 100.0 * value / total : 0.0);
    };
    QString text;
    switch (marks_->Style()) {
        case TSeriesMarksStyle::smsValue:
            text = valueText;
            break;
        case TSeriesMarksStyle::smsPercent:
            text = percentText();
            break;
        case TSeriesMarksStyle::smsLabel:
        case TSeriesMarksStyle::smsLegend:
            text = PointLabel(valueIndex);
            if (text.isEmpty()) {
                text = valueText;
            }
            break;
        case TSeriesMarksStyle::smsLabelPercent:
            text = PointLabel(valueIndex) + QLatin1Char(' ') + percentText();
            break;
        case TSeriesMarksStyle::smsLabelValue:
            text = PointLabel(valueIndex) + QLatin1Char(' ') + valueText;
            break;
        case TSeriesMarksStyle::smsPercentTotal:
            text = percentText() + QStringLiteral(" of ") +
                   FormatFloat(valueFormat_, yValues_.TotalABS());
            break;
        case TSeriesMarksStyle::smsLabelPercentTotal:
            text = PointLabel(valueIndex) + QLatin1Char(' ') + percentText() +
                   QStringLiteral(" of ") + FormatFloat(valueFormat_, yValues_.TotalABS());
            break;
        case TSeriesMarksStyle::smsXValue:
            text = FormatFloat(valueFormat_, xValues_.Value(valueIndex));
            break;
    }
    if (OnGetMarkText) {
        OnGetMarkText(const_cast<TChartSeries&>(*this), valueIndex, text);
    }
    return text;
}

void TChartSeries::DrawAllMarks() {
    TChartOwner& chart = Chart();
    TChartCanvas3D& canvas = Canvas();
    TSeriesMarks& marks = *marks_;
    // One record serves every mark of the pass.
    TSeriesMarkPosition position;
    for (int i = firstVisible_; i <= lastVisible_; ++i) {
        if (PointColor(i) == clNone || !HasFiniteValues(i)) {
            continue;
        }
        const QString text = MarkText(i);
        if (text.isEmpty()) {
            continue;
        }
        TFontData font = marks.Font();
        const int zoom = chart.View3DOptions().Zoom();
        if (chart.View3D() && chart.View3DOptions().ZoomText() && zoom != 100) {
            const int size = std::max(1, Rnd(std::abs(font.Height) * zoom / 100.0L));
            font.Height = font.Height < 0 ? -size : size;
        }
        canvas.Font = font;
        int lines = 1;
        const int widest = canvas.WidestLineWidth(text, lines);
        position.BoxWidth = widest + canvas.MeasureTextWidth(QStringLiteral("W"));
        position.BoxHeight = lines * canvas.FontHeight();
        canvas.ApplyChartPen(marks.Frame());
        if (marks.Frame().Visible()) {
            position.BoxWidth += 2 * marks.Frame().Width();
            position.BoxHeight += 2 * marks.Frame().Width();
        }
        position.ArrowEnd = {CalcXPos(i), CalcYPos(i)};
        position.ArrowStart = position.ArrowEnd;
        position.BoxLeftTop = {position.ArrowEnd.X - position.BoxWidth / 2,
                               position.ArrowEnd.Y - position.BoxHeight + 1};
        PlaceMark(i, text, position);
    }
}

void TChartSeries::PlaceMark(int valueIndex, const QString& text, TSeriesMarkPosition& position) {
    // A plain series holds its mark straight above the point.
    const int length = marks_->ArrowLength();
    position.BoxLeftTop.Y -= length;
    position.ArrowEnd.Y -= length;
    marks_->PaintMark(valueIndex, PointColor(valueIndex), text, position);
}

}  // namespace zelmo::chart
