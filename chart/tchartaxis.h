// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/tchartcanvas.h"
#include "chart/tchartowner.h"
#include "chart/tchartpen.h"

#include <QString>

#include <vector>

namespace zelmo::chart {

class TChartSeries;

enum class TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

// The title of an axis: caption, angle and font.
class TChartAxisTitle : public TChartPart {
  public:
    explicit TChartAxisTitle(TChartOwner* chart) : TChartPart(chart) {}

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& v) { Change(caption_, v); }
    int Angle() const { return angle_; }
    // ChartException outside 0..360; the old angle stays.
    void SetAngle(int v);
    const TFontData& Font() const { return font_; }
    void SetFont(const TFontData& v) { Change(font_, v); }

  private:
    QString caption_;
    int angle_ = 0;
    TFontData font_ = DefaultChartFont();
};

// One axis of the chart: its configured fields, its value range and pixel extent of the current
// drawing pass, the value-to-pixel mapping and the drawing of its line, ticks, grid and labels.
// The chart creates five in a fixed order and drives them through the pass.
class TChartAxis : public TChartPart {
  public:
    TChartAxis(TChartOwner* chart, bool horizontal, bool otherSide, bool depth = false);
    ~TChartAxis() override = default;
    TChartAxis(const TChartAxis&) = delete;
    TChartAxis& operator=(const TChartAxis&) = delete;

    bool Horizontal() const { return horizontal_; }
    bool OtherSide() const { return otherSide_; }
    bool IsDepthAxis() const { return depth_; }

