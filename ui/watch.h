// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>

#include "engine/game/gameflow.h"
#include "engine/game/learner.h"
#include "engine/game/players.h"
#include "engine/game/playgame.h"
#include "engine/store/learnerfile.h"

namespace zelmo::ui {

// The watch mode: the window plays "X" by itself with one of the shared players, through the
// same entry points a click on the play button or a cell runs (inside the window's error
// guard), and begins the next game when it hears that one has finished. The session stops it
// on a click on a cell, a digit key or an error box. At pace 0 it plays whole games in short
// slices with the display deferred, so input is handled between games and the window is
// brought up to date at most once a frame; at a pace above 0 it makes one move per tick.
//
// A learner for "X" with a file ("learner:FILE") holds the file's lock while it is the
// opponent, and writes its memory and history there when watching stops, every half minute
// while it runs, when another opponent is chosen and when the watch mode ends.
class WatchMode : public QObject, private engine::GameListener {
    Q_OBJECT
  public:
    // Runs an event handler as the window does: an error is reported and play goes on.
    using Guard = std::function<void(const std::function<void()>& handler)>;

    // The player when none is chosen, and the pace of the toggle key.
    static constexpr int kDefaultPace = 200;

    WatchMode(engine::GameFlow& flow, Guard guard, QObject* parent = nullptr);
    ~WatchMode() override;

    // Where a learner's file problems are told (a message box in the window).
    using Reporter = std::function<void(const QString& message)>;
    void setReporter(Reporter reporter) { report_ = std::move(reporter); }

    // "random", "perfect", "mixed:P", "learner" or "learner:FILE"; false (and nothing changes)
    // for any other name, or for a learner's file that is taken or cannot be read (told to the
    // reporter, as is a file that can be used only without a lock).
    bool setOpponent(const QString& name, std::uint64_t seed);
    // Writes the learner's file now, if it has one, telling a failure on the standard error (no
    // box can open: the program is ending).
    void saveLearnerAtExit();
    // The learner for "X" that plays, if one does.
    const engine::LearnerPlayer* learner() const { return learner_; }
    // The learner's moves in the game that runs (or ran last), when it played in it.
    const std::vector<engine::MoveExplanation>* learnerMoves() const {
        return learner_ != nullptr && played_ ? &learner_->moveExplanations() : nullptr;
    }
    // Milliseconds per move; 0 plays as fast as the window allows.
    void setPace(int milliseconds);
    int pace() const { return pace_; }

    void start();
    void stop();
    void toggle();
    bool watching() const { return timer_.isActive(); }

  signals:
    // Watching has begun (true) or ended (false).
    void runningChanged(bool running);

  private:
    // At pace 0: the longest slice of games, short enough for the window to answer a screen
    // reader's questions (one at a time, each waiting for the event loop) within a few
    // milliseconds, and the least time between two updates of the window, one frame.
    static constexpr int kSliceMs = 4;
    static constexpr int kFrameMs = 16;

    static constexpr int kLearnerSaveMs = 30000;

    void gameStarted() override {
        inGame_ = true;
        played_ = false;
    }
    void gameFinished(const engine::FinishedGame& game) override;
    // Writes the learner's file, if it has one; a failure is told to the reporter.
    void saveLearner();

    // Runs the timer at the pace, with the display deferred at pace 0.
    void run();
    void tick();
    // One action of the player: the play button between games, a move during one.
    void step();

    engine::GameFlow& flow_;
    Guard guard_;
    engine::GameInput input_;     // the flow's entry points
    std::function<void()> move_;  // the player's move through them
    std::unique_ptr<engine::Player> player_;
    engine::LearnerPlayer* learner_ = nullptr;  // player_, when it is a learner
    std::unique_ptr<engine::LearnerFile> learnerFile_;
    QElapsedTimer sinceLearnerSave_;
    Reporter report_;
    int pace_ = kDefaultPace;
    bool inGame_ = false;  // a game runs: told by the game flow
    bool played_ = false;  // the player has moved in the game that runs
    QTimer timer_;
    QElapsedTimer frame_;  // since the window was last brought up to date
};

}  // namespace zelmo::ui
