// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tseriesmarks.h"

#include "chart/tcanvas3d.h"

namespace zelmo::chart {

void TSeriesMarkPosition::Assign(const TSeriesMarkPosition& other) {
    ArrowStart = other.ArrowStart;
    ArrowEnd = other.ArrowEnd;
    BoxHeight = other.BoxHeight;
    BoxLeftTop = other.BoxLeftTop;
    BoxWidth = other.BoxWidth;
}

TSeriesMarks::TSeriesMarks() : TChartPart(nullptr), font_(DefaultChartFont()) {
    RedrawOnChange(arrow_);
    RedrawOnChange(frame_);
}

void TSeriesMarks::SetUserPosition(int valueIndex, const TSeriesMarkPosition& position) {
    TSeriesMarkPosition& stored = StoredPosition(valueIndex);
    stored.Assign(position);
    stored.UserPlaced = true;
    RequestRedraw();
}

TSeriesMarkPosition& TSeriesMarks::StoredPosition(int valueIndex) {
    if (static_cast<int>(positions_.size()) <= valueIndex) {
        positions_.resize(static_cast<size_t>(valueIndex) + 1);
    }
    auto& entry = positions_[static_cast<size_t>(valueIndex)];
    if (!entry) {
        entry = TSeriesMarkPosition{};
    }
    return *entry;
}

int TSeriesMarks::MarginHeight(int fontHeight) const {
    return fontHeight + arrowLength_ + (frame_.Visible() ? 2 * frame_.Width() : 0);
}

void TSeriesMarks::PaintMark(int valueIndex, TColor pointColor, const QString& text,
                             TSeriesMarkPosition& position) {
    TSeriesMarkPosition& stored = StoredPosition(valueIndex);
    if (stored.UserPlaced) {
        position.Assign(stored);
    } else {
        stored.Assign(position);
    }

    const TChartOwner& chart = Chart();
    TChartCanvas3D& canvas = Canvas();
    const bool is3D = chart.View3D();

    if (arrow_.Visible()) {
        canvas.Pen = TPenData{arrow_.Color(), arrow_.Width(), arrow_.Style(), arrow_.Mode(), false};
        canvas.Brush.Style = TBrushStyle::bsClear;
        // An arrow in the colour of its point or of the background would not show.
        if (canvas.Pen.Color == pointColor || canvas.Pen.Color == chart.Color()) {
            canvas.Pen.Color = chart.Color() == clBlack ? clWhite : clBlack;
        }
        if (is3D) {
            canvas.LineWithDepth(position.ArrowStart.X, position.ArrowStart.Y, position.ArrowEnd.X,
                                 position.ArrowEnd.Y, zPosition_);
        } else {
            canvas.MoveTo(position.ArrowStart.X, position.ArrowStart.Y);
            canvas.LineTo(position.ArrowEnd.X, position.ArrowEnd.Y);
        }
    }

    if (is3D) {
        // The box keeps its offset from the projected end of the arrow.
        const TPoint p = canvas.ProjectPoint(position.ArrowEnd.X, position.ArrowEnd.Y, zPosition_);
        position.BoxLeftTop = {p.X - (position.ArrowEnd.X - position.BoxLeftTop.X),
                               p.Y - (position.ArrowEnd.Y - position.BoxLeftTop.Y)};
    }

    if (frame_.Visible() || !transparent_) {
        canvas.Brush.Color = backColor_;
        canvas.Brush.Style = transparent_ ? TBrushStyle::bsClear : TBrushStyle::bsSolid;
        canvas.ApplyChartPen(frame_);
        canvas.Rectangle2D(position.Bounds());
        if (frame_.Visible()) {
            position.BoxLeftTop.Y += frame_.Width();
        }
    }

    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.BackMode = TBackMode::Transparent;
    canvas.SetTextAlignment(TA_CENTER);
    const int x = position.BoxLeftTop.X + position.BoxWidth / 2;
    int y = position.BoxLeftTop.Y;
    const QStringList lines = TextLines(text);
    const int lineHeight = canvas.FontHeight();
    for (const QString& line : lines) {
        canvas.TextOut2D(x, y, line);
        y += lineHeight;
    }
    canvas.SetTextAlignment(TA_LEFT | TA_TOP);
}

}  // namespace zelmo::chart
