// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/memory/historykeeper.h"

#include "engine/errors.h"
#include "engine/lesson.h"
#include "ui/spin/spinedit.h"

namespace zelmo::ui {

HistoryKeeper::HistoryKeeper(const TSpinEdit& win, const TSpinEdit& loss, const TSpinEdit& draw,
                             QObject* parent)
    : QObject(parent), win_(win), loss_(loss), draw_(draw) {
    for (const TSpinEdit* spinner : {&win_, &loss_, &draw_}) {
        connect(spinner, &QLineEdit::textChanged, this, &HistoryKeeper::readGrades);
    }
    readGrades();
}

void HistoryKeeper::readGrades() {
    grades_ = {win_.value(), loss_.value(), draw_.value()};
}

void HistoryKeeper::gameFinished(const engine::FinishedGame& game, bool watching) {
    lastOutcome_ = game.outcome;
    try {
        history_.add(
            engine::historyGame(game, grades_),
            watching ? engine::LearningHistory::kWhileRunning : engine::LearningHistory::kByHand);
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
