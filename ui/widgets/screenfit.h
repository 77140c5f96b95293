// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>

namespace zelmo::ui {

// Where a window whose outer frame is `frame` goes so that all of it lies on the screen's
// available area: moved just enough, and not at all when it fits. A frame larger than the
// area keeps its top left corner on it.
QPoint fitOnScreen(const QRect& frame, const QRect& available);

}  // namespace zelmo::ui
