// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/qtcanvas.h"

#include "chart/chartmath.h"

#include <QFontDatabase>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

namespace zelmo::chart {

namespace {

// Products of coordinates that may lie anywhere in the int range need more than 64 bits.
__extension__ typedef __int128 Wide;

// Fonts of the window system that may be missing here, and the metric twins that replace them.
constexpr std::array<std::pair<const char*, const char*>, 5> kFontSubstitutes = {{
    {"Arial", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Bookman Old Style", "URW Bookman"},
}};

// Pixel size of a font whose height the caller left to the system.
constexpr int kDefaultPixelSize = 11;

// The cosmetic dotted pen: three pixels set, three left, along the path.
constexpr int kDotOn = 3;
constexpr int kDotPeriod = 6;

// A chart uses two or three fonts; more means properties keep changing, and the cache starts
// again rather than grow. Likewise for the measured texts of one font.
constexpr std::size_t kMaxFonts = 16;
constexpr qsizetype kMaxWidths = 512;

// Coordinates up to this size keep every product of the polygon rasteriser within 64 bits.
constexpr long long kSmallCoordinate = 1LL << 29;

// floor(a / b) for b > 0.
template <typename T>
T FloorDiv(T a, T b) {
    const T q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// The pixels inside a polygon under the alternate rule, row by row: a pixel belongs to it when
// its centre (the integer point) lies inside, counting points on a left or top edge and
// leaving out points on a right or bottom edge. Each edge covers the rows from its upper end
// up to, not including, its lower end, so a vertex shared by two edges is counted once.
// Only rows rowFrom <= y < rowTo are walked, and spans are cut to colFrom <= x < colTo (the
// crossings are clamped, which keeps their order and so their pairing). Calls span(y, x0, x1)
// for the pixels x0 <= x < x1 of row y.
template <typename T, typename SpanFn>
void WalkSpans(std::span<const TPoint> points, long long top, long long bottom, int colFrom,
               int colTo, SpanFn span) {
    const std::size_t n = points.size();
    // Up to a handful of crossings per row; a fixed buffer when they fit.
    std::array<long long, 16> fixed{};
    std::vector<long long> spill;
    for (long long y = top; y < bottom; ++y) {
        std::size_t count = 0;
        auto push = [&](long long x) {
            if (count < fixed.size()) {
                fixed[count] = x;
            } else {
                if (count == fixed.size()) spill.assign(fixed.begin(), fixed.end());
                spill.push_back(x);
            }
            ++count;
        };
        for (std::size_t i = 0; i < n; ++i) {
            TPoint a = points[i];
            TPoint b = points[(i + 1) % n];
            if (a.Y == b.Y) continue;
            if (a.Y > b.Y) std::swap(a, b);
            if (y < a.Y || y >= b.Y) continue;
            // First pixel column at or right of the crossing: ceil(a.x + (y-a.y)*dx/dy).
            const T dy = static_cast<T>(b.Y) - a.Y;
            const T num =
                static_cast<T>(a.X) * dy + static_cast<T>(y - a.Y) * (static_cast<T>(b.X) - a.X);
            const T x = -FloorDiv<T>(-num, dy);
            push(static_cast<long long>(std::clamp<T>(x, colFrom, colTo)));
        }
        long long* xs = count <= fixed.size() ? fixed.data() : spill.data();
        std::sort(xs, xs + count);
        for (std::size_t k = 0; k + 1 < count; k += 2) {
            if (xs[k] < xs[k + 1]) {
                span(static_cast<int>(y), static_cast<int>(xs[k]), static_cast<int>(xs[k + 1]));
            }
        }
    }
}

template <typename SpanFn>
void ForEachSpan(std::span<const TPoint> points, int rowFrom, int rowTo, int colFrom, int colTo,
                 SpanFn span) {
    if (points.size() < 3) return;
    long long top = points[0].Y;
    long long bottom = points[0].Y;
    bool small = true;
    for (const TPoint& p : points) {
        top = std::min<long long>(top, p.Y);
        bottom = std::max<long long>(bottom, p.Y);
        small = small && std::llabs(p.X) < kSmallCoordinate && std::llabs(p.Y) < kSmallCoordinate;
    }
    top = std::max<long long>(top, rowFrom);
    bottom = std::min<long long>(bottom, rowTo);
    if (small) {
        WalkSpans<long long>(points, top, bottom, colFrom, colTo, span);
    } else {
        WalkSpans<Wide>(points, top, bottom, colFrom, colTo, span);
    }
}

TRect Normalized(const TRect& r) {
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

// One coordinate of a pen stroke of `steps` steps that moves `run` pixels in `sign` direction:
// at step i it lies at start + sign * round(i * run / steps), an exact half rounding away from
// the start. Kept as quotient and remainder so that a step costs an addition.
struct StrokeAxis {
    long long Start;
    int Sign;
    long long Run;
    long long Steps;

    long long Offset(long long i) const {
        return static_cast<long long>((2 * static_cast<Wide>(i) * Run + Steps) /
                                      (2 * static_cast<Wide>(Steps)));
    }
    long long At(long long i) const { return Start + Sign * Offset(i); }

    // The steps in [0, last] at which the coordinate lies in [lo, hi], as [first, end); the
    // coordinate is monotonic in i, so they form one run.
    std::pair<long long, long long> StepsWithin(long long lo, long long hi, long long last) const {
        // The first i in [0, last + 1) for which the predicate holds; false then true.
        auto firstTrue = [&](auto predicate) {
            long long a = 0;
            long long b = last + 1;
            while (a < b) {
                const long long m = a + (b - a) / 2;
                if (predicate(m)) {
                    b = m;
                } else {
                    a = m + 1;
                }
            }
            return a;
        };
        if (Sign >= 0) {
            return {firstTrue([&](long long i) { return At(i) >= lo; }),
                    firstTrue([&](long long i) { return At(i) > hi; })};
        }
        return {firstTrue([&](long long i) { return At(i) <= hi; }),
                firstTrue([&](long long i) { return At(i) < lo; })};
    }
};

// Walks a stroke axis step by step from step i.
struct StrokeStepper {
    long long Pos;
    int Sign;
    long long TwoRun;
    long long TwoSteps;
    long long Rest;

    StrokeStepper(const StrokeAxis& axis, long long i)
        : Sign(axis.Sign), TwoRun(2 * axis.Run), TwoSteps(2 * axis.Steps) {
        const Wide num = 2 * static_cast<Wide>(i) * axis.Run + axis.Steps;
        Pos = axis.Start + axis.Sign * static_cast<long long>(num / TwoSteps);
        Rest = static_cast<long long>(num % TwoSteps);
    }
    void Next() {
        Rest += TwoRun;
        if (Rest >= TwoSteps) {
            Rest -= TwoSteps;
            Pos += Sign;
        }
    }
};

// Whether a step at this phase of the dot pattern sets its pixels.
bool DotOn(const TPenData& pen, int phase) {
    if (pen.SmallDots) return phase % 2 == 0;
    if (pen.Style == TPenStyle::psDot) return phase % kDotPeriod < kDotOn;
    return true;
}

}  // namespace

QRgb ToQRgb(TColor color) {
    const TColor c = ColorToRGB(color);
    return qRgb(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu),
                static_cast<int>((c >> 16) & 0xFFu));
}

TQtChartCanvas::TQtChartCanvas() = default;

TQtChartCanvas::~TQtChartCanvas() {
    if (painter_.isActive()) painter_.end();
}

void TQtChartCanvas::BeginPaint(QSize clientSize, double pixelRatio) {
    if (painter_.isActive()) painter_.end();
    if (image_.size() != clientSize) {
        image_ = clientSize.isEmpty() ? QImage() : QImage(clientSize, QImage::Format_RGB32);
        if (!image_.isNull()) image_.fill(Qt::white);
    }
    // The pass draws in device pixels; the ratio is given to the image when it is done.
    image_.setDevicePixelRatio(1.0);
    bits_ = image_.isNull() ? nullptr : reinterpret_cast<QRgb*>(image_.bits());
    stride_ = image_.isNull() ? 0 : image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    width_ = image_.width();
    height_ = image_.height();
    if (pixelRatio != pixelRatio_) {
        pixelRatio_ = pixelRatio;
        fonts_.clear();
        currentFont_ = kNoFont;
    }
    painterFont_ = kNoFont;
    painterClipVersion_ = ~0u;
    Unclip();
    penPos_ = {};
    dotPhase_ = 0;
    painting_ = true;
}

void TQtChartCanvas::EndPaint() {
    if (painter_.isActive()) painter_.end();
    Unclip();
    if (!image_.isNull()) image_.setDevicePixelRatio(pixelRatio_);
    painting_ = false;
}

QFont TQtChartCanvas::MakeFont(const TFontData& font, double pixelRatio) {
    QString family = font.Name;
    if (!QFontDatabase::hasFamily(family)) {
        for (const auto& [name, substitute] : kFontSubstitutes) {
            if (family.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
                family = QString::fromLatin1(substitute);
                break;
            }
        }
    }
    QFont result(family);
    result.setBold(font.Bold);
    result.setItalic(font.Italic);
    result.setUnderline(font.Underline);
    result.setStyleStrategy(QFont::NoAntialias);
    // Heights are pixels of the chart's layout; a denser screen gets as many more.
    const int height =
        pixelRatio == 1.0 ? font.Height : Rnd(font.Height * static_cast<long double>(pixelRatio));
    if (height < 0) {
        // Character height: the em square, which is what a pixel size sets.
        result.setPixelSize(-height);
    } else if (height > 0) {
        // Cell height: the largest size whose ascent plus descent still fits.
        int size = height;
        result.setPixelSize(size);
        while (size > 1 && QFontMetrics(result).height() > height) {
            result.setPixelSize(--size);
        }
    } else {
        result.setPixelSize(
            std::max(1, Rnd(kDefaultPixelSize * static_cast<long double>(pixelRatio))));
    }
    return result;
}

TQtChartCanvas::FontEntry& TQtChartCanvas::CurrentFont() {
    if (currentFont_ != kNoFont && fonts_[currentFont_].Key == Font) {
        return fonts_[currentFont_];
    }
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i].Key == Font) {
            currentFont_ = i;
            return fonts_[i];
        }
    }
    if (fonts_.size() >= kMaxFonts) {
        fonts_.clear();
        painterFont_ = kNoFont;
    }
    QFont font = MakeFont(Font, pixelRatio_);
    QFontMetrics metrics(font);
    const int height = metrics.height();
    const int ascent = metrics.ascent();
    fonts_.push_back(FontEntry{Font, std::move(font), std::move(metrics), height, ascent, {}});
    currentFont_ = fonts_.size() - 1;
    return fonts_.back();
}

