// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/chartproperty.h"

#include <QString>

#include <vector>

namespace zelmo::chart {

enum class TChartListOrder { loNone, loAscending, loDescending };

// One list of point values of a series (X or Y), with lazily cached statistics. Every value read
// through the list is the stored value times Multiplier. A changed setting asks its owner (the
// series) for a redraw.
class TChartValueList {
  public:
    TChartValueList(TChartElement* owner, const QString& name);

    int Count() const { return static_cast<int>(values_.size()); }
    // The stored value times Multiplier; the index must be valid.
    double Value(int index) const { return values_[static_cast<size_t>(index)] * multiplier_; }
    // Stores v unchanged (no division by Multiplier).
    void SetValue(int index, double v);
    // Places v by Order and returns its index.
    int AddByOrder(double v);
    void Insert(int index, double v);

    double MaxValue() const;
    double MinValue() const;
    double Total() const;
    double TotalABS() const;
    bool StatsDirty() const { return statsDirty_; }

    // Part of the list's interface, kept for its owner: values are never shown as dates here.
    bool DateTime() const { return dateTime_; }
    void SetDateTime(bool v);
    double Multiplier() const { return multiplier_; }
    void SetMultiplier(double v);
    const QString& Name() const { return name_; }
    void SetName(const QString& v) { name_ = v; }
    TChartListOrder Order() const { return order_; }
    void SetOrder(TChartListOrder v);
    const QString& ValueSource() const { return valueSource_; }
    void SetValueSource(const QString& v) { valueSource_ = v; }
    TChartElement* Owner() const { return owner_; }

  private:
    void RecalcStats() const;
    void Changed();

    bool dateTime_ = false;
    mutable double maxValue_ = 0;
    mutable double minValue_ = 0;
    mutable double total_ = 0;
    mutable double totalAbs_ = 0;
    mutable bool statsDirty_ = true;
    double multiplier_ = 1.0;
    QString name_;
    TChartListOrder order_ = TChartListOrder::loNone;
    QString valueSource_;
    TChartElement* owner_;
    std::vector<double> values_;
};

}  // namespace zelmo::chart
