// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/tchartcanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QString>

#include <cstddef>
#include <vector>

namespace zelmo::chart {

// The fonts of the chart's drawing device: each font description resolved once into a Qt font
// sized for the screen's density, its metrics and the widths of the texts measured in it. The
// chart's fonts change only when a property does, so a pass finds them here.
class FontCache {
  public:
    struct Entry {
        TFontData Key;
        QFont Font;
        QFontMetrics Metrics;
        int Height;
        int Ascent;
        QHash<QString, int> Widths;
    };

    // The Qt font that a font description selects (substitutes applied, pixel size set for
    // pixelRatio device pixels per pixel).
    static QFont MakeFont(const TFontData& font, double pixelRatio = 1.0);

    // Forgets every font when the density changes.
    void SetPixelRatio(double pixelRatio);
    // The index of the entry of a font description, made on first use. Indexes stay valid until
    // Generation() changes.
    std::size_t IndexOf(const TFontData& font);
    Entry& At(std::size_t index) { return fonts_[index]; }
    unsigned Generation() const { return generation_; }
    // The width of a text in an entry's font, in device pixels.
    static int TextWidth(Entry& entry, const QString& text);

  private:
    void Clear();

    double pixelRatio_ = 1.0;
    std::vector<Entry> fonts_;
    static constexpr std::size_t kNone = ~std::size_t{0};
    std::size_t last_ = kNone;
    unsigned generation_ = 0;
};

}  // namespace zelmo::chart
