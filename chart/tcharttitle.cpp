// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tcharttitle.h"

#include "chart/tcanvas3d.h"

#include <algorithm>

namespace zelmo::chart {

namespace {

// The default title font: Arial 8 points in blue.
TFontData DefaultTitleFont() {
    TFontData font = DefaultChartFont();
    font.Color = clBlue;
    return font;
}

}  // namespace

TChartTitle::TChartTitle(TChartOwner* chart, bool foot)
    : TChartPart(chart), foot_(foot), font_(DefaultTitleFont()) {
    RedrawOnChange(frame_);
    RedrawOnChange(brush_);
}

void TChartTitle::SetText(const QString& v) {
    SetText(v.isEmpty() ? QStringList() : v.split(QChar(u'\n')));
}

void TChartTitle::SelectBrush() {
    TChartCanvas3D& canvas = Canvas();
    if (color_ == AutoColor) {
        if (brush_.Style() != TBrushStyle::bsSolid) {
            canvas.Brush = TBrushData{brush_.Color(), brush_.Style()};
            canvas.BackMode = TBackMode::Transparent;
        } else if (brush_.Color() == AutoColor) {
            canvas.Brush.Style = TBrushStyle::bsClear;
        } else {
            canvas.Brush = TBrushData{brush_.Color(), TBrushStyle::bsSolid};
        }
    } else if (brush_.Style() != TBrushStyle::bsSolid) {
        canvas.Brush = TBrushData{brush_.Color(), brush_.Style()};
        canvas.BackMode = TBackMode::Opaque;
        canvas.BackColor = ColorToRGB(color_);
    } else {
        canvas.Brush = TBrushData{color_, TBrushStyle::bsSolid};
    }
}

void TChartTitle::Draw() {
    if (!visible_) {
        return;
    }
    TChartCanvas3D& canvas = Canvas();
    const int frameWidth = frame_.Visible() && frame_.Color() != AutoColor ? frame_.Width() : 0;
    if (text_.isEmpty() && !frame_.Visible()) {
        return;
    }
    canvas.Font = font_;
    const int lineHeight = canvas.FontHeight();
    SelectBrush();

    const TRect plot = Chart().PlotRect();
    const int lines = static_cast<int>(text_.size());
    TRect r;
    r.Left = plot.Left + frameWidth;
    r.Right = plot.Right - frameWidth;
    if (foot_) {
        r.Bottom = plot.Bottom - frameWidth;
        r.Top = r.Bottom - lines * lineHeight;
    } else {
        r.Top = plot.Top + frameWidth;
        r.Bottom = r.Top + lines * lineHeight;
    }
    const int textLeft = r.Left;
    const int textRight = r.Right;
    TRect box{r.Left - frameWidth, r.Top - frameWidth, r.Right + frameWidth, r.Bottom + frameWidth};

    const int wWidth = canvas.MeasureTextWidth(QStringLiteral("W"));
    if ((frame_.Visible() || canvas.Brush.Style != TBrushStyle::bsClear) && adjustFrame_) {
        int widest = 0;
        for (const QString& line : text_) {
            widest = std::max(widest, canvas.MeasureTextWidth(line));
        }
        const int w = widest + wWidth;
        if (alignment_ == TAlignment::taLeftJustify) {
            box.Right = box.Left + w;
        } else if (alignment_ == TAlignment::taRightJustify) {
            box.Left = box.Right - w;
        } else {
            const int m = (box.Left + box.Right) / 2;
            box.Left = m - w / 2;
            box.Right = m + w / 2;
        }
        canvas.ApplyChartPen(frame_);
        canvas.Rectangle2D(box);
    }

    canvas.BackMode = TBackMode::Transparent;
    canvas.SetTextAlignment(TA_LEFT | TA_TOP);
    auto lineX = [&](const QString& line) {
        const int w = canvas.MeasureTextWidth(line);
        switch (alignment_) {
            case TAlignment::taLeftJustify:
                return textLeft + wWidth / 2;
            case TAlignment::taRightJustify:
                return textRight - w - wWidth / 2;
            case TAlignment::taCenter:
                break;
        }
        return (textLeft + textRight) / 2 - w / 2;
    };
    TRect newPlot = plot;
    if (foot_) {
        int y = r.Bottom;
        for (int i = lines - 1; i >= 0; --i) {
            y -= lineHeight;
            canvas.TextOut2D(lineX(text_[i]), y, text_[i]);
        }
        newPlot.Bottom = y - frameWidth - 5;
    } else {
        int y = r.Top;
        for (const QString& line : text_) {
            canvas.TextOut2D(lineX(line), y, line);
            y += lineHeight;
        }
        newPlot.Top = y + frameWidth + 5;
    }
    Chart().SetPlotRect(newPlot);
}

}  // namespace zelmo::chart
