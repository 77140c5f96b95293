// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/fontcache.h"

#include "chart/chartmath.h"

#include <QFontDatabase>

#include <algorithm>
#include <array>
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

// A chart uses two or three fonts; more means properties keep changing, and the cache starts
// again rather than grow. Likewise for the measured texts of one font.
constexpr std::size_t kMaxFonts = 16;
constexpr qsizetype kMaxWidths = 512;

}  // namespace

QFont FontCache::MakeFont(const TFontData& font, double pixelRatio) {
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
    const int height = Rnd(font.Height * static_cast<long double>(pixelRatio));
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

void FontCache::SetPixelRatio(double pixelRatio) {
    if (pixelRatio != pixelRatio_) {
        pixelRatio_ = pixelRatio;
        Clear();
    }
}

void FontCache::Clear() {
    fonts_.clear();
    last_ = kNone;
    ++generation_;
}

std::size_t FontCache::IndexOf(const TFontData& font) {
    if (last_ != kNone && fonts_[last_].Key == font) {
        return last_;
    }
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i].Key == font) {
            last_ = i;
            return i;
        }
    }
    if (fonts_.size() >= kMaxFonts) {
        Clear();
    }
    QFont made = MakeFont(font, pixelRatio_);
    QFontMetrics metrics(made);
    const int height = metrics.height();
    const int ascent = metrics.ascent();
    fonts_.push_back(Entry{font, made, metrics, height, ascent, {}});
    last_ = fonts_.size() - 1;
    return last_;
}

int FontCache::TextWidth(Entry& entry, const QString& text) {
    const auto found = entry.Widths.constFind(text);
    if (found != entry.Widths.constEnd()) {
        return *found;
    }
    if (entry.Widths.size() >= kMaxWidths) {
        entry.Widths.clear();
    }
    const int width = entry.Metrics.horizontalAdvance(text);
    entry.Widths.insert(text, width);
    return width;
}

}  // namespace zelmo::chart
