// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tseriesmarks.h"

#include "chart/chartmath.h"
#include "chart/numberformat.h"
#include "chart/tchartseries.h"
#include "chart/tcustomaxispanel.h"

#include <cstdlib>

namespace zelmo::chart {

void TSeriesMarkPosition::Assign(const TSeriesMarkPosition& other) {
    ArrowStart = other.ArrowStart;
    ArrowEnd = other.ArrowEnd;
    BoxHeight = other.BoxHeight;
    BoxLeftTop = other.BoxLeftTop;
    BoxWidth = other.BoxWidth;
}

TSeriesMarks::TSeriesMarks(TChartSeries* series) : series_(series), font_(DefaultChartFont()) {
    arrow_.OnChange = [this] { Repaint(); };
    frame_.OnChange = [this] { Repaint(); };
}

void TSeriesMarks::Repaint() {
    if (series_ != nullptr) {
        series_->Repaint();
    }
}

void TSeriesMarks::SetUserPosition(int valueIndex, const TSeriesMarkPosition& position) {
    TSeriesMarkPosition& stored = StoredPosition(valueIndex);
    stored.Assign(position);
    stored.UserPlaced = true;
    Repaint();
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

    TCustomAxisPanel& chart = *series_->ParentChart();
    TChartCanvas3D& canvas = chart.Canvas();
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

QString TChartSeries::MarkText(int valueIndex) const {
    const double value = MarkValue(valueIndex);
    const QString valueText = FormatFloat(valueFormat_, value);
    auto percentText = [&] {
        const double total = yValues_.TotalABS();
        return FormatFloat(percentFormat_, total != 0 ? 100.0 * value / total : 0.0);
    };
    QString text;
    switch (marks_->Style()) {
        case TSeriesMarksStyle::smsValue:
            text = valueText;
            break;
        case TSeriesMarksStyle::smsPercent:
            text = percentText();
            break;
        case TSeriesMarksStyle::smsLabel:
        case TSeriesMarksStyle::smsLegend:
            text = PointLabel(valueIndex);
            if (text.isEmpty()) {
                text = valueText;
            }
            break;
        case TSeriesMarksStyle::smsLabelPercent:
            text = PointLabel(valueIndex) + QLatin1Char(' ') + percentText();
            break;
        case TSeriesMarksStyle::smsLabelValue:
            text = PointLabel(valueIndex) + QLatin1Char(' ') + valueText;
            break;
        case TSeriesMarksStyle::smsPercentTotal:
            text = percentText() + QStringLiteral(" of ") +
                   FormatFloat(valueFormat_, yValues_.TotalABS());
            break;
        case TSeriesMarksStyle::smsLabelPercentTotal:
            text = PointLabel(valueIndex) + QLatin1Char(' ') + percentText() +
                   QStringLiteral(" of ") + FormatFloat(valueFormat_, yValues_.TotalABS());
            break;
        case TSeriesMarksStyle::smsXValue:
            text = FormatFloat(valueFormat_, xValues_.Value(valueIndex));
            break;
    }
    if (OnGetMarkText) {
        OnGetMarkText(const_cast<TChartSeries&>(*this), valueIndex, text);
    }
    return text;
}

void TChartSeries::DrawAllMarks() {
    TCustomAxisPanel& chart = *parentChart_;
    TChartCanvas3D& canvas = chart.Canvas();
    TSeriesMarks& marks = *marks_;
    // One record serves every mark of the pass.
    TSeriesMarkPosition position;
    for (int i = firstVisible_; i <= lastVisible_; ++i) {
        if (PointColor(i) == clNone || !HasFiniteValues(i)) {
            continue;
        }
        const QString text = MarkText(i);
        if (text.isEmpty()) {
            continue;
        }
        TFontData font = marks.Font();
        const int zoom = chart.View3DOptions().Zoom();
        if (chart.View3D() && chart.View3DOptions().ZoomText() && zoom != 100) {
            const int size = std::max(1, Rnd(std::abs(font.Height) * zoom / 100.0L));
            font.Height = font.Height < 0 ? -size : size;
        }
        chart.SetCanvasFont(font);
        int lines = 1;
        const int widest = chart.WidestLineWidth(text, lines);
        position.BoxWidth = widest + canvas.MeasureTextWidth(QStringLiteral("W"));
        position.BoxHeight = lines * canvas.FontHeight();
        canvas.ApplyChartPen(marks.Frame());
        if (marks.Frame().Visible()) {
            position.BoxWidth += 2 * marks.Frame().Width();
            position.BoxHeight += 2 * marks.Frame().Width();
        }
        position.ArrowEnd = {CalcXPos(i), CalcYPos(i)};
        position.ArrowStart = position.ArrowEnd;
        position.BoxLeftTop = {position.ArrowEnd.X - position.BoxWidth / 2,
                               position.ArrowEnd.Y - position.BoxHeight + 1};
        PlaceMark(i, text, position);
    }
}

void TChartSeries::PlaceMark(int valueIndex, const QString& text, TSeriesMarkPosition& position) {
    // A plain series holds its mark straight above the point.
    const int length = marks_->ArrowLength();
    position.BoxLeftTop.Y -= length;
    position.ArrowEnd.Y -= length;
    marks_->PaintMark(valueIndex, PointColor(valueIndex), text, position);
}

}  // namespace zelmo::chart
