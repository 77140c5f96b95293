// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/qtcanvas.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace zelmo::chart {

namespace {

TRect Normalized(const TRect& r) {
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

}  // namespace

QRgb ToQRgb(TColor color) {
    const TColor c = ColorToRGB(color);
    return qRgb(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu),
                static_cast<int>((c >> 16) & 0xFFu));
}

TQtChartCanvas::TQtChartCanvas() = default;

TQtChartCanvas::~TQtChartCanvas() {
    if (painter_.isActive()) {
        painter_.end();
    }
}

void TQtChartCanvas::BeginPaint(QSize deviceSize, double pixelRatio, QSize layoutSize) {
    if (painter_.isActive()) {
        painter_.end();
    }
    if (image_.size() != deviceSize) {
        image_ = deviceSize.isEmpty() ? QImage() : QImage(deviceSize, QImage::Format_RGB32);
        if (!image_.isNull()) {
            image_.fill(Qt::white);
        }
    }
    // The pass draws in device pixels; the ratio is given to the image when it is done.
    image_.setDevicePixelRatio(1.0);
    bits_ = image_.isNull() ? nullptr : reinterpret_cast<QRgb*>(image_.bits());
    stride_ = image_.isNull() ? 0 : image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    width_ = image_.width();
    height_ = image_.height();
    scale_ = PixelScale(pixelRatio);
    const bool fitted = !layoutSize.isEmpty() && !deviceSize.isEmpty();
    acrossX_ =
        fitted ? PixelScale(static_cast<double>(deviceSize.width()) / layoutSize.width()) : scale_;
    acrossY_ = fitted ? PixelScale(static_cast<double>(deviceSize.height()) / layoutSize.height())
                      : scale_;
    dotted_ = raster::DottedPattern(scale_);
    smallDots_ = raster::SmallDotsPattern(scale_);
    phasePeriod_ = std::lcm<long long>(dotted_.Period, smallDots_.Period);
    fonts_.SetPixelRatio(scale_.Ratio());
    painterFont_ = kNoFont;
    painterClipVersion_ = ~0u;
    Unclip();
    penPos_ = {};
    dotPhase_ = 0;
    painting_ = true;
}

void TQtChartCanvas::EndPaint() {
    if (painter_.isActive()) {
        painter_.end();
    }
    Unclip();
    if (!image_.isNull()) {
        image_.setDevicePixelRatio(scale_.Ratio());
    }
    painting_ = false;
}

std::size_t TQtChartCanvas::CurrentFont() {
    return fonts_.IndexOf(Font);
}

QPainter& TQtChartCanvas::TextPainter() {
    if (!painter_.isActive()) {
        painter_.begin(&image_);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setRenderHint(QPainter::TextAntialiasing, false);
        painterFont_ = kNoFont;
        painterClipped_ = false;
        painterClipVersion_ = ~0u;
        painterColor_ = 0;
        painter_.setPen(QColor(painterColor_));
    }
    return painter_;
}

void TQtChartCanvas::SetTextAlignment(unsigned flags) {
    alignment_ = flags;
}

FontCache::Entry& TQtChartCanvas::LayoutFont() {
    if (scale_.Identity()) {
        return fonts_.At(CurrentFont());
    }
    return layoutFonts_.At(layoutFonts_.IndexOf(Font));
}

int TQtChartCanvas::MeasureTextWidth(const QString& text) {
    return std::max(0, FontCache::TextWidth(LayoutFont(), text));
}

int TQtChartCanvas::MeasureTextHeight(const QString& /*text*/) {
    return std::max(0, LayoutFont().Height);
}

