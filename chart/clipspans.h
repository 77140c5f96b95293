// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/raster.h"

#include <QRegion>

#include <span>
#include <utility>
#include <vector>

namespace zelmo::chart {

// The clip of the chart's drawing device: the pixels of a polygon kept as spans per image row,
// so that a fill or a pen stamp asks only the spans of its own row. Text goes through a
// painter, which gets the same pixels as a region.
class ClipSpans {
  public:
    bool Active() const { return active_; }
    // Any change of the clip changes the version, so a painter knows when to take it again.
    unsigned Version() const { return version_; }

    // Clips to the polygon's pixels within an image of the given size.
    void Set(std::span<const raster::Point> points, int width, int height);
    void Clear();

    bool Allows(int x, int y) const {
        if (!active_) {
            return true;
        }
        const auto row = static_cast<std::size_t>(y);
        for (int k = rows_[row]; k < rows_[row + 1]; ++k) {
            const auto& [x0, x1] = spans_[static_cast<std::size_t>(k)];
            if (x >= x0 && x < x1) {
                return true;
            }
        }
        return false;
    }

    // Calls part(a, b) for each piece [a, b) of the pixels [x0, x1) of row y that the clip keeps.
    template <typename PartFn>
    void ForEachPart(int y, int x0, int x1, PartFn part) const {
        if (!active_) {
            part(x0, x1);
            return;
        }
        const auto r = static_cast<std::size_t>(y);
        for (int k = rows_[r]; k < rows_[r + 1]; ++k) {
            const auto& [s0, s1] = spans_[static_cast<std::size_t>(k)];
            const int a = std::max(x0, s0);
            const int b = std::min(x1, s1);
            if (a < b) {
                part(a, b);
            }
        }
    }

    // The clip as a region of rectangles, made again only after a change.
    const QRegion& Region();

  private:
    bool active_ = false;
    unsigned version_ = 0;
    int height_ = 0;
    // Row y holds the spans spans_[rows_[y]] up to spans_[rows_[y + 1]], each a pixel range
    // [first, second).
    std::vector<int> rows_;
    std::vector<std::pair<int, int>> spans_;
    QRegion region_;
    unsigned regionVersion_ = ~0u;
};

}  // namespace zelmo::chart
