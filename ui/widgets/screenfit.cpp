// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/screenfit.h"

#include <algorithm>

namespace zelmo::ui {

QPoint fitOnScreen(const QRect& frame, const QRect& available) {
    if (available.isEmpty()) {
        return frame.topLeft();
    }
    // Off the far edge first, then the near edge wins, so the title bar stays reachable.
    const auto place = [](int start, int length, int areaStart, int areaLength) {
        const int moved = std::min(start, areaStart + areaLength - length);
        return std::max(moved, areaStart);
    };
    return {place(frame.left(), frame.width(), available.left(), available.width()),
            place(frame.top(), frame.height(), available.top(), available.height())};
}

}  // namespace zelmo::ui
