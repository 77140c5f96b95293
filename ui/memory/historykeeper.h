// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/gameflow.h"
#include "engine/history.h"

#include <QObject>

#include <optional>

namespace zelmo::ui {

class TSpinEdit;

// The window's learning history: one game after another as they end, under the grades the
// three spinners hold (win, loss, draw), in blocks of one game played by hand or of a hundred
// while the window plays itself. The memory file's store reads and writes it with the memory;
// a wipe of the memory starts it anew (the old one stays in the backup). The session tells it
// the end of a game before the store saves, so the save holds the game.
class HistoryKeeper : public QObject {
    Q_OBJECT
  public:
    HistoryKeeper(const TSpinEdit& win, const TSpinEdit& loss, const TSpinEdit& draw,
                  QObject* parent = nullptr);

    // A game has ended; `watching` when the window played it by itself.
    void gameFinished(const engine::FinishedGame& game, bool watching);
    void wiped();
    // Tells the listeners that the history was replaced (the store read it).
    void replaced() { emit changed(); }

    // How the last game ended, until a wipe (the memory view's lesson when it opens later).
    const std::optional<engine::Outcome>& lastOutcome() const { return lastOutcome_; }

    engine::LearningHistory& history() { return history_; }
    const engine::LearningHistory& history() const { return history_; }

  signals:
    // The history has a new game, was wiped or read from a file.
    void changed();

  private:
    // Reads the three spinners again (their text changed).
    void readGrades();

    const TSpinEdit& win_;
    const TSpinEdit& loss_;
    const TSpinEdit& draw_;
    // The spinners' values, read when their text changes rather than parsed at every game.
    engine::HistoryGrades grades_;
    engine::LearningHistory history_;
    std::optional<engine::Outcome> lastOutcome_;
};

}  // namespace zelmo::ui
