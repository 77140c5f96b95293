// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tchartseries.h"

#include "chart/chartexceptions.h"
#include "chart/tseriesmarks.h"

#include <algorithm>
#include <cmath>

namespace zelmo::chart {

TChartSeries::TChartSeries()
    : TChartPart(nullptr),
      xValues_(this, QStringLiteral("X")),
      yValues_(this, QStringLiteral("Y")),
      valueFormat_(QString::fromUtf8(texts::kDefaultValueFormat)),
      percentFormat_(QString::fromUtf8(texts::kDefaultPercentFormat)),
      marks_(std::make_unique<TSeriesMarks>()) {
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
        RequestRedraw();
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
    RequestRedraw();
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

void TChartSeries::SetHorizAxis(THorizAxis v) {
    if (SetIfChanged(horizAxis_, v)) {
        ConnectAxes();
        RequestRedraw();
    }
}

void TChartSeries::SetVertAxis(TVertAxis v) {
    if (SetIfChanged(vertAxis_, v)) {
        ConnectAxes();
        RequestRedraw();
    }
}

void TChartSeries::SetParentChart(TChartOwner* chart) {
    SetChart(chart);
    marks_->SetParentChart(chart);
    ConnectAxes();
}

void TChartSeries::ConnectAxes() {
    TChartOwner* chart = ParentChart();
    if (chart == nullptr) {
        horizAxisObject_ = nullptr;
        vertAxisObject_ = nullptr;
        return;
    }
    horizAxisObject_ =
        horizAxis_ == THorizAxis::aTopAxis ? &chart->TopAxis() : &chart->BottomAxis();
    vertAxisObject_ = vertAxis_ == TVertAxis::aRightAxis ? &chart->RightAxis() : &chart->LeftAxis();
}

void TChartSeries::SetDepthPlacement(int seriesDepth) {
    frontZ_ = seriesDepth * zIndex_;
    backZ_ = frontZ_ + seriesDepth;
    centerZ_ = (frontZ_ + backZ_) / 2;
    marks_->SetZPosition(centerZ_);
}

bool TChartSeries::HasFiniteValues(int valueIndex) const {
    return std::isfinite(xValues_.Value(valueIndex)) && std::isfinite(yValues_.Value(valueIndex));
}

void TChartSeries::CalcHorizMargins(int& left, int& right) {
    left = right = 0;
}

void TChartSeries::CalcVerticalMargins(int& top, int& bottom) {
    top = bottom = 0;
}

}  // namespace zelmo::chart
