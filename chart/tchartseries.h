// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/tchartowner.h"
#include "chart/tchartvaluelist.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zelmo::chart {

class TChartAxis;
class TSeriesMarks;
struct TSeriesMarkPosition;

enum class THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis };
enum class TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis };

// A data series of the chart: the X and Y value lists, the point colours and labels, the marks
// and the draw hooks. Derived classes draw the points; the chart drives them through the drawing
// pass and owns every attached series.
class TChartSeries : public TChartPart {
  public:
    using TSeriesNotify = std::function<void(TChartSeries&)>;
    using TSeriesBeforeAdd = std::function<bool(TChartSeries&)>;

    TChartSeries();
    ~TChartSeries() override;
    TChartSeries(const TChartSeries&) = delete;
    TChartSeries& operator=(const TChartSeries&) = delete;

    // Adds a point with X = Count; returns its index, or -1 when OnBeforeAdd refuses it.
    int Add(double value, const QString& label = QString(), TColor color = AutoColor);
    int AddXY(double x, double y, const QString& label = QString(), TColor color = AutoColor);
    double GetYValue(int index) const;
    // Stores the value and requests a redraw; EListError for an index out of range.
    void SetYValue(int index, double value);
    int Count() const { return xValues_.Count(); }

    TChartValueList& XValues() { return xValues_; }
    const TChartValueList& XValues() const { return xValues_; }
    TChartValueList& YValues() { return yValues_; }
    const TChartValueList& YValues() const { return yValues_; }

    QString PointLabel(int index) const;
    int LabelCount() const { return static_cast<int>(labels_.size()); }
    bool HasLabels() const;

    TColor SeriesColor() const { return seriesColor_; }
    void SetSeriesColor(TColor v) { Change(seriesColor_, v); }
    // Part of the series' interface, kept for its owner: every point takes the series colour.
    bool ColorEachPoint() const { return colorEachPoint_; }
    void SetColorEachPoint(bool v) { Change(colorEachPoint_, v); }
    bool Active() const { return active_; }
    void SetActive(bool v) { Change(active_, v); }
    const QString& ValueFormat() const { return valueFormat_; }
    void SetValueFormat(const QString& v) { Change(valueFormat_, v); }
    const QString& PercentFormat() const { return percentFormat_; }
    void SetPercentFormat(const QString& v) { Change(percentFormat_, v); }
    // Part of the series' interface, kept for its owner: the chart draws no legend.
    bool ShowInLegend() const { return showInLegend_; }
    void SetShowInLegend(bool v) { Change(showInLegend_, v); }
    TSeriesMarks& Marks() { return *marks_; }
    const TSeriesMarks& Marks() const { return *marks_; }

    THorizAxis HorizAxis() const { return horizAxis_; }
    void SetHorizAxis(THorizAxis v);
    TVertAxis VertAxis() const { return vertAxis_; }
    void SetVertAxis(TVertAxis v);
    TChartAxis* GetHorizAxis() const { return horizAxisObject_; }
    TChartAxis* GetVertAxis() const { return vertAxisObject_; }
    bool AssociatedToAxis(const TChartAxis& axis) const;

    // Called by the chart when the series is attached or detached.
    void SetParentChart(TChartOwner* chart);

    // Depth: an explicit slot (-1 for none), the slot in use, and the placement of a pass.
    int ZOrder() const { return zOrder_; }
    void SetZOrder(int v) { Change(zOrder_, v); }
    int SlotInUse() const { return slot_; }
    void SetSlotInUse(int v) { slot_ = v; }
    int ZIndex() const { return zIndex_; }
    void SetZIndex(int v) { zIndex_ = v; }
    int FrontZ() const { return frontZ_; }
    int CenterZ() const { return centerZ_; }
    int BackZ() const { return backZ_; }
    void SetDepthPlacement(int seriesDepth);

    int FirstVisible() const { return firstVisible_; }
    int LastVisible() const { return lastVisible_; }
    // The points inside the plot's horizontal extent (every point of an unordered series).
    void CalcFirstLastVisibleIndex();

    // Pixel of a value on the series' horizontal or vertical axis.
    int XToPixel(double x) const;
    int YToPixel(double y) const;
    // False for a point with an infinite or NaN value: it has no place on an axis, so neither
    // its bar nor its mark is drawn, like a point without colour.
    bool HasFiniteValues(int valueIndex) const;

    // Value range of the series on each dimension (the axes ask for them).
    virtual double MinXValue() const { return xValues_.MinValue(); }
    virtual double MaxXValue() const { return xValues_.MaxValue(); }
    virtual double MinYValue() const { return yValues_.MinValue(); }
    virtual double MaxYValue() const { return yValues_.MaxValue(); }
    // Pixels the series needs beyond its first and last value on its axes.
    virtual void CalcHorizMargins(int& left, int& right);
    virtual void CalcVerticalMargins(int& top, int& bottom);
    // A vertical series takes its X from a horizontal axis.
    virtual bool YMandatory() const { return true; }

    // Drawing, in the order of the pass.
    virtual void DrawAllPoints();
    virtual void PlaceMark(int valueIndex, const QString& text, TSeriesMarkPosition& position);
    virtual void DrawPoint(int valueIndex);
    virtual TColor PointColor(int index) const;
    virtual int CalcXPos(int valueIndex) const;
    virtual int CalcYPos(int valueIndex) const;
    virtual bool DrawValuesForward() const;

    double MarkValue(int valueIndex) const { return yValues_.Value(valueIndex); }
    QString MarkText(int valueIndex) const;
    void DrawAllMarks();

    TSeriesBeforeAdd OnBeforeAdd;
    TSeriesNotify OnAfterAdd;
    TSeriesNotify BeforeDrawValues;
    TSeriesNotify AfterDrawValues;
    std::function<void(TChartSeries&, int, QString&)> OnGetMarkText;

  protected:
    void ConnectAxes();

  private:
    void CheckIndex(int index) const;

    TChartValueList xValues_;
    TChartValueList yValues_;
    std::vector<TColor> colors_;
    std::vector<std::optional<QString>> labels_;
    TColor seriesColor_ = AutoColor;
    bool colorEachPoint_ = false;
    bool active_ = true;
    bool showInLegend_ = true;
    QString valueFormat_;
    QString percentFormat_;
    std::unique_ptr<TSeriesMarks> marks_;
    THorizAxis horizAxis_ = THorizAxis::aBottomAxis;
    TVertAxis vertAxis_ = TVertAxis::aLeftAxis;
    TChartAxis* horizAxisObject_ = nullptr;
    TChartAxis* vertAxisObject_ = nullptr;
    int zOrder_ = -1;
    int slot_ = 0;
    int zIndex_ = 0;
    int frontZ_ = 0;
    int centerZ_ = 0;
    int backZ_ = 0;
    int firstVisible_ = -1;
    int lastVisible_ = -1;
};

}  // namespace zelmo::chart
