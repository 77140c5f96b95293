// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/gameflow.h"
#include "engine/game/history.h"

#include <QObject>

#include <optional>

namespace zelmo::ui {

// The window's learning history: one game after another as they end, under the grades in force
// at each game's end, in blocks of one game played by hand or of a hundred while the window
// plays itself. It is a part of the window's memory document (windowdocument.h), read and
// written with it; a wipe of the memory starts it anew (the old one stays in the backup). The
// session tells it the end of a game before the store saves, so the save holds the game.
class HistoryKeeper : public QObject {
    Q_OBJECT
  public:
    explicit HistoryKeeper(QObject* parent = nullptr) : QObject(parent) {}

    // A game has ended; `watching` when the window played it by itself.
    void gameFinished(const engine::FinishedGame& game, bool watching);
    void wiped();
    // The history of a memory read or brought back.
    void replace(engine::LearningHistory history);

    // How the last game ended, until a wipe (the memory view's lesson when it opens later).
    const std::optional<engine::Outcome>& lastOutcome() const { return lastOutcome_; }

    engine::LearningHistory& history() { return history_; }
    const engine::LearningHistory& history() const { return history_; }

  signals:
    // The history has a new game, was wiped or read from a file.
    void changed();

  private:
    engine::LearningHistory history_;
    std::optional<engine::Outcome> lastOutcome_;
};

}  // namespace zelmo::ui
