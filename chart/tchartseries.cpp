// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tchartseries.h"

#include "chart/chartexceptions.h"
#include "chart/chartproperty.h"
#include "chart/numberformat.h"
#include "chart/tchartaxis.h"
#include "chart/tcustomaxispanel.h"
#include "chart/tseriesmarks.h"

#include <algorithm>
#include <cmath>

namespace zelmo::chart {

TChartSeries::TChartSeries()
    : xValues_(this, QStringLiteral("X")),
      yValues_(this, QStringLiteral("Y")),
      valueFormat_(QString::fromUtf8(texts::kDefaultValueFormat)),
      percentFormat_(QString::fromUtf8(texts::kDefaultPercentFormat)),
      marks_(std::make_unique<TSeriesMarks>(this)) {
    xValues_.SetOrder(TChartListOrder::loAscending);
}

TChartSeries::~TChartSeries() = default;

int TChartSeries::Add(double value, const QString& label, TColor color) {
    return AddXY(static_cast<double>(Count()), value, label, color);
}

int TChartSeries::AddXY(double x, double y, const QString& label, TColor color) {
    if (OnBeforeAdd && !OnBeforeAdd(*this)) {
        return -1;
    }
    const int index = xValues_.AddByOrder(x);
    yValues_.Insert(index, y);
    colors_.insert(colors_.begin() + index, color);
    // An empty label is stored as no label; a label ends at its first NUL character.
    std::optional<QString> stored;
    const QString text = label.section(QChar(0), 0, 0);
    if (!text.isEmpty()) {
        stored = text;
    }
    labels_.insert(labels_.begin() + index, stored);
    if (OnAfterAdd) {
        OnAfterAdd(*this);
    }
    if (active_) {
        Repaint();
    }
    return index;
}

void TChartSeries::CheckIndex(int index) const {
    if (index < 0 || index >= yValues_.Count()) {
        throw EListError(FormatMessage(texts::kListIndexOutOfBounds, index));
    }
}

double TChartSeries::GetYValue(int index) const {
    CheckIndex(index);
    return yValues_.Value(index);
}

void TChartSeries::SetYValue(int index, double value) {
    CheckIndex(index);
    yValues_.SetValue(index, value);
    Repaint();
}

QString TChartSeries::PointLabel(int index) const {
    if (index < 0 || index >= LabelCount() || !labels_[static_cast<size_t>(index)]) {
        return QString();
    }
    return *labels_[static_cast<size_t>(index)];
}

bool TChartSeries::HasLabels() const {
    return std::any_of(labels_.begin(), labels_.end(), [](const auto& l) { return l.has_value(); });
}

TColor TChartSeries::PointColor(int index) const {
    if (index < 0 || index >= static_cast<int>(colors_.size())) {
        return seriesColor_;
    }
    const TColor stored = colors_[static_cast<size_t>(index)];
    // The per-point palette of ColorEachPoint is not offered: such points take the series
    // colour as well.
    return stored == AutoColor ? seriesColor_ : stored;
}

void TChartSeries::SetSeriesColor(TColor v) {
    if (SetIfChanged(seriesColor_, v)) {
        Repaint();
    }
}

void TChartSeries::SetColorEachPoint(bool v) {
    if (SetIfChanged(colorEachPoint_, v)) {
        Repaint();
    }
}

void TChartSeries::SetActive(bool v) {
    if (SetIfChanged(active_, v)) {
        Repaint();
    }
}

void TChartSeries::SetValueFormat(const QString& v) {
    if (SetIfChanged(valueFormat_, v)) {
        Repaint();
    }
}

void TChartSeries::SetPercentFormat(const QString& v) {
    if (SetIfChanged(percentFormat_, v)) {
        Repaint();
    }
}

void TChartSeries::SetShowInLegend(bool v) {
    if (SetIfChanged(showInLegend_, v)) {
        Repaint();
    }
}

void TChartSeries::SetHorizAxis(THorizAxis v) {
    if (SetIfChanged(horizAxis_, v)) {
        ConnectAxes();
        Repaint();
    }
}

void TChartSeries::SetVertAxis(TVertAxis v) {
    if (SetIfChanged(vertAxis_, v)) {
        ConnectAxes();
        Repaint();
    }
}

void TChartSeries::SetZOrder(int v) {
    if (SetIfChanged(zOrder_, v)) {
        Repaint();
    }
}

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
    parentChart_ = chart;
    ConnectAxes();
}

void TChartSeries::ConnectAxes() {
    if (parentChart_ == nullptr) {
        horizAxisObject_ = nullptr;
        vertAxisObject_ = nullptr;
        return;
    }
    horizAxisObject_ =
        horizAxis_ == THorizAxis::aTopAxis ? &parentChart_->TopAxis() : &parentChart_->BottomAxis();
    vertAxisObject_ =
        vertAxis_ == TVertAxis::aRightAxis ? &parentChart_->RightAxis() : &parentChart_->LeftAxis();
}

bool TChartSeries::AssociatedToAxis(const TChartAxis& axis) const {
    if (axis.IsDepthAxis()) {
        return false;
    }
    if (axis.Horizontal()) {
        return horizAxis_ == THorizAxis::aBothHorizAxis || horizAxisObject_ == &axis;
    }
    return vertAxis_ == TVertAxis::aBothVertAxis || vertAxisObject_ == &axis;
}

void TChartSeries::Repaint() {
    if (parentChart_ != nullptr) {
        parentChart_->RequestRedraw();
    }
}

void TChartSeries::SetDepthPlacement(int seriesDepth) {
    frontZ_ = seriesDepth * zIndex_;
    backZ_ = frontZ_ + seriesDepth;
    centerZ_ = (frontZ_ + backZ_) / 2;
    marks_->SetZPosition(centerZ_);
}

void TChartSeries::CalcFirstLastVisibleIndex() {
    firstVisible_ = -1;
    lastVisible_ = -1;
    const int count = Count();
    if (count == 0) {
        return;
    }
    if (xValues_.Order() == TChartListOrder::loNone || horizAxisObject_ == nullptr ||
        parentChart_ == nullptr) {
        firstVisible_ = 0;
        lastVisible_ = count - 1;
        return;
    }
    const TChartAxis& axis = *horizAxisObject_;
    const TRect& plot = parentChart_->PlotRect();
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

bool TChartSeries::HasFiniteValues(int valueIndex) const {
    return std::isfinite(xValues_.Value(valueIndex)) && std::isfinite(yValues_.Value(valueIndex));
}

int TChartSeries::YToPixel(double y) const {
    return vertAxisObject_->ValueToPixel(y);
}

TChartCanvas3D& TChartSeries::Canvas() const {
    return parentChart_->Canvas();
}

void TChartSeries::CalcHorizMargins(int& left, int& right) {
    left = right = 0;
}

void TChartSeries::CalcVerticalMargins(int& top, int& bottom) {
    top = bottom = 0;
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

int TChartSeries::CalcXPos(int valueIndex) const {
    return XToPixel(xValues_.Value(valueIndex));
}

int TChartSeries::CalcYPos(int valueIndex) const {
    return YToPixel(yValues_.Value(valueIndex));
}

}  // namespace zelmo::chart
