// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAccessibleInterface;

namespace zelmo::ui {

class PositionList;

namespace accessible {

// The memory view's list as assistive technology sees it: a list whose items are the positions
// alone, each at its place among positions, named as the model reads it; the group headings
// have no item. A screen reader's «where am I» then says «3 of 40» over positions.
QAccessibleInterface* newPositionList(PositionList* list);

}  // namespace accessible

}  // namespace zelmo::ui