    // Configured fields.
    bool Automatic() const { return automatic_; }
    void SetAutomatic(bool v) { Change(automatic_, v); }
    bool AutomaticMaximum() const { return automaticMaximum_; }
    void SetAutomaticMaximum(bool v) { Change(automaticMaximum_, v); }
    bool AutomaticMinimum() const { return automaticMinimum_; }
    void SetAutomaticMinimum(bool v) { Change(automaticMinimum_, v); }
    double Maximum() const { return maximum_; }
    void SetMaximum(double v) { Change(maximum_, v); }
    double Minimum() const { return minimum_; }
    void SetMinimum(double v) { Change(minimum_, v); }
    double Increment() const { return increment_; }
    void SetIncrement(double v) { Change(increment_, v); }
    // Part of the axis' interface, kept for its owner: the mapping is always linear here.
    bool Logarithmic() const { return logarithmic_; }
    void SetLogarithmic(bool v) { Change(logarithmic_, v); }
    int LogarithmicBase() const { return logarithmicBase_; }
    void SetLogarithmicBase(int v) { Change(logarithmicBase_, v); }
    bool Inverted() const { return inverted_; }
    void SetInverted(bool v) { Change(inverted_, v); }
    TChartAxisPen& Axis() { return axisPen_; }
    const TChartAxisPen& Axis() const { return axisPen_; }
    TDarkGrayPen& Ticks() { return ticks_; }
    const TDarkGrayPen& Ticks() const { return ticks_; }
    TDarkGrayPen& MinorTicks() { return minorTicks_; }
    const TDarkGrayPen& MinorTicks() const { return minorTicks_; }
    TDarkGrayPen& TicksInner() { return ticksInner_; }
    const TDarkGrayPen& TicksInner() const { return ticksInner_; }
    int TickLength() const { return tickLength_; }
    void SetTickLength(int v) { Change(tickLength_, v); }
    int MinorTickLength() const { return minorTickLength_; }
    void SetMinorTickLength(int v) { Change(minorTickLength_, v); }
    int MinorTickCount() const { return minorTickCount_; }
    void SetMinorTickCount(int v) { Change(minorTickCount_, v); }
    int TickInnerLength() const { return tickInnerLength_; }
    void SetTickInnerLength(int v) { Change(tickInnerLength_, v); }
    bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
    void SetTickOnLabelsOnly(bool v) { Change(tickOnLabelsOnly_, v); }
    TDottedGrayPen& Grid() { return grid_; }
    const TDottedGrayPen& Grid() const { return grid_; }
    bool GridCentered() const { return gridCentered_; }
    void SetGridCentered(bool v) { Change(gridCentered_, v); }
    TChartHiddenPen& MinorGrid() { return minorGrid_; }
    const TChartHiddenPen& MinorGrid() const { return minorGrid_; }
    bool Labels() const { return labels_; }
    void SetLabels(bool v) { Change(labels_, v); }
    // LabelsOnAxis and LabelsMultiLine belong to the axis' interface and are kept for its
    // owner; labels are drawn on one line wherever they fall.
    bool LabelsOnAxis() const { return labelsOnAxis_; }
    void SetLabelsOnAxis(bool v) { Change(labelsOnAxis_, v); }
    bool LabelsMultiLine() const { return labelsMultiLine_; }
    void SetLabelsMultiLine(bool v) { Change(labelsMultiLine_, v); }
    const TFontData& LabelsFont() const { return labelsFont_; }
    void SetLabelsFont(const TFontData& v) { Change(labelsFont_, v); }
    int LabelsAngle() const { return labelsAngle_; }
    void SetLabelsAngle(int v) { Change(labelsAngle_, v); }
    int LabelsSize() const { return labelsSize_; }
    void SetLabelsSize(int v) { Change(labelsSize_, v); }
    int LabelsSeparation() const { return labelsSeparation_; }
    // AxisException below 0; 0 turns the label overlap rule off.
    void SetLabelsSeparation(int v);
    TAxisLabelStyle LabelStyle() const { return labelStyle_; }
    void SetLabelStyle(TAxisLabelStyle v) { Change(labelStyle_, v); }
    const QString& AxisValuesFormat() const { return axisValuesFormat_; }
    void SetAxisValuesFormat(const QString& v) { Change(axisValuesFormat_, v); }
    // DateTimeFormat, ExactDateTime and RoundFirstLabel belong to the axis' interface and are
    // kept for its owner; date-time labels and rounded first labels are not drawn here.
    const QString& DateTimeFormat() const { return dateTimeFormat_; }
    void SetDateTimeFormat(const QString& v) { Change(dateTimeFormat_, v); }
    bool ExactDateTime() const { return exactDateTime_; }
    void SetExactDateTime(bool v) { Change(exactDateTime_, v); }
    bool RoundFirstLabel() const { return roundFirstLabel_; }
    void SetRoundFirstLabel(bool v) { Change(roundFirstLabel_, v); }
    TChartAxisTitle& Title() { return title_; }
    const TChartAxisTitle& Title() const { return title_; }
    int TitleSize() const { return titleSize_; }
    void SetTitleSize(int v) { Change(titleSize_, v); }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Change(visible_, v); }
    double StartPosition() const { return startPosition_; }
    void SetStartPosition(double v) { Change(startPosition_, v); }
    double EndPosition() const { return endPosition_; }
    void SetEndPosition(double v) { Change(endPosition_, v); }
    double PositionPercent() const { return positionPercent_; }
    void SetPositionPercent(double v) { Change(positionPercent_, v); }

    // State of the current drawing pass.
    double ScaleMin() const { return scaleMin_; }
    double ScaleMax() const { return scaleMax_; }
    double ScaleRange() const { return scaleRange_; }
    int AxisStart() const { return axisStart_; }
    int AxisEnd() const { return axisEnd_; }
    int AxisLength() const { return axisEnd_ - axisStart_; }
    int AxisCenter() const { return (axisStart_ + axisEnd_) / 2; }
    int AxisLinePos() const { return axisLinePos_; }
    int LabelsPos() const { return labelsPos_; }
    int TitlePos() const { return titlePos_; }
    double IncrementOfPass() const { return passIncrement_; }
    const std::vector<int>& TickPositions() const { return tickPositions_; }

    // Steps of the drawing pass, in the order the chart calls them.
    bool IsVisible() const;
    void CalcMinMax();
    void CalcSpace(TRect& rect);
    void CalcPixelExtent();
    void AdjustMaxMinRect();
    void Draw();

    int ValueToPixel(double value) const;
    double PixelToValue(int pixel) const;
    double CalcIncrement();
    // The wall thickness that lies under this axis in 3D with walls shown (0 otherwise).
    int WallSize() const;

  private:
    TChartSeries* LeadSeries() const;
    void DataMinMax(double& min, double& max) const;
    void Widen(int nearMargin, int farMargin);
    void ReduceSide(TRect& rect, int amount, int& recorded) const;
    // The PositionPercent move of the line and the labels towards the inside of the plot.
    int PositionShift() const;
    int LabelsSpace();
    int LabelSize(const QString& text);
    int MaxLabelSize();
    // The last label drawn in this pass, which the next one must keep clear of.
    struct TPriorLabel {
        bool Drawn = false;
        int Position = 0;
        int Half = 0;
    };
    void DrawTextLabels(TPriorLabel& prior);
    void DrawValueLabels(TPriorLabel& prior);
    void LabelCandidate(int position, const QString& text, TPriorLabel& prior);
    void DrawLabel(int position, const QString& text);
    void DrawLineTicksGrid();
    void DrawGridLines(const TChartPen& pen, const std::vector<int>& positions);
    std::vector<int> MinorTickPositions() const;
    void LineAlong(int from, int to, int across);
    void LineAcross(int along, int from, int to, int z);
    void AddTick(int position);

    bool horizontal_;
    bool otherSide_;
    bool depth_;

    bool automatic_ = true;
    bool automaticMaximum_ = true;
    bool automaticMinimum_ = true;
    double maximum_ = 0;
    double minimum_ = 0;
    double increment_ = 0;
    bool logarithmic_ = false;
    int logarithmicBase_ = 10;
    bool inverted_ = false;
    TChartAxisPen axisPen_;
    TDarkGrayPen ticks_;
    TDarkGrayPen minorTicks_;
    TDarkGrayPen ticksInner_;
    int tickLength_ = 4;
    int minorTickLength_ = 2;
    int minorTickCount_ = 3;
    int tickInnerLength_ = 0;
    bool tickOnLabelsOnly_ = true;
    TDottedGrayPen grid_;
    bool gridCentered_ = false;
    TChartHiddenPen minorGrid_;
    bool labels_ = true;
    bool labelsOnAxis_ = true;
    bool labelsMultiLine_ = false;
    TFontData labelsFont_ = DefaultChartFont();
    int labelsAngle_ = 0;
    int labelsSize_ = 0;
    int labelsSeparation_ = 10;
    TAxisLabelStyle labelStyle_ = TAxisLabelStyle::talAuto;
    QString axisValuesFormat_;
    QString dateTimeFormat_;
    bool exactDateTime_ = true;
    bool roundFirstLabel_ = true;
    TChartAxisTitle title_{ParentChart()};
    int titleSize_ = 0;
    bool visible_ = true;
    double startPosition_ = 0;
    double endPosition_ = 100;
    double positionPercent_ = 0;

    double scaleMin_ = 0;
    double scaleMax_ = 0;
    double scaleRange_ = 0;
    int axisStart_ = 0;
    int axisEnd_ = 0;
    int axisLinePos_ = 0;
    int labelsPos_ = 0;
    int titlePos_ = 0;
    double passIncrement_ = 0;
    std::vector<int> tickPositions_;
};

// The depth axis: hidden by default, shown only in 3D.
class TChartDepthAxis : public TChartAxis {
  public:
    explicit TChartDepthAxis(TChartOwner* chart) : TChartAxis(chart, false, true, true) {}
};

}  // namespace zelmo::chart
