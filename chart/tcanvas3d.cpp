// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tcanvas3d.h"

#include "chart/chartmath.h"
#include "chart/tview3doptions.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace zelmo::chart {

void TChartCanvas3D::PrepareView(const TView3DOptions* options, bool is3D) {
    options_ = options;
    is3D_ = is3D;
    savedIs3D_ = is3D;
    zoomFactor_ = 1.0;
    orthogonalMode_ = false;
    if (is3D && options != nullptr) {
        orthogonalMode_ = options->Orthogonal();
        // The percentage becomes a factor in extended precision, then a double.
        zoomFactor_ = static_cast<double>(options->Zoom() * 0.01L);
    }
}

void TChartCanvas3D::SetProjection(int totalDepth, const TRect& /*outerRect*/,
                                   const TRect& plotRect) {
    projCenterX_ = (plotRect.Left + plotRect.Right) / 2;
    projCenterY_ = (plotRect.Top + plotRect.Bottom) / 2;
    projCenterZ_ = totalDepth / 2;
    projOffsetX_ = projCenterX_ + (options_ != nullptr ? options_->HorizOffset() : 0);
    projOffsetY_ = projCenterY_ + (options_ != nullptr ? options_->VertOffset() : 0);
}

TPoint TChartCanvas3D::ProjectPoint(int x, int y, int z) {
    // The orthogonal mapping is tested first: flat drawing switches Is3D off but keeps the
    // mapping, so a point at depth 0 stays put while deeper points still move. A rotated view
    // is not offered; it is drawn with the orthogonal mapping as well.
    if (orthogonalMode_ || is3D_) {
        // Points projected far off the image are held 2^30 pixels out: still off it, and the
        // sums made with them afterwards stay inside int.
        const auto place = [this](long long distance, int offset) {
            constexpr long long kFar = 1LL << 30;
            const long long v =
                static_cast<long long>(Rnd(static_cast<double>(distance) * zoomFactor_)) + offset;
            return static_cast<int>(std::clamp(v, -kFar, kFar));
        };
        return {place(static_cast<long long>(x) - projCenterX_ + z, projOffsetX_),
                place(static_cast<long long>(y) - projCenterY_ - z, projOffsetY_)};
    }
    return {x, y};
}

void TChartCanvas3D::BeginFlatDrawing() {
    savedIs3D_ = is3D_;
    is3D_ = false;
}

void TChartCanvas3D::EndFlatDrawing() {
    is3D_ = savedIs3D_;
}

void TChartCanvas3D::ClipToBox(const TRect& rect, int z0, int z1) {
    if (!is3D_) {
        ClipRectangle({rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom - 1});
        return;
    }
    std::array<TPoint, 6> p;
    p[0] = ProjectPoint(rect.Left, rect.Bottom, z0);
    p[1] = ProjectPoint(rect.Left, rect.Top, z0);
    const TPoint frontTopRight = ProjectPoint(rect.Right, rect.Top, z0);
    const TPoint backTopLeft = ProjectPoint(rect.Left, rect.Top, z1);
    p[2] = frontTopRight.Y < backTopLeft.Y ? frontTopRight : backTopLeft;
    p[3] = ProjectPoint(rect.Right, rect.Top, z1);
    const TPoint backBottomRight = ProjectPoint(rect.Right, rect.Bottom, z1);
    p[4] = frontTopRight.X > backBottomRight.X ? frontTopRight : backBottomRight;
    p[5] = ProjectPoint(rect.Right, rect.Bottom, z0);
    // A box seen from the left would cross itself; pull its first corner under the last.
    if (p[5].X < p[0].X) {
        p[0].X = p[5].X;
        if (frontTopRight.Y < p[0].Y) {
            p[0].Y = frontTopRight.Y;
        }
    }
    ClipPolygon(p);
}

void TChartCanvas3D::HLineAtDepth(int x0, int x1, int y, int z) {
    const TPoint a = ProjectPoint(x0, y, z);
    const TPoint b = ProjectPoint(x1, y, z);
    MoveTo(a.X, a.Y);
    LineTo(b.X, b.Y);
}

void TChartCanvas3D::VLineAtDepth(int x, int y0, int y1, int z) {
    const TPoint a = ProjectPoint(x, y0, z);
    const TPoint b = ProjectPoint(x, y1, z);
    MoveTo(a.X, a.Y);
    LineTo(b.X, b.Y);
}

