// SPDX-License-Identifier: GPL-3.0-or-later
#include "train/trainflow.h"

namespace zelmo::train {

TrainFlow::TrainFlow(Grades initial) : grades(initial) {
    FormCreate();
}

std::int32_t TrainFlow::readGrade(int spinner) {
    switch (spinner) {
        case 1:
            return grades.win;
        case 2:
            return grades.loss;
        default:
            return grades.draw;
    }
}

TrainFlow::GameResult TrainFlow::playGame(engine::Player& player, const ErrorHandler& onError) {
    GameResult result;
    finished_.reset();
    auto guarded = [&](auto&& action) {
        try {
            action();
        } catch (const std::exception& error) {
            ++result.errors;
            onError(error);
        }
    };
    guarded([this] { Button2Click(); });
    // Every click places a mark or ends the game, errors or not (they arise only while a game
    // ends); the bound only keeps a fault from turning into an endless loop.
    for (int clicks = 0; acceptingMoves() && clicks < 9; ++clicks) {
        const int cell = player.move(board());
        guarded([this, cell] { SpeedButtonClick(cell); });
    }
    result.outcome = finished_;
    return result;
}

}  // namespace zelmo::train
