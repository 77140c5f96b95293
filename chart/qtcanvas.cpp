#include "chart/qtcanvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

namespace zelmo::chart {

namespace {

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

// floor(a / b) for b > 0.
long long FloorDiv(long long a, long long b) {
    const long long q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// The pixels inside a polygon under the alternate rule, row by row: a pixel belongs to it when
// its centre (the integer point) lies inside, counting points on a left or top edge and
// leaving out points on a right or bottom edge. Each edge covers the rows from its upper end
// up to, not including, its lower end, so a vertex shared by two edges is counted once.
// Calls span(y, x0, x1) for the pixels x0 <= x < x1 of row y.
template <typename SpanFn>
void ForEachSpan(std::span<const TPoint> points, SpanFn span) {
    const std::size_t n = points.size();
    if (n < 3) return;
    int top = points[0].Y;
    int bottom = points[0].Y;
    for (const TPoint& p : points) {
        top = std::min(top, p.Y);
        bottom = std::max(bottom, p.Y);
    }
    std::vector<long long> xs;
    for (int y = top; y < bottom; ++y) {
        xs.clear();
        for (std::size_t i = 0; i < n; ++i) {
            TPoint a = points[i];
            TPoint b = points[(i + 1) % n];
            if (a.Y == b.Y) continue;
            if (a.Y > b.Y) std::swap(a, b);
            if (y < a.Y || y >= b.Y) continue;
            // First pixel column at or right of the crossing: ceil(a.x + (y-a.y)*dx/dy).
            const long long dy = b.Y - a.Y;
            const long long num =
                static_cast<long long>(a.X) * dy + static_cast<long long>(y - a.Y) * (b.X - a.X);
            xs.push_back(-FloorDiv(-num, dy));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
            if (xs[k] < xs[k + 1]) span(y, static_cast<int>(xs[k]), static_cast<int>(xs[k + 1]));
        }
    }
}

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
TQtChartCanvas::~TQtChartCanvas() = default;

void TQtChartCanvas::BeginPaint(QSize clientSize) {
    if (image_.size() != clientSize) {
        image_ = clientSize.isEmpty() ? QImage() : QImage(clientSize, QImage::Format_RGB32);
        if (!image_.isNull()) image_.fill(Qt::white);
    }
    clip_.clear();
    penPos_ = {};
    dotPhase_ = 0;
    painting_ = true;
}

void TQtChartCanvas::EndPaint() {
    clip_.clear();
    painting_ = false;
}

QFont TQtChartCanvas::MakeFont(const TFontData& font) {
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
    if (font.Height < 0) {
        // Character height: the em square, which is what a pixel size sets.
        result.setPixelSize(-font.Height);
    } else if (font.Height > 0) {
        // Cell height: the largest size whose ascent plus descent still fits.
        int size = font.Height;
        result.setPixelSize(size);
        while (size > 1 && QFontMetrics(result).height() > font.Height) {
            result.setPixelSize(--size);
        }
    } else {
        result.setPixelSize(kDefaultPixelSize);
    }
    return result;
}

const QFont& TQtChartCanvas::CurrentFont() {
    if (!fontValid_ || !(fontData_ == Font)) {
        fontData_ = Font;
        font_ = MakeFont(Font);
        fontValid_ = true;
    }
    return font_;
}

void TQtChartCanvas::SetTextAlignment(unsigned flags) {
    alignment_ = flags;
}

int TQtChartCanvas::MeasureTextWidth(const QString& text) {
    return std::max(0, QFontMetrics(CurrentFont()).horizontalAdvance(text));
}

int TQtChartCanvas::MeasureTextHeight(const QString& /*text*/) {
    return std::max(0, QFontMetrics(CurrentFont()).height());
}

void TQtChartCanvas::TextOut2D(int x, int y, const QString& text) {
    if (image_.isNull() || text.isEmpty()) return;
    const QFont& font = CurrentFont();
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    // Horizontal flags: 0 left, 2 right, 6 centre; vertical: 0 top, 8 bottom, 24 baseline.
    int left = x;
    if ((alignment_ & 6u) == 6u) {
        left = x - width / 2;
    } else if ((alignment_ & 6u) == 2u) {
        left = x - width;
    }
    int top = y;
    if ((alignment_ & 24u) == 24u) {
        top = y - metrics.ascent();
    } else if ((alignment_ & 24u) == 8u) {
        top = y - height;
    }

    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    if (!clip_.empty()) painter.setClipRegion(ClipRegion());
    if (BackMode == TBackMode::Opaque) {
        painter.fillRect(QRect(left, top, width, height), QColor(ToQRgb(BackColor)));
    }
    painter.setFont(font);
    painter.setPen(QColor(ToQRgb(Font.Color)));
    painter.drawText(QPoint(left, top + metrics.ascent()), text);
}

void TQtChartCanvas::Plot(int x, int y, QRgb rgb) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    if (!clip_.empty() && clip_[static_cast<std::size_t>(y) * image_.width() + x] == 0) return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = rgb;
}

// Pixels x0..x1-1 of row y, inside the image and the clip. The row is fetched once: a fill
// covers whole rows (the panel background alone is some 47 000 pixels every pass).
void TQtChartCanvas::FillRow(int y, int x0, int x1, QRgb rgb) {
    if (y < 0 || y >= image_.height()) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, image_.width());
    if (x0 >= x1) return;
    QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
    if (clip_.empty()) {
        std::fill(row + x0, row + x1, rgb);
        return;
    }
    const unsigned char* inside = clip_.data() + static_cast<std::size_t>(y) * image_.width();
    for (int x = x0; x < x1; ++x) {
        if (inside[x] != 0) row[x] = rgb;
    }
}

void TQtChartCanvas::SolidRect(int left, int top, int right, int bottom, QRgb rgb) {
    for (int y = top; y < bottom; ++y) FillRow(y, left, right, rgb);
}

void TQtChartCanvas::FillSpans(std::span<const TPoint> points, QRgb rgb) {
    ForEachSpan(points, [&](int y, int x0, int x1) { FillRow(y, x0, x1, rgb); });
}

// One pen stroke from (x0,y0) towards (x1,y1). A one-pixel pen steps along the longer axis
// and sets the pixel nearest to the ideal line in the other (an exact half steps away from
// the start), leaving out the end point, which the next stroke of a path begins with. A wider
// pen stamps a square of its width (from -width/2) at every step, end point included, like
// the square-capped stroke of a geometric pen. Dotted pens follow their pattern along the path.
void TQtChartCanvas::PenLine(int x0, int y0, int x1, int y1) {
    if (Pen.Style == TPenStyle::psClear || image_.isNull()) return;
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0) return;
    const QRgb rgb = ToQRgb(Pen.Color);
    const bool wide = !Pen.SmallDots && Pen.Width > 1;
    const int last = wide ? steps : steps - 1;
    const long long twoSteps = 2LL * steps;
    for (int i = 0; i <= last; ++i) {
        const long long ox = FloorDiv(2LL * i * std::abs(dx) + steps, twoSteps);
        const long long oy = FloorDiv(2LL * i * std::abs(dy) + steps, twoSteps);
        const int x = x0 + static_cast<int>(dx < 0 ? -ox : ox);
        const int y = y0 + static_cast<int>(dy < 0 ? -oy : oy);
        const int phase = dotPhase_++;
        if (Pen.SmallDots) {
            if (phase % 2 != 0) continue;
        } else if (Pen.Style == TPenStyle::psDot) {
            if (phase % kDotPeriod >= kDotOn) continue;
        }
        if (wide) {
            const int from = -Pen.Width / 2;
            SolidRect(x + from, y + from, x + from + Pen.Width, y + from + Pen.Width, rgb);
        } else {
            Plot(x, y, rgb);
        }
    }
    // A wide stroke stamped its end point; the next stroke starts there again.
    if (wide) --dotPhase_;
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
    if (n.Right - n.Left >= 1 && n.Bottom - n.Top >= 1) Frame(n);
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
        if (right == n.Left && bottom == n.Top && Pen.Style != TPenStyle::psClear) {
            Plot(n.Left, n.Top, ToQRgb(Pen.Color));
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
    if (points.empty()) return;
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
    clip_.assign(static_cast<std::size_t>(image_.width()) * image_.height(), 0);
    const int w = image_.width();
    const int h = image_.height();
    ForEachSpan(points, [&](int y, int x0, int x1) {
        if (y < 0 || y >= h) return;
        for (int x = std::max(x0, 0); x < std::min(x1, w); ++x) {
            clip_[static_cast<std::size_t>(y) * w + x] = 1;
        }
    });
}

void TQtChartCanvas::ClipRectangle(const TRect& r) {
    const TRect n = Normalized(r);
    const std::array<TPoint, 4> corners = {
        TPoint{n.Left, n.Top}, {n.Right, n.Top}, {n.Right, n.Bottom}, {n.Left, n.Bottom}};
    ClipPolygon(corners);
}

void TQtChartCanvas::Unclip() {
    clip_.clear();
}

QRegion TQtChartCanvas::ClipRegion() const {
    QRegion region;
    const int w = image_.width();
    for (int y = 0; y < image_.height(); ++y) {
        const unsigned char* row = clip_.data() + static_cast<std::size_t>(y) * w;
        for (int x = 0; x < w;) {
            if (row[x] == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < w && row[x] != 0) ++x;
            region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}

}  // namespace zelmo::chart