int TQtChartCanvas::TextWidth(FontEntry& entry, const QString& text) {
    const auto found = entry.Widths.constFind(text);
    if (found != entry.Widths.constEnd()) return *found;
    if (entry.Widths.size() >= kMaxWidths) entry.Widths.clear();
    const int width = entry.Metrics.horizontalAdvance(text);
    entry.Widths.insert(text, width);
    return width;
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

const QRegion& TQtChartCanvas::ClipRegion() {
    if (clipRegionVersion_ == clipVersion_) return clipRegion_;
    // Rows with the same spans make one band of rectangles.
    std::vector<QRect> rects;
    int bandTop = 0;
    auto rowSpans = [&](int y) {
        return std::span(clipSpans_.data() + clipRows_[static_cast<std::size_t>(y)],
                         clipSpans_.data() + clipRows_[static_cast<std::size_t>(y) + 1]);
    };
    auto sameSpans = [&](int a, int b) {
        const auto sa = rowSpans(a);
        const auto sb = rowSpans(b);
        return std::equal(sa.begin(), sa.end(), sb.begin(), sb.end());
    };
    for (int y = 1; y <= height_; ++y) {
        if (y < height_ && sameSpans(y, bandTop)) continue;
        for (const auto& [x0, x1] : rowSpans(bandTop)) {
            rects.emplace_back(x0, bandTop, x1 - x0, y - bandTop);
        }
        bandTop = y;
    }
    clipRegion_ = QRegion();
    for (const QRect& r : rects) clipRegion_ += r;
    clipRegionVersion_ = clipVersion_;
    return clipRegion_;
}

void TQtChartCanvas::SetTextAlignment(unsigned flags) {
    alignment_ = flags;
}

int TQtChartCanvas::MeasureTextWidth(const QString& text) {
    FontEntry& entry = CurrentFont();
    return std::max(0, TextWidth(entry, text));
}

int TQtChartCanvas::MeasureTextHeight(const QString& /*text*/) {
    return std::max(0, CurrentFont().Height);
}

void TQtChartCanvas::TextOut2D(int x, int y, const QString& text) {
    if (image_.isNull() || text.isEmpty()) return;
    FontEntry& entry = CurrentFont();
    const std::size_t index = currentFont_;
    const int width = TextWidth(entry, text);
    const int height = entry.Height;
    // Horizontal flags: 0 left, 2 right, 6 centre; vertical: 0 top, 8 bottom, 24 baseline.
    long long left = x;
    if ((alignment_ & 6u) == 6u) {
        left = x - width / 2;
    } else if ((alignment_ & 6u) == 2u) {
        left = static_cast<long long>(x) - width;
    }
    long long top = y;
    if ((alignment_ & 24u) == 24u) {
        top = static_cast<long long>(y) - entry.Ascent;
    } else if ((alignment_ & 24u) == 8u) {
        top = static_cast<long long>(y) - height;
    }
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
    if (clipped_) {
        if (!painterClipped_ || painterClipVersion_ != clipVersion_) {
            painter.setClipRegion(ClipRegion());
            painterClipped_ = true;
            painterClipVersion_ = clipVersion_;
        }
    } else if (painterClipped_) {
        painter.setClipping(false);
        painterClipped_ = false;
    }
    if (painterFont_ != index) {
        painter.setFont(entry.Font);
        painterFont_ = index;
    }
    const QRgb color = ToQRgb(Font.Color);
    if (color != painterColor_) {
        painter.setPen(QColor(color));
        painterColor_ = color;
    }
    painter.drawText(QPoint(static_cast<int>(left), static_cast<int>(top) + entry.Ascent), text);
}

bool TQtChartCanvas::ClipAllows(int x, int y) const {
    if (!clipped_) return true;
    const auto row = static_cast<std::size_t>(y);
    for (int k = clipRows_[row]; k < clipRows_[row + 1]; ++k) {
        const auto& [x0, x1] = clipSpans_[static_cast<std::size_t>(k)];
        if (x >= x0 && x < x1) return true;
    }
    return false;
}

// Pixels x0..x1-1 of row y, inside the image and the clip.
void TQtChartCanvas::FillRow(int y, int x0, int x1, QRgb rgb) {
    if (y < 0 || y >= height_) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_);
    if (x0 >= x1) return;
    QRgb* row = bits_ + y * stride_;
    if (!clipped_) {
        std::fill(row + x0, row + x1, rgb);
        return;
    }
    const auto r = static_cast<std::size_t>(y);
    for (int k = clipRows_[r]; k < clipRows_[r + 1]; ++k) {
        const auto& [s0, s1] = clipSpans_[static_cast<std::size_t>(k)];
        const int a = std::max(x0, s0);
        const int b = std::min(x1, s1);
        if (a < b) std::fill(row + a, row + b, rgb);
    }
}

