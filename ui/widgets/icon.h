// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>

// The program's icon (MAINICON): a 32 x 32 picture in the 16 standard colours, drawn here
// pixel by pixel so that no image file is needed: a raised tile with a board on which three
// crosses stand in a diagonal line between two noughts.
namespace zelmo::ui {

// The picture itself, an indexed image whose colour table holds the 16 standard colours.
QImage mainIconImage();
// The window and task-bar icon: that picture for 32 pixels, and beside it the icon theme's
// 16, 22 and 48 pixel pictures (built into the program), so that a window manager drawing the
// icon smaller or larger takes a picture drawn for that size instead of scaling this one.
QIcon mainIcon();

}  // namespace zelmo::ui
