// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAccessibleInterface;

namespace zelmo::ui {

class TSpinEdit;

namespace accessible {

// A grade spinner as assistive technology sees it: a spin box with its value, its bounds and its
// step, and its text with the caret and the selection for reading what is typed.
QAccessibleInterface* newSpinBox(TSpinEdit* spin);

}  // namespace accessible

}  // namespace zelmo::ui
