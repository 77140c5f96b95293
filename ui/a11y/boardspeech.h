// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "engine/game/gameflow.h"

// What a screen reader hears of the game on demand, read from the game flow: the whole board,
// whose move it is and the score (the session's board key), and why a digit played nothing (the
// window's digit keys). Only the announcer says these; nothing on screen shows them.
namespace zelmo::ui::boardspeech {

// «Ряд 1: крестик, пусто, нолик; Ряд 2: …; Ряд 3: …. Ваш ход. Счёт: игрок 3, компьютер 1,
// ничьих 5»; between games the second sentence says who begins the next one.
QString board(const engine::GameFlow& flow);

// Why digit `cell` (1..9) plays nothing: «Клетка 5 занята» or «Партия не начата: …»; empty when
// it plays.
QString refusedMove(const engine::GameFlow& flow, int cell);

}  // namespace zelmo::ui::boardspeech
