// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tchartvaluelist.h"

#include <cmath>

namespace zelmo::chart {

TChartValueList::TChartValueList(TChartElement* owner, const QString& name)
    : name_(name), owner_(owner) {}

void TChartValueList::SetValue(int index, double v) {
    values_[static_cast<size_t>(index)] = v;
    statsDirty_ = true;
}

int TChartValueList::AddByOrder(double v) {
    int index = Count();
    if (order_ != TChartListOrder::loNone && !values_.empty()) {
        // Walk back from the end to the last value that may stay before v.
        const bool ascending = order_ == TChartListOrder::loAscending;
        auto staysBefore = [&](double stored) { return ascending ? stored <= v : stored >= v; };
        while (index > 0 && !staysBefore(values_[static_cast<size_t>(index - 1)])) {
            --index;
        }
    }
    Insert(index, v);
    return index;
}

void TChartValueList::Insert(int index, double v) {
    values_.insert(values_.begin() + index, v);
    statsDirty_ = true;
}

void TChartValueList::RecalcStats() const {
    if (!statsDirty_) {
        return;
    }
    maxValue_ = minValue_ = total_ = totalAbs_ = 0;
    if (!values_.empty()) {
        const double first = Value(0);
        maxValue_ = minValue_ = total_ = first;
        totalAbs_ = std::fabs(first);
        for (int i = 1; i < Count(); ++i) {
            const double v = Value(i);
            if (v < minValue_) {
                minValue_ = v;
            } else if (v > maxValue_) {
                maxValue_ = v;
            }
            total_ += v;
            totalAbs_ += std::fabs(v);
        }
    }
    statsDirty_ = false;
}

double TChartValueList::MaxValue() const {
    RecalcStats();
    return maxValue_;
}

double TChartValueList::MinValue() const {
    RecalcStats();
    return minValue_;
}

double TChartValueList::Total() const {
    RecalcStats();
    return total_;
}

double TChartValueList::TotalABS() const {
    RecalcStats();
    return totalAbs_;
}

void TChartValueList::Changed() {
    statsDirty_ = true;
    if (owner_ != nullptr) {
        owner_->RequestRedraw();
    }
}

void TChartValueList::SetDateTime(bool v) {
    if (SetIfChanged(dateTime_, v)) {
        Changed();
    }
}

void TChartValueList::SetMultiplier(double v) {
    if (SetIfChanged(multiplier_, v)) {
        Changed();
    }
}

void TChartValueList::SetOrder(TChartListOrder v) {
    if (SetIfChanged(order_, v)) {
        Changed();
    }
}

}  // namespace zelmo::chart
