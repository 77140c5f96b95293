// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/history/historykeeper.h"

#include "engine/game/errors.h"
#include "engine/game/lesson.h"

#include <utility>

namespace zelmo::ui {

void HistoryKeeper::replace(engine::LearningHistory history) {
    history_ = std::move(history);
    emit changed();
}

void HistoryKeeper::gameFinished(const engine::FinishedGame& game, bool watching) {
    lastOutcome_ = game.outcome;
    try {
        history_.add(engine::historyGame(game), watching ? engine::LearningHistory::kWhileRunning
                                                         : engine::LearningHistory::kByHand);
    } catch (const engine::EIntOverflow&) {
        // 2^53 games counted: the history stays as it is, the game goes on.
        return;
    }
    emit changed();
}

void HistoryKeeper::wiped() {
    history_.clear();
    lastOutcome_.reset();
    emit changed();
}

}  // namespace zelmo::ui