void TQtChartCanvas::SolidRect(long long left, long long top, long long right, long long bottom,
                               QRgb rgb) {
    const int x0 = static_cast<int>(std::clamp<long long>(left, 0, width_));
    const int x1 = static_cast<int>(std::clamp<long long>(right, 0, width_));
    const int y0 = static_cast<int>(std::clamp<long long>(top, 0, height_));
    const int y1 = static_cast<int>(std::clamp<long long>(bottom, 0, height_));
    if (x0 >= x1) return;
    for (int y = y0; y < y1; ++y) FillRow(y, x0, x1, rgb);
}

void TQtChartCanvas::FillSpans(std::span<const TPoint> points, QRgb rgb) {
    ForEachSpan(points, 0, height_, 0, width_,
                [&](int y, int x0, int x1) { FillRow(y, x0, x1, rgb); });
}

// One pen stroke from (x0,y0) towards (x1,y1). A one-pixel pen steps along the longer axis
// and sets the pixel nearest to the ideal line in the other (an exact half steps away from
// the start), leaving out the end point, which the next stroke of a path begins with. A wider
// pen stamps a square of its width (from -width/2) at every step, end point included, like
// the square-capped stroke of a geometric pen. Dotted pens follow their pattern along the path.
// Only the steps that can mark the image are walked.
void TQtChartCanvas::PenLine(int x0, int y0, int x1, int y1) {
    if (Pen.Style == TPenStyle::psClear || image_.isNull()) return;
    const long long dx = static_cast<long long>(x1) - x0;
    const long long dy = static_cast<long long>(y1) - y0;
    const long long steps = std::max(std::llabs(dx), std::llabs(dy));
    if (steps == 0) return;
    const QRgb rgb = ToQRgb(Pen.Color);
    const bool wide = !Pen.SmallDots && Pen.Width > 1;
    const long long last = wide ? steps : steps - 1;
    const int phase0 = dotPhase_;
    // A wide stroke stamps its end point; the next stroke starts there again.
    dotPhase_ = static_cast<int>((phase0 + last + (wide ? 0 : 1)) % kDotPeriod);

    const long long size = wide ? Pen.Width : 1;
    if (wide && size > std::max({width_, height_, 2 * kDotPeriod})) {
        WideLineByRows(x0, y0, dx, dy, last, phase0, rgb);
        return;
    }
    // A step marks the image when its stamp [p + from, p + from + size) meets it.
    const long long from = wide ? -(size / 2) : 0;
    const StrokeAxis ax{x0, dx < 0 ? -1 : 1, std::llabs(dx), steps};
    const StrokeAxis ay{y0, dy < 0 ? -1 : 1, std::llabs(dy), steps};
    const long long xLo = -from - size + 1;
    const long long xHi = width_ - 1 - from;
    const long long yLo = -from - size + 1;
    const long long yHi = height_ - 1 - from;
    long long first = 0;
    long long end = last + 1;
    // Both ends inside: so is every step between them, and there is nothing to search.
    if (std::min(x0, x1) < xLo || std::max(x0, x1) > xHi || std::min(y0, y1) < yLo ||
        std::max(y0, y1) > yHi) {
        const auto [fx, ex] = ax.StepsWithin(xLo, xHi, last);
        const auto [fy, ey] = ay.StepsWithin(yLo, yHi, last);
        first = std::max(fx, fy);
        end = std::min(ex, ey);
        if (first >= end) return;
    }

    StrokeStepper sx(ax, first);
    StrokeStepper sy(ay, first);
    int phase = static_cast<int>((phase0 + first) % kDotPeriod);
    const bool solid = !Pen.SmallDots && Pen.Style != TPenStyle::psDot;
    for (long long i = first; i < end; ++i) {
        if (solid || DotOn(Pen, phase)) {
            const int x = static_cast<int>(sx.Pos);
            const int y = static_cast<int>(sy.Pos);
            if (wide) {
                SolidRect(x + from, y + from, x + from + size, y + from + size, rgb);
            } else if (ClipAllows(x, y)) {
                bits_[y * stride_ + x] = rgb;
            }
        }
        sx.Next();
        sy.Next();
        if (++phase == kDotPeriod) phase = 0;
    }
}

