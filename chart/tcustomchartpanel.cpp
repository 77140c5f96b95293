// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tcustomchartpanel.h"

#include "chart/chartexceptions.h"
#include "chart/devicegrid.h"
#include "chart/pixelscale.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zelmo::chart {

namespace {

// System colours of the sunken client edge.
constexpr TColor cl3DDkShadow = 0x80000015u;
constexpr TColor cl3DLight = 0x80000016u;
constexpr int kSunkenEdge = 2;

// One ring of the client edge on rectangle r of device pixels, `width` device pixels wide: top
// and left in one colour, bottom and right in the other, the bottom and right edges running to
// the corners.
void EdgeRing(QPainter& painter, const QRect& r, int width, TColor topLeft, TColor bottomRight) {
    const QColor light(ToQRgb(topLeft));
    const QColor dark(ToQRgb(bottomRight));
    FillDeviceRect(painter, QRect(r.left(), r.top(), r.width() - width, width), light);
    FillDeviceRect(painter, QRect(r.left(), r.top(), width, r.height() - width), light);
    FillDeviceRect(painter, QRect(r.left(), r.bottom() + 1 - width, r.width(), width), dark);
    FillDeviceRect(painter, QRect(r.right() + 1 - width, r.top(), width, r.height()), dark);
}

// The whole pixels of the layout that `device` device pixels hold at `ratio`.
int LayoutLength(int device, double ratio) {
    return static_cast<int>(std::floor(device / ratio + 1e-9));
}

}  // namespace

TCustomChartPanel::TCustomChartPanel(QWidget* parent) : QWidget(parent) {
    // The drawing pass covers the whole client area, so Qt need not erase it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    RedrawOnChange(view3DOptions_);
    resize(400, 250);
}

TCustomChartPanel::~TCustomChartPanel() {
    view3DOptions_.OnChange = nullptr;
}

void TCustomChartPanel::SetChart3DPercent(int v) {
    if (v < 1 || v > 100) {
        throw ChartException(FormatMessage(texts::kChart3DPercent, 1, 100));
    }
    Change(chart3DPercent_, v);
}

QRect TCustomChartPanel::DrawingArea() const {
    const int edge = borderStyle_ == TBorderStyle::bsSingle ? kSunkenEdge : 0;
    return rect().adjusted(edge, edge, -edge, -edge);
}

void TCustomChartPanel::SetPlotRect(const TRect& r) {
    plotRect_ = r;
    plotRect_.Left = std::max(plotRect_.Left, outerRect_.Left);
    plotRect_.Top = std::max(plotRect_.Top, outerRect_.Top);
    // A collapsed rectangle is widened rather than left empty.
    if (plotRect_.Right < plotRect_.Left) {
        plotRect_.Right = plotRect_.Left + 1;
    } else if (plotRect_.Right == plotRect_.Left) {
        plotRect_.Right = plotRect_.Left + width();
    }
    if (plotRect_.Bottom < plotRect_.Top) {
        plotRect_.Bottom = plotRect_.Top + 1;
    } else if (plotRect_.Bottom == plotRect_.Top) {
        plotRect_.Bottom = plotRect_.Top + height();
    }
}

void TCustomChartPanel::RequestRedraw() {
    if (!constructed_) {
        return;
    }
    ++redrawRequests_;
    qtCanvas_.Stale = true;
    update();
}

void TCustomChartPanel::Draw(TChartCanvas3D& canvas, const TRect& outerRect) {
    TChartCanvas3D* previous = canvas_;
    canvas_ = &canvas;
    ++drawPasses_;
    try {
        canvas.PrepareView(&view3DOptions_, view3D_);
        outerRect_ = outerRect;
        DrawChart();
    } catch (...) {
        canvas_ = previous;
        throw;
    }
    canvas_ = previous;
}

void TCustomChartPanel::PaintPanel() {
    TChartCanvas3D& canvas = Canvas();
    canvas.Brush = TBrushData{color_, TBrushStyle::bsSolid};
    canvas.FillRect(outerRect_);

    canvas.Pen = TPenData{};
    canvas.Brush.Style = TBrushStyle::bsClear;
    TRect r = outerRect_;
    DrawBevel(r, bevelOuter_);
    for (int i = 0; i < borderWidth_; ++i) {
        BevelLine(r, color_, color_);
    }
    DrawBevel(r, bevelInner_);
}

void TCustomChartPanel::DrawBevel(TRect& r, TPanelBevel bevel) {
    if (bevel == TPanelBevel::bvNone) {
        return;
    }
    const bool raised = bevel == TPanelBevel::bvRaised;
    for (int i = 0; i < bevelWidth_; ++i) {
        BevelLine(r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight);
    }
}

void TCustomChartPanel::BevelLine(TRect& r, TColor light, TColor dark) {
    TChartCanvas3D& canvas = Canvas();
    // The line runs on the last pixel row and column inside the rectangle.
    const int right = r.Right - 1;
    const int bottom = r.Bottom - 1;
    canvas.Pen.Color = light;
    canvas.MoveTo(r.Left, bottom);
    canvas.LineTo(r.Left, r.Top);
    canvas.LineTo(right, r.Top);
    canvas.Pen.Color = dark;
    canvas.LineTo(right, bottom);
    canvas.LineTo(r.Left - 1, bottom);
    r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
}

void TCustomChartPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // The device's own scale: the screen's, or that of an image the widget is rendered into.
    const double ratio = DeviceRatio(painter);
    const PixelScale scale(ratio);
    // The picture is laid out in device pixels: the edge's two rings one scaled pixel wide each
    // on every side, the chart's image filling exactly the device pixels inside them, laid out
    // on the whole pixels they hold, its far edges on the image's (so the chart's own bevel
    // keeps its width on every side). At ratio 1 device pixels are pixels.
    const QRect whole = DeviceRect(painter, rect());
    const int line = scale.Length(1);
    const bool edge = borderStyle_ == TBorderStyle::bsSingle;
    if (edge) {
        EdgeRing(painter, whole, line, clBtnShadow, clBtnHighlight);
        EdgeRing(painter, whole.adjusted(line, line, -line, -line), line, cl3DDkShadow, cl3DLight);
    }
    const int depth = edge ? kSunkenEdge * line : 0;
    const QRect inside = whole.adjusted(depth, depth, -depth, -depth);
    const QSize device = inside.size().expandedTo(QSize(0, 0));
    const QSize layout(LayoutLength(device.width(), ratio), LayoutLength(device.height(), ratio));
    if (layout.width() <= 0 || layout.height() <= 0 || device.isEmpty()) {
        return;
    }
    const QImage& image = qtCanvas_.Image();
    if (qtCanvas_.Stale || image.size() != device || image.devicePixelRatio() != ratio) {
        // No exception may leave a paint event; a failed pass leaves what was drawn so far.
        try {
            qtCanvas_.BeginPaint(device, ratio, layout);
            Draw(qtCanvas_, TRect{0, 0, layout.width(), layout.height()});
        } catch (...) {
        }
        if (qtCanvas_.Painting()) {
            qtCanvas_.EndPaint();
        }
        qtCanvas_.Stale = false;
    }
    DrawAtDevicePixel(painter, inside.topLeft(), image);
}

}  // namespace zelmo::chart
