// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

#include "engine/game/gameflow.h"
#include "ui/memoryview/positionlist.h"

class QLabel;
class QScrollArea;

namespace zelmo::ui {

class MemoryModel;

// The memory view «Память компьютера»: a non-modal top-level window that shows every position
// the computer remembers as a small board (a match box) with its answers' weights on coloured
// beads, and a summary line. It follows the game while shown (at most once a frame) and does
// nothing while hidden; it only reads the game flow, and hears from it when an event has
// changed the game. The session opens it with F3, as a window of `parent` (the main window).
class MemoryView : public QWidget, private engine::GameListener {
    Q_OBJECT
  public:
    MemoryView(engine::GameFlow& flow, QWidget* parent);
    ~MemoryView() override;

    // Shows the window (or brings it to the front) with the memory as it is now.
    void open();
    // Reads the memory again and repaints (a full refresh; the benchmark's unit).
    void refreshNow();
    // The memory file in use, named under the summary ("" for none).
    void setMemoryFile(const QString& path);
    // The games the memory's history counts, for the summary.
    void setMemoryGames(std::uint64_t games);
    // Says a group's heading to a screen reader as the keys enter the group.
    void setSpeaker(std::function<void(const QString&)> speak) { speak_ = std::move(speak); }
    // The moves of the learner for "X" that plays the game in progress (or played the last
    // game), for the account of the game; none when no learner played it.
    using CrossMoves = std::function<const std::vector<engine::MoveExplanation>*()>;
    void setCrossMoves(CrossMoves moves) { crossMoves_ = std::move(moves); }

    // The last game's outcome when the view was made after it (its lesson is shown).
    void setLastOutcome(std::optional<engine::Outcome> outcome) { lessonOutcome_ = outcome; }

    MemoryModel& model() const { return *model_; }
    // A refresh waits for the next frame.
    bool refreshPending() const { return frame_.isActive(); }
    QListView& list() const { return *list_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void changed() noexcept override { schedule(); }
    // The lesson is read from the memory at the next refresh.
    void gameFinished(const engine::FinishedGame& game) override;
    void memoryWiped() override { lessonOutcome_.reset(); }
    void schedule();
    // Scrolls the game in progress into view, unless the player scrolled a moment ago.
    void followGame();
    void fitMinimumSize();
    // Gives the summary, the lesson and the account the height they need, up to a share of the
    // window; beyond it they scroll and the positions keep the rest.
    void fitNotes();
    // A screen reader names the list with the summary.
    void describeList();
    // The moves of the game in progress (or of the last game) with their reasons.
    QString accountText() const;
    // The row a walking key leads to from `row` (Up, Down: the position before or after;
    // Left, Right: the first position of this or the group before, of the group after; Home,
    // End; Page Up, Page Down: ten positions), or -1 for any other key.
    int walkTarget(int row, int key) const;
    // Makes `row` current, saying its group's heading when the group changes.
    void walk(int row);

    engine::GameFlow& flow_;
    MemoryModel* model_;
    QLabel* summary_;
    QLabel* lesson_;      // the last game's lesson, under the summary
    QLabel* account_;     // why the computer played each move of the game, beside the lesson
    QScrollArea* notes_;  // the summary, the lesson and the account, above the positions
    QLabel* legend_;
    PositionList* list_;
    QTimer frame_;
    QElapsedTimer playerScrolled_;
    std::optional<engine::Outcome> lessonOutcome_;  // the last game's, while it has a lesson
    std::function<void(const QString&)> speak_;
    CrossMoves crossMoves_;
    QString fileLine_;    // "" or a line naming the memory file, after the summary
    int currentRow_ = 0;  // the current position while the window is hidden
};

}  // namespace zelmo::ui