void TQtChartCanvas::TextOut2D(int x, int y, const QString& text) {
    if (image_.isNull() || text.isEmpty()) {
        return;
    }
    const std::size_t index = CurrentFont();
    FontCache::Entry& entry = fonts_.At(index);
    const int width = FontCache::TextWidth(entry, text);
    const int height = entry.Height;
    const raster::Point anchor = Device(x, y);
    long long left = anchor.X;
    if ((alignment_ & TA_HORIZONTAL) == TA_CENTER) {
        left = anchor.X - width / 2;
    }
    const long long top = anchor.Y;
    // Glyphs may reach a little beyond their cell; a text farther away than a cell cannot
    // touch the image.
    const long long reach = std::max(height, 1) + std::max(width, 0);
    if (left + width + reach <= 0 || left - reach >= width_ || top + height + reach <= 0 ||
        top - reach >= height_) {
        return;
    }
    if (BackMode == TBackMode::Opaque) {
        SolidRect(left, top, left + width, top + height, ToQRgb(BackColor));
    }
    QPainter& painter = TextPainter();
    if (clip_.Active()) {
        if (!painterClipped_ || painterClipVersion_ != clip_.Version()) {
            painter.setClipRegion(clip_.Region());
            painterClipped_ = true;
            painterClipVersion_ = clip_.Version();
        }
    } else if (painterClipped_) {
        painter.setClipping(false);
        painterClipped_ = false;
    }
    if (painterFont_ != index || painterFontGeneration_ != fonts_.Generation()) {
        painter.setFont(entry.Font);
        painterFont_ = index;
        painterFontGeneration_ = fonts_.Generation();
    }
    const QRgb color = ToQRgb(Font.Color);
    if (color != painterColor_) {
        painter.setPen(QColor(color));
        painterColor_ = color;
    }
    painter.drawText(QPoint(static_cast<int>(left), static_cast<int>(top) + entry.Ascent), text);
}

// Pixels x0..x1-1 of row y, inside the image and the clip.
void TQtChartCanvas::FillRow(int y, int x0, int x1, QRgb rgb) {
    if (y < 0 || y >= height_) {
        return;
    }
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_);
    if (x0 >= x1) {
        return;
    }
    QRgb* row = bits_ + y * stride_;
    clip_.ForEachPart(y, x0, x1, [&](int a, int b) { std::fill(row + a, row + b, rgb); });
}

void TQtChartCanvas::SolidRect(long long left, long long top, long long right, long long bottom,
                               QRgb rgb) {
    const int x0 = static_cast<int>(std::clamp<long long>(left, 0, width_));
    const int x1 = static_cast<int>(std::clamp<long long>(right, 0, width_));
    const int y0 = static_cast<int>(std::clamp<long long>(top, 0, height_));
    const int y1 = static_cast<int>(std::clamp<long long>(bottom, 0, height_));
    if (x0 >= x1) {
        return;
    }
    for (int y = y0; y < y1; ++y) {
        FillRow(y, x0, x1, rgb);
    }
}

template <typename UseFn>
void TQtChartCanvas::WithDevicePoints(std::span<const TPoint> points, UseFn use) {
    // Chart polygons have three to six corners; more go to the heap.
    std::array<raster::Point, 8> fixed;
    std::vector<raster::Point> spill;
    std::span<raster::Point> device(fixed.data(), points.size());
    if (points.size() > fixed.size()) {
        spill.resize(points.size());
        device = spill;
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        device[i] = Device(points[i].X, points[i].Y);
    }
    use(std::span<const raster::Point>(device));
}

void TQtChartCanvas::FillSpans(std::span<const raster::Point> points, QRgb rgb) {
    raster::ForEachSpan(points, 0, height_, 0, width_,
                        [&](int y, int x0, int x1) { FillRow(y, x0, x1, rgb); });
}

// The pattern of the current pen for stamps of the given size: a thin pen's stamps overlap
// along the path, so a dot of a scaled pen takes as many fewer steps as its stamp is wider.
raster::DotPattern TQtChartCanvas::PenPattern(long long stamp) const {
    raster::DotPattern pattern;
    if (Pen.SmallDots) {
        pattern = smallDots_;
    } else if (Pen.Style == TPenStyle::psDot) {
        pattern = dotted_;
    } else {
        return pattern;
    }
    if (Pen.SmallDots || Pen.Width <= 1) {
        pattern.On = std::max(1, pattern.On - static_cast<int>(stamp - 1));
    }
    return pattern;
}

