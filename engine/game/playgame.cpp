// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/playgame.h"

namespace zelmo::engine {

GameInput entryPointsOf(GameFlow& flow) {
    return {[&flow] { flow.Button2Click(); }, [&flow](int cell) { flow.SpeedButtonClick(cell); }};
}

void playMove(const GameFlow& flow, Player& player, const GameInput& input) {
    input.click(player.move(flow.board()));
}

int finishGame(const GameFlow& flow, Player& player, const GameInput& input) {
    int moves = 0;
    for (; flow.acceptingMoves() && moves < Board::kCells; ++moves) {
        playMove(flow, player, input);
    }
    return moves;
}

int playGame(const GameFlow& flow, Player& player, const GameInput& input) {
    input.play();
    return finishGame(flow, player, input);
}

}  // namespace zelmo::engine
