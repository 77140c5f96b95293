// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <vector>

namespace zelmo::ui {

// The main window at design (96 dpi): its client area, the outer frame's screen position and
// the status bar's height.
namespace formlayout {
inline constexpr int kClientWidth = 380;
inline constexpr int kClientHeight = 303;
inline constexpr int kFrameLeft = 298;
inline constexpr int kFrameTop = 153;
inline constexpr int kFrameWidth = 388;
inline constexpr int kFrameHeight = 330;
inline constexpr int kStatusBarHeight = 19;
}  // namespace formlayout

// One control of the main window at design, in creation order (later controls cover earlier
// ones): its name, whether it lies in the grade panel, its design rectangle (a label's width
// and height follow its caption) and its caption at start. The window builds its controls
// from this table, and its tests read it.
struct LayoutRow {
    QString name;
    bool inPanel;
    int left, top, width, height;
    QString caption;
};

const std::vector<LayoutRow>& formLayout();
// The row of the control `name`, or nullptr.
const LayoutRow* layoutRow(const QString& name);

}  // namespace zelmo::ui
