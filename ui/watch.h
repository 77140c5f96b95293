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
#include "engine/game/players.h"
#include "engine/game/playgame.h"

namespace zelmo::ui {

// The watch mode: the window plays "X" by itself with one of the shared players, through the
// same entry points a click on the play button or a cell runs (inside the window's error
// guard), and begins the next game when it hears that one has finished. The session stops it
// on a click on a cell, a digit key or an error box. At pace 0 it plays whole games in short
// slices with the display deferred, so input is handled between games and the window is
// brought up to date at most once a frame; at a pace above 0 it makes one move per tick.
class WatchMode : public QObject, private engine::GameListener {
    Q_OBJECT
  public:
    // Runs an event handler as the window does: an error is reported and play goes on.
    using Guard = std::function<void(const std::function<void()>& handler)>;

    // The player when none is chosen, and the pace of the toggle key.
    static constexpr int kDefaultPace = 200;

    WatchMode(engine::GameFlow& flow, Guard guard, QObject* parent = nullptr);
    ~WatchMode() override;

    // "random", "perfect" or "mixed:P"; false (and nothing changes) for any other name.
    bool setOpponent(const QString& name, std::uint64_t seed);
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

    void gameStarted() override { inGame_ = true; }
    void gameFinished(const engine::FinishedGame& /*game*/) override { inGame_ = false; }

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
    int pace_ = kDefaultPace;
    bool inGame_ = false;  // a game runs: told by the game flow
    QTimer timer_;
    QElapsedTimer frame_;  // since the window was last brought up to date
};

}  // namespace zelmo::ui