// A pen wider than the image: per image row, the steps whose squares cover it are one run, and
// their squares, one pixel apart at most, join into one span (for a dotted pen, the squares of
// its set steps, which lie at most a dot gap apart, less than the width).
void TQtChartCanvas::WideLineByRows(long long x0, long long y0, long long dx, long long dy,
                                    long long last, int phase0, QRgb rgb) {
    const long long steps = std::max(std::llabs(dx), std::llabs(dy));
    const long long size = Pen.Width;
    const long long from = -(size / 2);
    const StrokeAxis ax{x0, dx < 0 ? -1 : 1, std::llabs(dx), steps};
    const StrokeAxis ay{y0, dy < 0 ? -1 : 1, std::llabs(dy), steps};
    for (int y = 0; y < height_; ++y) {
        auto [first, end] = ay.StepsWithin(y - from - size + 1, y - from, last);
        // Move the ends of the run onto set steps of the pattern.
        while (first < end && !DotOn(Pen, static_cast<int>((phase0 + first) % kDotPeriod))) ++first;
        while (first < end && !DotOn(Pen, static_cast<int>((phase0 + end - 1) % kDotPeriod))) --end;
        if (first >= end) continue;
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
    if (Brush.Style != TBrushStyle::bsSolid) return;
    const TRect n = Normalized(r);
    SolidRect(n.Left, n.Top, n.Right, n.Bottom, ToQRgb(Brush.Color));
}

void TQtChartCanvas::Rectangle2D(const TRect& r) {
    // Shapes leave the current position of the pen path where it was.
    const TPoint savedPos = penPos_;
    const int savedPhase = dotPhase_;
    const TRect n = Normalized(r);
    if (Brush.Style == TBrushStyle::bsSolid) {
        SolidRect(n.Left, n.Top, n.Right, n.Bottom, ToQRgb(Brush.Color));
    }
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
        if (right == n.Left && bottom == n.Top && Pen.Style != TPenStyle::psClear && n.Left >= 0 &&
            n.Left < width_ && n.Top >= 0 && n.Top < height_ && ClipAllows(n.Left, n.Top)) {
            bits_[n.Top * stride_ + n.Left] = ToQRgb(Pen.Color);
        }
    } else {
        MoveTo(n.Left, n.Top);
        LineTo(right, n.Top);
        LineTo(right, bottom);
        LineTo(n.Left, bottom);
        LineTo(n.Left, n.Top);
    }
}

