// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/tchartcanvas.h"
#include "chart/tchartowner.h"
#include "chart/tchartpen.h"

#include <QStringList>

namespace zelmo::chart {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// The chart's title or foot: lines of text over (or under) the plot, with an optional frame and
// brush. Drawing it takes its lines' room from the plot rectangle.
class TChartTitle : public TChartPart {
  public:
    TChartTitle(TChartOwner* chart, bool foot);

    const QStringList& Text() const { return text_; }
    void SetText(const QStringList& v) { Change(text_, v); }
    // Lines separated by line breaks.
    void SetText(const QString& v);
    const TFontData& Font() const { return font_; }
    void SetFont(const TFontData& v) { Change(font_, v); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v) { Change(alignment_, v); }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Change(visible_, v); }
    bool AdjustFrame() const { return adjustFrame_; }
    void SetAdjustFrame(bool v) { Change(adjustFrame_, v); }
    TChartHiddenPen& Frame() { return frame_; }
    const TChartHiddenPen& Frame() const { return frame_; }
    TChartBrush& Brush() { return brush_; }
    const TChartBrush& Brush() const { return brush_; }
    TColor Color() const { return color_; }
    void SetColor(TColor v) { Change(color_, v); }

    // Draws the lines and moves the plot rectangle's top (title) or bottom (foot) past them.
    void Draw();

  private:
    void SelectBrush();

    bool foot_;
    QStringList text_;
    TFontData font_;
    TAlignment alignment_ = TAlignment::taCenter;
    bool visible_ = true;
    bool adjustFrame_ = true;
    TChartHiddenPen frame_;
    TChartBrush brush_;
    TColor color_ = AutoColor;
};

}  // namespace zelmo::chart
