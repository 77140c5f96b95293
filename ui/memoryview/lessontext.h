// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "engine/game/lesson.h"

namespace zelmo::ui {

// The last game's lesson in one line for the memory view: every answer the computer played,
// on the board's cell when known, with its weight before and after and the grade that changed
// it, e.g. «Урок партии (победа компьютера): клетка 5: 0 → 2 (Победа 5: +2); …».
QString lessonText(const engine::GameLesson& lesson);

}  // namespace zelmo::ui