void TQtChartCanvas::FillPolygon(std::span<const TPoint> points) {
    if (points.empty() || image_.isNull()) return;
    const TPoint savedPos = penPos_;
    const int savedPhase = dotPhase_;
    if (Brush.Style == TBrushStyle::bsSolid) FillSpans(points, ToQRgb(Brush.Color));
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
    if (image_.isNull()) return;
    clipped_ = true;
    ++clipVersion_;
    clipSpans_.clear();
    clipRows_.assign(static_cast<std::size_t>(height_) + 1, 0);
    // Spans arrive row by row from the top: count them per row, then turn counts into starts.
    ForEachSpan(points, 0, height_, 0, width_, [&](int y, int x0, int x1) {
        clipSpans_.emplace_back(x0, x1);
        ++clipRows_[static_cast<std::size_t>(y) + 1];
    });
    for (std::size_t y = 1; y < clipRows_.size(); ++y) clipRows_[y] += clipRows_[y - 1];
}

void TQtChartCanvas::ClipRectangle(const TRect& r) {
    const TRect n = Normalized(r);
    const std::array<TPoint, 4> corners = {
        TPoint{n.Left, n.Top}, {n.Right, n.Top}, {n.Right, n.Bottom}, {n.Left, n.Bottom}};
    ClipPolygon(corners);
}

void TQtChartCanvas::Unclip() {
    if (clipped_) ++clipVersion_;
    clipped_ = false;
}

}  // namespace zelmo::chart
