// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>

#include "engine/players.h"

namespace zelmo::ui {

class TForm1;

// The watch mode: the window plays "X" by itself with one of the shared players, through the
// same handlers a click on the play button or a cell runs, and begins the next game by itself.
// The window stops it on a click on a cell, a digit key or an error box. At pace 0 it plays whole
// games in slices of one frame, so input is handled between games and the window repaints at most
// once per slice; at a pace above 0 it makes one move per tick.
class WatchMode : public QObject {
    Q_OBJECT
  public:
    // The player when none is chosen, and the pace of the toggle key.
    static constexpr int kDefaultPace = 200;

    explicit WatchMode(TForm1& form);
    ~WatchMode() override;

    // "random", "perfect" or "mixed:P"; false (and nothing changes) for any other name.
    bool setOpponent(const QString& name, std::uint64_t seed);
    // Milliseconds per move; 0 plays as fast as the window allows.
    void setPace(int milliseconds);

    void start();
    void stop();
    void toggle();
    bool watching() const { return timer_.isActive(); }

  private:
    // The longest slice of games at pace 0: one frame.
    static constexpr int kSliceMs = 16;

    // Runs the timer at the pace, with the display deferred at pace 0.
    void run();
    void tick();
    // One action of the player: the play button between games, a move during one.
    void step();

    TForm1& form_;
    std::unique_ptr<engine::Player> player_;
    int pace_ = kDefaultPace;
    QTimer timer_;
};

}  // namespace zelmo::ui
