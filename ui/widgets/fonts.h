// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// The window's fonts. The layout was designed with "MS Sans Serif" and "Bookman Old Style";
// where a machine lacks them, free look-alikes of the same size are chosen here, so every
// widget of the window asks this file instead of naming a family itself.
namespace zelmo::ui::fonts {

// The first of the candidate families that the font database knows (foundry suffixes such as
// " [urw]" are ignored), or an empty string when none is installed.
QString firstInstalled(const QStringList& candidates);

// The family used for "MS Sans Serif" at the given character height in pixels: the real one
// if installed, else the first installed sans whose line height there matches the original's
// (13 px at 11 px), else any installed sans.
QString sansSerifFamily(int pixelSize);
QString bookmanFamily();  // "Bookman Old Style" or URW Bookman

// The window's font: "MS Sans Serif", 11 px character height, regular.
QFont windowFont();
// The cell buttons' captions: "MS Sans Serif" 19 px.
QFont cellFont();
// The grade names in the grade panel: "Bookman Old Style" 13 px bold.
QFont gradeFont();
// The contact links: "MS Sans Serif" 11 px, underlined or not.
QFont linkFont(bool underline);

// The line height of the window font at design time; layout positions scale by the real
// line height over this.
inline constexpr int kDesignLineHeight = 13;

}  // namespace zelmo::ui::fonts
