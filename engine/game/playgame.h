// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/gameflow.h"
#include "engine/game/players.h"

#include <functional>

namespace zelmo::engine {

// How a player's actions reach a game: the play button and a click on a cell. The trainer
// calls the flow's entry points inside its error guard, the window's tools click its buttons.
struct GameInput {
    std::function<void()> play;
    std::function<void(int cell)> click;
};

// The flow's own entry points, with nothing around them.
GameInput entryPointsOf(GameFlow& flow);

// The player's move in the game that runs: the cell it chooses, clicked through `input`.
void playMove(const GameFlow& flow, Player& player, const GameInput& input);

// The rest of the game that runs: the player's moves while the flow accepts them, nine at most
// (every click places a mark or ends the game, so the bound only keeps a fault from looping).
// Returns the moves made.
int finishGame(const GameFlow& flow, Player& player, const GameInput& input);

// One whole game: the play button, then finishGame. Returns the player's moves.
int playGame(const GameFlow& flow, Player& player, const GameInput& input);

}  // namespace zelmo::engine
