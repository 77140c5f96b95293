// SPDX-License-Identifier: GPL-3.0-or-later
// Games in the real window by clicks, for the window's tests, the crash driver and the
// benchmarks: the play button, then a player's moves on the cells until the game ends.
#pragma once

#include "engine/game/players.h"
#include "engine/game/playgame.h"
#include "ui/form/unit1.h"
#include "ui/widgets/controls.h"

namespace zelmo::windowgame {

using engine::OrderPlayer;

// Clicks on the window's buttons.
inline engine::GameInput clicksOn(ui::TForm1& form) {
    return {[&form] { form.Button2->click(); },
            [&form](int cell) { form.cellButton(cell)->click(); }};
}

// The rest of the game that runs: the player's moves until the game ends.
inline void finishGame(ui::TForm1& form, engine::Player& player) {
    engine::finishGame(form, player, clicksOn(form));
}

// One whole game: the play button, then the player's moves.
inline void playGame(ui::TForm1& form, engine::Player& player) {
    engine::playGame(form, player, clicksOn(form));
}

}  // namespace zelmo::windowgame