// One pen stroke from (x0,y0) towards (x1,y1), in pixels of the layout. A one-pixel pen steps
// along the longer axis and sets the pixel nearest to the ideal line in the other (an exact
// half steps away from the start), leaving out the end point, which the next stroke of a path
// begins with. A wider pen stamps a square of its width (from -width/2) at every step, end
// point included, like the square-capped stroke of a geometric pen. On a denser screen the
// stroke steps in device pixels between the scaled end points, a one-pixel pen stamps a square
// of one scaled pixel from the step on (leaving out the last scaled pixel), and a wider pen a
// square of its scaled width. Dotted pens follow their pattern along the path. Only the steps
// that can mark the image are walked.
void TQtChartCanvas::PenLine(int x0, int y0, int x1, int y1) {
    if (Pen.Style == TPenStyle::psClear || image_.isNull()) {
        return;
    }
    const raster::Point p0 = Device(x0, y0);
    const raster::Point p1 = Device(x1, y1);
    const long long dx = p1.X - p0.X;
    const long long dy = p1.Y - p0.Y;
    const long long steps = std::max(std::llabs(dx), std::llabs(dy));
    if (steps == 0) {
        return;
    }
    const QRgb rgb = ToQRgb(Pen.Color);
    const bool wide = !Pen.SmallDots && Pen.Width > 1;
    const long long size = scale_.Length(wide ? Pen.Width : 1);
    const long long from = wide ? -scale_.Length(Pen.Width / 2) : 0;
    const long long last = wide ? steps : std::max(0LL, steps - size);
    const long long phase0 = dotPhase_;
    // The next stroke of the path goes on with the pattern where this one ends.
    dotPhase_ = (phase0 + steps) % phasePeriod_;
    const raster::DotPattern pattern = PenPattern(size);

    const raster::StrokeAxis ax = raster::AxisOf(p0.X, p1.X, steps);
    const raster::StrokeAxis ay = raster::AxisOf(p0.Y, p1.Y, steps);

    if (wide && size > std::max<long long>({width_, height_, 2 * phasePeriod_})) {
        WideLineByRows(ax, ay, last, size, from, phase0, pattern, rgb);
        return;
    }
    // A step marks the image when its stamp [p + from, p + from + size) meets it.
    const long long xLo = -from - size + 1;
    const long long xHi = width_ - 1 - from;
    const long long yLo = -from - size + 1;
    const long long yHi = height_ - 1 - from;
    long long first = 0;
    long long end = last + 1;
    // Both ends inside: so is every step between them, and there is nothing to search.
    if (std::min(p0.X, p1.X) < xLo || std::max(p0.X, p1.X) > xHi || std::min(p0.Y, p1.Y) < yLo ||
        std::max(p0.Y, p1.Y) > yHi) {
        const auto [fx, ex] = ax.StepsWithin(xLo, xHi, last);
        const auto [fy, ey] = ay.StepsWithin(yLo, yHi, last);
        first = std::max(fx, fy);
        end = std::min(ex, ey);
        if (first >= end) {
            return;
        }
    }

    raster::StrokeStepper sx(ax, first);
    raster::StrokeStepper sy(ay, first);
    long long phase = pattern.Solid() ? 0 : (phase0 + first) % pattern.Period;
    for (long long i = first; i < end; ++i) {
        if (pattern.Solid() || phase < pattern.On) {
            const int x = static_cast<int>(sx.Pos);
            const int y = static_cast<int>(sy.Pos);
            if (size > 1) {
                long long left = x + from;
                long long top = y + from;
                // A one-pixel pen's square that begins inside the image keeps its whole width
                // there: a line along the layout's far edge is as wide as any other.
                if (!wide) {
                    left = left < width_ ? std::min<long long>(left, width_ - size) : left;
                    top = top < height_ ? std::min<long long>(top, height_ - size) : top;
                }
                SolidRect(left, top, left + size, top + size, rgb);
            } else if (clip_.Allows(x, y)) {
                bits_[y * stride_ + x] = rgb;
            }
        }
        sx.Next();
        sy.Next();
        if (!pattern.Solid() && ++phase == pattern.Period) {
            phase = 0;
        }
    }
}

// A pen wider than the image: per image row, the steps whose squares cover it are one run, and
// their squares, one pixel apart at most, join into one span (for a dotted pen, the squares of
// its set steps, which lie at most a dot gap apart, less than the width).
void TQtChartCanvas::WideLineByRows(const raster::StrokeAxis& ax, const raster::StrokeAxis& ay,
                                    long long last, long long size, long long from,
                                    long long phase0, const raster::DotPattern& pattern, QRgb rgb) {
    for (int y = 0; y < height_; ++y) {
        auto [first, end] = ay.StepsWithin(y - from - size + 1, y - from, last);
        // Move the ends of the run onto set steps of the pattern.
        while (first < end && !pattern.Sets(phase0 + first)) {
            ++first;
        }
        while (first < end && !pattern.Sets(phase0 + end - 1)) {
            --end;
        }
        if (first >= end) {
            continue;
        }
        const long long xa = ax.At(first);
        const long long xb = ax.At(end - 1);
        SolidRect(std::min(xa, xb) + from, y, std::max(xa, xb) + from + size, y + 1, rgb);
    }
}

void TQtChartCanvas::MoveTo(int x, int y) {
    penPos_ = {x, y};
    dotPhase_ = 0;
}

