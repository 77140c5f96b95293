// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/tchartcanvas.h"
#include "chart/tchartowner.h"
#include "chart/tchartpen.h"

#include <QString>

#include <optional>
#include <vector>

namespace zelmo::chart {

enum class TSeriesMarksStyle {
    smsValue,
    smsPercent,
    smsLabel,
    smsLabelPercent,
    smsLabelValue,
    smsLegend,
    smsPercentTotal,
    smsLabelPercentTotal,
    smsXValue
};

// The geometry of one mark in screen pixels: the arrow from the point to the box, and the box.
struct TSeriesMarkPosition {
    TPoint ArrowStart;
    TPoint ArrowEnd;
    bool UserPlaced = false;
    int BoxHeight = 0;
    TPoint BoxLeftTop;
    int BoxWidth = 0;

    // Copies every field except UserPlaced.
    void Assign(const TSeriesMarkPosition& other);
    TRect Bounds() const {
        return {BoxLeftTop.X, BoxLeftTop.Y, BoxLeftTop.X + BoxWidth, BoxLeftTop.Y + BoxHeight};
    }
};

// The value marks of a series: a framed label per point held above it by an arrow. Owned by its
// series, which places each mark and attaches the marks to its chart; the marks paint arrow,
// box and text and remember the last geometry of every point.
class TSeriesMarks : public TChartPart {
  public:
    TSeriesMarks();
    // Called by the series when it is attached to a chart or detached.
    void SetParentChart(TChartOwner* chart) { SetChart(chart); }

    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Change(visible_, v); }
    TSeriesMarksStyle Style() const { return style_; }
    void SetStyle(TSeriesMarksStyle v) { Change(style_, v); }
    int ArrowLength() const { return arrowLength_; }
    void SetArrowLength(int v) { Change(arrowLength_, v); }
    TChartArrowPen& Arrow() { return arrow_; }
    const TChartArrowPen& Arrow() const { return arrow_; }
    TChartPen& Frame() { return frame_; }
    const TChartPen& Frame() const { return frame_; }
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor v) { Change(backColor_, v); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { Change(transparent_, v); }
    bool Clip() const { return clip_; }
    void SetClip(bool v) { Change(clip_, v); }
    const TFontData& Font() const { return font_; }
    void SetFont(const TFontData& v) { Change(font_, v); }

    // The depth of the marks in the current pass (the series' centre depth).
    int ZPosition() const { return zPosition_; }
    void SetZPosition(int z) { zPosition_ = z; }
    // Stored geometry per point index (empty until the point's mark is first painted).
    const std::vector<std::optional<TSeriesMarkPosition>>& Positions() const { return positions_; }
    // Marks a point's mark as placed by the user: its stored geometry is drawn as it is.
    void SetUserPosition(int valueIndex, const TSeriesMarkPosition& position);

    // The room a mark takes above its point: a line of fontHeight, the arrow and the frame.
    int MarginHeight(int fontHeight) const;
    void PaintMark(int valueIndex, TColor pointColor, const QString& text,
                   TSeriesMarkPosition& position);

  private:
    TSeriesMarkPosition& StoredPosition(int valueIndex);

    bool visible_ = false;
    TSeriesMarksStyle style_ = TSeriesMarksStyle::smsLabel;
    int arrowLength_ = 8;
    TChartArrowPen arrow_;
    TChartPen frame_;
    TColor backColor_ = 0x0080FFFFu;
    bool transparent_ = false;
    bool clip_ = false;
    TFontData font_;
    int zPosition_ = 0;
    std::vector<std::optional<TSeriesMarkPosition>> positions_;
};

}  // namespace zelmo::chart
