// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tbarseries.h"

#include "chart/chartexceptions.h"
#include "chart/chartmath.h"
#include "chart/tcanvas3d.h"
#include "chart/tchartaxis.h"
#include "chart/tseriesmarks.h"

#include <algorithm>
#include <array>
#include <typeinfo>

namespace zelmo::chart {

TCustomBarSeries::TCustomBarSeries() {
    Marks().SetVisible(true);
    Marks().SetArrowLength(20);
    YValues().SetName(QStringLiteral("Bar"));
    YValues().SetOrder(TChartListOrder::loNone);
    RedrawOnChange(barPen_);
    RedrawOnChange(barBrush_);
}

void TCustomBarSeries::SetBarWidthPercent(int v) {
    if (v < 1 || v > 100) {
        throw BarException(texts::kBarWidthPercent);
    }
    Change(barWidthPercent_, v);
}

void TCustomBarSeries::SetOffsetPercent(int v) {
    if (v < -100 || v > 100) {
        throw BarException(texts::kBarOffsetPercent);
    }
    Change(offsetPercent_, v);
}

TBarStyle TCustomBarSeries::EffectiveBarStyle(int valueIndex) {
    TBarStyle style = barStyle_;
    if (OnGetBarStyle) {
        OnGetBarStyle(*this, valueIndex, style);
    }
    return style;
}

double TCustomBarSeries::MinYValue() const {
    if (multiBar_ == TMultiBar::mbStacked100) {
        return 0;
    }
    double result = TChartSeries::MinYValue();
    if (useYOrigin_ && result > yOrigin_) {
        result = yOrigin_;
    }
    return result;
}

double TCustomBarSeries::MaxYValue() const {
    if (multiBar_ == TMultiBar::mbStacked100) {
        return 100;
    }
    double result = TChartSeries::MaxYValue();
    if (useYOrigin_ && result < yOrigin_) {
        result = yOrigin_;
    }
    return result;
}

int TCustomBarSeries::SideBySideCount(int& mostPoints) const {
    int count = 0;
    mostPoints = 0;
    const TChartOwner* chart = ParentChart();
    if (chart == nullptr) {
        mostPoints = Count();
        return 1;
    }
    for (int i = 0; i < chart->SeriesCount(); ++i) {
        const TChartSeries& other = chart->Series(i);
        if (other.Active() && typeid(other) == typeid(*this)) {
            ++count;
            mostPoints = std::max(mostPoints, other.Count());
        }
    }
    return std::max(1, count);
}

void TCustomBarSeries::CalcBarWidth(int n, int k) {
    if (CustomBarWidthValue() != 0) {
        barWidth_ = CustomBarWidthValue();
        return;
    }
    const int perPage = Chart().MaxPointsPerPage();
    if (perPage > 0) {
        n = perPage;
    }
    if (n <= 0) {
        barWidth_ = 0;
        return;
    }
    const TChartAxis& axis = *GetHorizAxis();
    const int length = axis.AxisLength();
    int slot = 0;
    if (autoBarSize_) {
        slot = Rnd(length / (static_cast<long double>(axis.Maximum()) + 2 - axis.Minimum()));
    } else {
        slot = static_cast<int>(sideMargins_ ? length / (n + 1LL) : length / n);
    }
    barWidth_ = Rnd(barWidthPercent_ * kPercent * slot) / k;
    // An even width keeps the bar centred on its point's pixel column.
    if (barWidth_ % 2 != 0) {
        ++barWidth_;
    }
}

void TCustomBarSeries::CalcHorizMargins(int& left, int& right) {
    int n = Count();
    const int k = multiBar_ == TMultiBar::mbSide ? SideBySideCount(n) : 1;
    CalcBarWidth(n, k);
    left = right = sideMargins_ ? k * barWidth_ : (k * barWidth_) / 2;
}

void TCustomBarSeries::CalcVerticalMargins(int& top, int& bottom) {
    top = bottom = 0;
    if (Count() == 0 || !Marks().Visible()) {
        return;
    }
    TChartCanvas3D& canvas = Canvas();
    canvas.Font = Marks().Font();
    const int markHeight = Marks().MarginHeight(canvas.FontHeight());
    if (markHeight <= 0) {
        return;
    }
    const int room = markHeight + 1;
    if (!useYOrigin_) {
        top = room;
    } else {
        if (YValues().MinValue() < yOrigin_) {
            bottom = room;
        }
        if (YValues().MaxValue() > yOrigin_) {
            top = room;
        }
    }
    if (GetVertAxis() != nullptr && GetVertAxis()->Inverted()) {
        std::swap(top, bottom);
    }
}

void TCustomBarSeries::PrepareBarPaint(TColor color) {
    TChartCanvas3D& canvas = Canvas();
    canvas.ApplyChartPen(barPen_);
    const TColor back = barBrush_.Color() == AutoColor ? Chart().Color() : barBrush_.Color();
    canvas.SetFillBrush(color, barBrush_.Style(), back);
}

int TBarSeries::BarLeft(int valueIndex) const {
    int left = XToPixel(XValues().Value(valueIndex)) - barWidth_ / 2;
    if (OffsetPercent() != 0) {
        left += Rnd(OffsetPercent() * barWidth_ / 100.0L);
    }
    return left;
}

int TBarSeries::BarBase(int /*valueIndex*/) const {
    if (UseYOrigin()) {
        return YToPixel(YOrigin());
    }
    return GetVertAxis()->AxisEnd();
}

bool TBarSeries::DrawValuesForward() const {
    return !GetHorizAxis()->Inverted();
}

void TBarSeries::DrawPoint(int valueIndex) {
    currentBarColor_ = PointColor(valueIndex);
    if (currentBarColor_ == clNone || !HasFiniteValues(valueIndex)) {
        return;
    }
    barRect_.Left = BarLeft(valueIndex);
    barRect_.Right = barRect_.Left + barWidth_;
    barRect_.Top = CalcYPos(valueIndex);
    barRect_.Bottom = BarBase(valueIndex);
    PaintBar(valueIndex, std::min(barRect_.Top, barRect_.Bottom),
             std::max(barRect_.Top, barRect_.Bottom));
}

void TBarSeries::PaintBar(int valueIndex, int startY, int endY) {
    PrepareBarPaint(currentBarColor_);
    TChartCanvas3D& canvas = Canvas();
    const bool pyramid = EffectiveBarStyle(valueIndex) == TBarStyle::bsPyramid;
    if (Chart().View3D()) {
        if (pyramid) {
            canvas.DrawPyramid(true, barRect_.Left, startY, barRect_.Right, endY, FrontZ(), BackZ(),
                               Dark3D());
        } else {
            PaintPrism(startY, endY);
        }
    } else if (pyramid) {
        const std::array<TPoint, 3> triangle{TPoint{barRect_.Left, endY},
                                             TPoint{(barRect_.Left + barRect_.Right) / 2, startY},
                                             TPoint{barRect_.Right, endY}};
        canvas.FillPolygon(triangle);
    } else {
        canvas.Rectangle2D(TRect{barRect_.Left, startY, barRect_.Right + 1, endY + 1});
    }
}

// The styles other than the pyramid are drawn as a plain box: the right side and the top in
// darker shades, then the front.
void TBarSeries::PaintPrism(int startY, int endY) {
    TChartCanvas3D& canvas = Canvas();
    const int l = barRect_.Left;
    const int r = barRect_.Right;
    const int z0 = FrontZ();
    const int z1 = BackZ();
    const TColor color = canvas.Brush.Color;
    if (Dark3D()) {
        canvas.Brush.Color = DarkenColor(color, 128);
    }
    const std::array<TPoint, 4> side{
        canvas.ProjectPoint(r, startY, z0), canvas.ProjectPoint(r, startY, z1),
        canvas.ProjectPoint(r, endY, z1), canvas.ProjectPoint(r, endY, z0)};
    canvas.FillPolygon(side);
    if (Dark3D()) {
        canvas.Brush.Color = DarkenColor(color, 64);
    }
    canvas.HorizontalFace(l, startY, r, z0, z1);
    canvas.Brush.Color = color;
    const std::array<TPoint, 4> front{
        canvas.ProjectPoint(l, startY, z0), canvas.ProjectPoint(r, startY, z0),
        canvas.ProjectPoint(r, endY, z0), canvas.ProjectPoint(l, endY, z0)};
    canvas.FillPolygon(front);
}

void TBarSeries::PlaceMark(int valueIndex, const QString& text, TSeriesMarkPosition& position) {
    const int half = barWidth_ / 2;
    int length = Marks().ArrowLength();
    // A bar hanging below its value row carries its mark underneath.
    if (BarBase(valueIndex) < position.ArrowStart.Y) {
        length = -Marks().ArrowLength() - position.BoxHeight;
    }
    position.BoxLeftTop.X += half;
    position.BoxLeftTop.Y -= length;
    position.ArrowEnd.X += half;
    position.ArrowEnd.Y -= length;
    position.ArrowStart.X += half;
    Marks().PaintMark(valueIndex, PointColor(valueIndex), text, position);
}

}  // namespace zelmo::chart
