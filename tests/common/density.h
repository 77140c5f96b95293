// SPDX-License-Identifier: GPL-3.0-or-later
// Widgets as screens of other densities show them: render at a device pixel ratio, read runs
// of equal colour along a line, and compare a picture at ratio 2 with the one at ratio 1.
// Header-only and Qt Widgets only, for the chart's tests and the window's.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace zelmo::density {

// The widget and its children as a screen of the given ratio would show them, on magenta,
// in device pixels.
inline QImage renderAt(QWidget& widget, qreal ratio) {
    QImage image(static_cast<int>(std::ceil(widget.width() * ratio)),
                 static_cast<int>(std::ceil(widget.height() * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::magenta);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    image.setDevicePixelRatio(1.0);
    return image;
}

// A run of one colour (without alpha) along a line of pixels.
struct Run {
    QRgb colour;
    int length;
};

// The runs of equal colour met going from (x, y) in count steps of (dx, dy).
inline std::vector<Run> runs(const QImage& image, int x, int y, int dx, int dy, int count) {
    std::vector<Run> result;
    for (int i = 0; i < count; ++i, x += dx, y += dy) {
        const QRgb colour = image.pixel(x, y) & 0xFFFFFFu;
        if (result.empty() || result.back().colour != colour) {
            result.push_back({colour, 0});
        }
        ++result.back().length;
    }
    return result;
}

// The lengths of those runs.
inline std::vector<int> runLengths(const QImage& image, int x, int y, int dx, int dy, int count) {
    std::vector<int> lengths;
    for (const Run& run : runs(image, x, y, dx, dy, count)) {
        lengths.push_back(run.length);
    }
    return lengths;
}

// The pixels of one where two, scaled down by two (each two by two square averaged), differs
// by more than a quarter of the full range in some channel: the picture of ratio 2 is the one
// of ratio 1 twice as large but for the edges of letters and slanted lines.
inline int pixelsDifferingFromHalf(const QImage& one, const QImage& two) {
    int differing = 0;
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            int worst = 0;
            for (const int shift : {0, 8, 16}) {
                int sum = 0;
                for (int k = 0; k < 4; ++k) {
                    sum += static_cast<int>((two.pixel(2 * x + k % 2, 2 * y + k / 2) >> shift) &
                                            0xFFu);
                }
                worst = std::max(
                    worst,
                    std::abs(sum / 4 - static_cast<int>((one.pixel(x, y) >> shift) & 0xFFu)));
            }
            differing += worst > 64 ? 1 : 0;
        }
    }
    return differing;
}

}  // namespace zelmo::density
