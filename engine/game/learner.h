// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/board.h"
#include "engine/game/explanation.h"
#include "engine/game/grades.h"
#include "engine/game/memory.h"
#include "engine/game/players.h"
#include "engine/game/random.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zelmo::engine {

// A learning player for "X": the computer's own learning rules (learning.h) with a memory of
// its own, of the positions in which "X" is to move, kept as they stand on the board. It grades
// the answers it played when told that a game is over, with its own three grades named from its
// side: its win is the player's win. A game begins for it at its first move on a board with at
// most one mark, so a game left unfinished (the window's watch mode stopped) grades nothing.
// Its random choices are seeded from its own generator, so a seeded run is the same every time
// and leaves the computer's random stream as it was.
class LearnerPlayer : public Player {
  public:
    explicit LearnerPlayer(std::uint64_t seed, Grades grades = Grades{});
    // Its generator's seed source points at the player itself: it stays where it was made.
    LearnerPlayer(const LearnerPlayer&) = delete;
    LearnerPlayer& operator=(const LearnerPlayer&) = delete;

    int move(const Board& board) override;
    void gameOver(Outcome outcome) override;

    // Replaces the memory (between games): a count outside 0..Capacity is a range error and
    // changes nothing. Used marks are dropped.
    void restoreMemory(const PositionMemory& memory, std::int32_t entryCount);
    const PositionMemory& memory() const { return *memory_; }
    std::int32_t entryCount() const { return entryCount_; }
    // Why it played each of its moves in the game in progress, or in the last game until it
    // begins the next.
    const std::vector<MoveExplanation>& moveExplanations() const { return explained_; }

    Grades grades;

  private:
    std::unique_ptr<PositionMemory> memory_;
    std::int32_t entryCount_ = 0;
    RandomGenerator random_;
    SplitMix64 seeds_;
    std::function<std::uint32_t()> clock_;
    std::vector<MoveExplanation> explained_;
};

// The grade a finished game earns the "X" learner: the computer's grade of the game seen from
// the other side (the player's win is the learner's win).
constexpr Grade learnerGradeOf(Outcome outcome) {
    return gradeOf(outcome == Outcome::PlayerWin     ? Outcome::ComputerWin
                   : outcome == Outcome::ComputerWin ? Outcome::PlayerWin
                                                     : Outcome::Draw);
}

}  // namespace zelmo::engine
