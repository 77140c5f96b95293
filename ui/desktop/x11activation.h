// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace zelmo::ui {

// Gives the focus to `window` on X11 as the user's own request: Qt asks with the time of the
// last event it saw, which the X server and window managers refuse once another window has
// taken the focus since; a second start of the program is the user asking now. With a window
// manager it is asked through _NET_ACTIVE_WINDOW (as a pager or taskbar asks), without one the
// focus is set directly. Does nothing on other window systems.
void activateOnX11(QWidget& window);

}  // namespace zelmo::ui
