// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/clipspans.h"

#include <QRect>

#include <algorithm>

namespace zelmo::chart {

void ClipSpans::Set(std::span<const raster::Point> points, int width, int height) {
    active_ = true;
    ++version_;
    height_ = height;
    spans_.clear();
    rows_.assign(static_cast<std::size_t>(height) + 1, 0);
    // Spans arrive row by row from the top and from the left: count them per row, then turn
    // counts into starts. Spans that meet (where edges cross) join into one.
    raster::ForEachSpan(points, 0, height, 0, width, [&](int y, int x0, int x1) {
        int& count = rows_[static_cast<std::size_t>(y) + 1];
        if (count > 0 && spans_.back().second == x0) {
            spans_.back().second = x1;
            return;
        }
        spans_.emplace_back(x0, x1);
        ++count;
    });
    for (std::size_t y = 1; y < rows_.size(); ++y) {
        rows_[y] += rows_[y - 1];
    }
}

void ClipSpans::Clear() {
    if (active_) {
        ++version_;
    }
    active_ = false;
}

const QRegion& ClipSpans::Region() {
    if (regionVersion_ == version_) {
        return region_;
    }
    // Rows with the same spans make one band of rectangles. The bands come from the top and
    // the spans of a row from the left, apart from each other, so the rectangles are already
    // in the form that QRegion keeps (sorted by top, then left; one height per band; none
    // touching side by side; no two equal bands one on the other) and make the region in one
    // step, where adding them one by one would merge a growing region each time.
    std::vector<QRect> rects;
    int bandTop = 0;
    auto rowSpans = [&](int y) {
        return std::span(spans_.data() + rows_[static_cast<std::size_t>(y)],
                         spans_.data() + rows_[static_cast<std::size_t>(y) + 1]);
    };
    auto sameSpans = [&](int a, int b) {
        const auto sa = rowSpans(a);
        const auto sb = rowSpans(b);
        return std::equal(sa.begin(), sa.end(), sb.begin(), sb.end());
    };
    for (int y = 1; y <= height_; ++y) {
        if (y < height_ && sameSpans(y, bandTop)) {
            continue;
        }
        for (const auto& [x0, x1] : rowSpans(bandTop)) {
            rects.emplace_back(x0, bandTop, x1 - x0, y - bandTop);
        }
        bandTop = y;
    }
    region_.setRects(rects.data(), static_cast<int>(rects.size()));
    regionVersion_ = version_;
    return region_;
}

}  // namespace zelmo::chart