void TChartCanvas3D::DepthLine(int x, int y, int z0, int z1) {
    const TPoint a = ProjectPoint(x, y, z0);
    const TPoint b = ProjectPoint(x, y, z1);
    MoveTo(a.X, a.Y);
    LineTo(b.X, b.Y);
}

void TChartCanvas3D::LineWithDepth(int x0, int y0, int x1, int y1, int z) {
    const TPoint a = ProjectPoint(x0, y0, z);
    const TPoint b = ProjectPoint(x1, y1, z);
    MoveTo(a.X, a.Y);
    LineTo(b.X, b.Y);
}

void TChartCanvas3D::MoveToAtDepth(int x, int y, int z) {
    const TPoint p = ProjectPoint(x, y, z);
    MoveTo(p.X, p.Y);
}

void TChartCanvas3D::LineToAtDepth(int x, int y, int z) {
    const TPoint p = ProjectPoint(x, y, z);
    LineTo(p.X, p.Y);
}

void TChartCanvas3D::HorizontalFace(int x0, int y, int x1, int z0, int z1) {
    const std::array<TPoint, 4> face = {ProjectPoint(x0, y, z0), ProjectPoint(x1, y, z0),
                                        ProjectPoint(x1, y, z1), ProjectPoint(x0, y, z1)};
    FillPolygon(face);
}

void TChartCanvas3D::DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0,
                                 int z1, bool dark) {
    // The base colour; a hatched brush darkens its background colour instead of its own.
    const bool solid = Brush.Style == TBrushStyle::bsSolid;
    const TColor c0 = solid ? Brush.Color : BackColor;
    auto shade = [&](int amount) {
        if (!dark) {
            return;
        }
        (solid ? Brush.Color : BackColor) = DarkenColor(c0, amount);
    };

    if (!vertical) {
        // Lying pyramid: base on the left edge, apex at the middle of the right edge; the
        // front face, then the upper face that the depth shift shows, or the base alone when
        // the bar has no length.
        const TPoint ft = ProjectPoint(left, top, z0);
        const TPoint fb = ProjectPoint(left, bottom, z0);
        const TPoint bt = ProjectPoint(left, top, z1);
        const TPoint bb = ProjectPoint(left, bottom, z1);
        const TPoint apex = ProjectPoint(right, (top + bottom) / 2, (z0 + z1) / 2);
        if (left != right) {
            FillPolygon(std::array<TPoint, 3>{ft, apex, fb});
            shade(128);
            FillPolygon(std::array<TPoint, 3>{ft, apex, bt});
            return;
        }
        shade(64);
        FillPolygon(std::array<TPoint, 4>{ft, fb, bb, bt});
        return;
    }

    const TPoint fl = ProjectPoint(left, bottom, z0);
    const TPoint fr = ProjectPoint(right, bottom, z0);
    const TPoint bl = ProjectPoint(left, bottom, z1);
    const TPoint br = ProjectPoint(right, bottom, z1);
    const TPoint apex = ProjectPoint((left + right) / 2, top, (z0 + z1) / 2);
    if (bottom != top) {
        // The left and back faces show only when the base's back edge rises above the apex,
        // that is for bars shorter than half the depth.
        const bool backVisible = bottom > top && bl.Y < apex.Y;
        FillPolygon(std::array<TPoint, 3>{fl, apex, fr});
        if (backVisible) {
            FillPolygon(std::array<TPoint, 3>{fl, apex, bl});
        }
        shade(128);
        FillPolygon(std::array<TPoint, 3>{fr, apex, br});
        if (backVisible) {
            FillPolygon(std::array<TPoint, 3>{apex, bl, br});
        }
        if (bottom > top) {
            return;
        }
    }
    shade(64);
    HorizontalFace(left, bottom, right, z0, z1);
}

void TChartCanvas3D::TextAtDepth(int x, int y, int z, const QString& text) {
    const TPoint p = ProjectPoint(x, y, z);
    if (options_ == nullptr || !options_->ZoomText() || zoomFactor_ == 1.0) {
        TextOut2D(p.X, p.Y, text);
        return;
    }
    // Zoomed text: a temporary font scaled by the zoom, at least one pixel high.
    const TFontData saved = Font;
    const int size = std::max(1, Rnd(std::abs(Font.Height) * zoomFactor_));
    Font.Height = Font.Height < 0 ? -size : size;
    TextOut2D(p.X, p.Y, text);
    Font = saved;
}

}  // namespace zelmo::chart
