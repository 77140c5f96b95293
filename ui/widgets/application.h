// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace zelmo::ui {

// Gives the application its name ("Zelmo": the task-bar text and the error box's caption),
// the classic Windows look (raised button faces, sunken edit boxes, the button-face colour
// and its palette), the window font and the icon. Called once, before the window is built.
void initApplication(QApplication& app);

}  // namespace zelmo::ui
