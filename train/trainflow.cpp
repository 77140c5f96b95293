// SPDX-License-Identifier: GPL-3.0-or-later
#include "train/trainflow.h"

#include "engine/game/playgame.h"

namespace zelmo::train {

TrainFlow::TrainFlow(Grades initial) : grades(initial) {
    addListener(*this);
    FormCreate();
}

TrainFlow::~TrainFlow() {
    removeListener(*this);
}

TrainFlow::GameResult TrainFlow::playGame(engine::Player& player, const ErrorHandler& onError) {
    GameResult result;
    finished_.reset();
    // Errors arise only while a game ends, and the game still ends: play goes on after them.
    const auto guarded = [&](auto&& action) {
        try {
            action();
        } catch (const std::exception& error) {
            ++result.errors;
            onError(error);
        }
    };
    const engine::GameInput input{[&] { guarded([this] { Button2Click(); }); },
                                  [&](int cell) { guarded([&] { SpeedButtonClick(cell); }); }};
    engine::playGame(*this, player, input);
    result.finished = finished_;
    if (finished_) {
        // A learning player's grading may overflow a weight as the computer's may: reported,
        // and play goes on.
        guarded([&] { player.gameOver(finished_->outcome); });
    }
    return result;
}

}  // namespace zelmo::train
