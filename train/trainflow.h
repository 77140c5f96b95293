// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/gameflow.h"
#include "engine/game/grades.h"
#include "engine/game/players.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>

namespace zelmo::train {

// The grades of the three outcomes, as the window's spinners hold them.
using Grades = engine::Grades;

// The real game flow with a display that keeps only what the trainer needs: the three grades
// and the outcome of the game it plays. The trainer and the soak program drive whole games
// through it with the window's entry points, so they play exactly the window's game.
class TrainFlow : public engine::GameFlow, private engine::GameListener {
  public:
    // What a played game gave: what the flow told of its end (none if the game did not end)
    // and the number of errors reported on the way.
    struct GameResult {
        std::optional<engine::FinishedGame> finished;
        int errors = 0;
    };
    // Called with every error an entry point raised (as the window shows it in a message box);
    // play goes on after it.
    using ErrorHandler = std::function<void(const std::exception&)>;

    explicit TrainFlow(Grades grades);
    ~TrainFlow() override;
    TrainFlow(const TrainFlow&) = delete;
    TrainFlow& operator=(const TrainFlow&) = delete;

    Grades grades;

    // One game: the play button, then the player's clicks until the game ends.
    GameResult playGame(engine::Player& player, const ErrorHandler& onError);

    // What the flow told of the last game that ended (also one played without playGame).
    const std::optional<engine::FinishedGame>& lastFinished() const { return finished_; }

  protected:
    void showCell(int, const engine::Cell&) override {}
    void showGameNumber(std::int32_t) override {}
    void showEntryCount(std::int32_t) override {}
    void showStatus(const std::string&) override {}
    void setPlayEnabled(bool) override {}
    std::int32_t readGrade(engine::Grade grade) override { return grades[grade]; }
    Grades gradesInForce() override { return grades; }
    void addScorePoint(const std::string&) override {}
    void setScoreValue(int, double) override {}

  private:
    void gameFinished(const engine::FinishedGame& game) override { finished_ = game; }

    std::optional<engine::FinishedGame> finished_;
};

// The clock of a reproducible run: starts at `start` milliseconds after midnight and moves on
// by `step` at every reading, round the day.
class SteppingClock {
  public:
    SteppingClock(std::uint32_t start, std::uint32_t step) : now_(start % kDay), step_(step) {}
    std::uint32_t operator()() {
        const std::uint32_t now = now_;
        now_ = static_cast<std::uint32_t>((std::uint64_t{now_} + step_) % kDay);
        return now;
    }

  private:
    static constexpr std::uint32_t kDay = 86400000;
    std::uint32_t now_;
    std::uint32_t step_;
};

}  // namespace zelmo::train