void TQtChartCanvas::LineTo(int x, int y) {
    PenLine(penPos_.X, penPos_.Y, x, y);
    penPos_ = {x, y};
}

void TQtChartCanvas::FillRect(const TRect& r) {
    if (Brush.Style != TBrushStyle::bsSolid) {
        return;
    }
    const TRect n = Normalized(r);
    const raster::Point a = Device(n.Left, n.Top);
    const raster::Point b = Device(n.Right, n.Bottom);
    SolidRect(a.X, a.Y, b.X, b.Y, ToQRgb(Brush.Color));
}

void TQtChartCanvas::Rectangle2D(const TRect& r) {
    // Shapes leave the current position of the pen path where it was.
    const TPoint savedPos = penPos_;
    const long long savedPhase = dotPhase_;
    const TRect n = Normalized(r);
    FillRect(n);
    if (static_cast<long long>(n.Right) - n.Left >= 1 &&
        static_cast<long long>(n.Bottom) - n.Top >= 1) {
        Frame(n);
    }
    penPos_ = savedPos;
    dotPhase_ = savedPhase;
}

void TQtChartCanvas::Frame(const TRect& n) {
    // The outline runs along the outermost pixels that the rectangle keeps.
    const int right = n.Right - 1;
    const int bottom = n.Bottom - 1;
    if (right == n.Left || bottom == n.Top) {
        // One pixel wide or high: a single stroke, end point included.
        MoveTo(n.Left, n.Top);
        LineTo(right + (right == n.Left ? 0 : 1), bottom + (bottom == n.Top ? 0 : 1));
        if (right == n.Left && bottom == n.Top && Pen.Style != TPenStyle::psClear &&
            !image_.isNull()) {
            const raster::Point p = Device(n.Left, n.Top);
            const int dot = scale_.Length(1);
            SolidRect(p.X, p.Y, p.X + dot, p.Y + dot, ToQRgb(Pen.Color));
        }
    } else if (!scale_.Identity() && Pen.Style == TPenStyle::psSolid && Pen.Width <= 1 &&
               !Pen.SmallDots && !image_.isNull()) {
        // On a denser screen each side is one scaled pixel wide inside the rectangle's scaled
        // area, the same width on every side wherever the rectangle lies.
        const raster::Point a = Device(n.Left, n.Top);
        const raster::Point b = Device(n.Right, n.Bottom);
        const int line = scale_.Length(1);
        const QRgb rgb = ToQRgb(Pen.Color);
        SolidRect(a.X, a.Y, b.X, a.Y + line, rgb);
        SolidRect(a.X, b.Y - line, b.X, b.Y, rgb);
        SolidRect(a.X, a.Y, a.X + line, b.Y, rgb);
        SolidRect(b.X - line, a.Y, b.X, b.Y, rgb);
    } else {
        MoveTo(n.Left, n.Top);
        LineTo(right, n.Top);
        LineTo(right, bottom);
        LineTo(n.Left, bottom);
        LineTo(n.Left, n.Top);
    }
}

void TQtChartCanvas::FillPolygon(std::span<const TPoint> points) {
    if (points.empty() || image_.isNull()) {
        return;
    }
    const TPoint savedPos = penPos_;
    const long long savedPhase = dotPhase_;
    if (Brush.Style == TBrushStyle::bsSolid) {
        WithDevicePoints(points, [&](std::span<const raster::Point> device) {
            FillSpans(device, ToQRgb(Brush.Color));
        });
    }
    // The closed outline: each edge leaves out its end, which is where the next one starts.
    MoveTo(points[0].X, points[0].Y);
    for (std::size_t i = 1; i <= points.size(); ++i) {
        const TPoint& p = points[i % points.size()];
        LineTo(p.X, p.Y);
    }
    penPos_ = savedPos;
    dotPhase_ = savedPhase;
}

void TQtChartCanvas::ClipPolygon(std::span<const TPoint> points) {
    if (image_.isNull()) {
        return;
    }
    WithDevicePoints(
        points, [&](std::span<const raster::Point> device) { clip_.Set(device, width_, height_); });
}

void TQtChartCanvas::ClipRectangle(const TRect& r) {
    const TRect n = Normalized(r);
    const std::array<TPoint, 4> corners = {
        TPoint{n.Left, n.Top}, {n.Right, n.Top}, {n.Right, n.Bottom}, {n.Left, n.Bottom}};
    ClipPolygon(corners);
}

void TQtChartCanvas::Unclip() {
    clip_.Clear();
}

}  // namespace zelmo::chart
