// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/board.h"
#include "engine/game/grades.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelmo::engine {

// The three grades in force: what the spinners «Победа», «Поражение» and «Ничья» held.
struct HistoryGrades {
    std::int32_t win = 0;
    std::int32_t loss = 0;
    std::int32_t draw = 0;

    friend bool operator==(const HistoryGrades&, const HistoryGrades&) = default;
};

// The grades of a history's record, and back.
inline Grades gradesOf(const HistoryGrades& grades) {
    return {grades.win, grades.loss, grades.draw};
}
inline HistoryGrades historyGradesOf(const Grades& grades) {
    return {grades.win, grades.loss, grades.draw};
}

// A finished game as the history takes it: told by whoever listens to the game flow's end of
// a game (the window, the trainer). `positions` is the entry count after the game.
struct HistoryGame {
    Outcome outcome = Outcome::Draw;
    bool computerBegan = false;
    HistoryGrades grades;
    std::int32_t positions = 0;
};

// A run of consecutive games played under the same grades: how they ended, how many the
// computer began, and the positions remembered after the last of them.
struct HistoryBlock {
    std::uint64_t playerWins = 0;
    std::uint64_t computerWins = 0;
    std::uint64_t draws = 0;
    std::uint64_t computerBegan = 0;
    HistoryGrades grades;
    std::int32_t positions = 0;

    std::uint64_t games() const { return playerWins + computerWins + draws; }
    friend bool operator==(const HistoryBlock&, const HistoryBlock&) = default;
};

// The history of a memory's learning, one block of games after another, kept with the memory
// in its file. The window and the trainer feed it one finished game at a time; a block takes
// `blockSize` games (kByHand for games played by hand, kWhileRunning while the window plays
// itself or the trainer runs) and ends early when the grades or the block size change. A
// history that reaches kMaxBlocks blocks merges neighbours (see add), so however many games it
// counts it stays a few tens of kilobytes. A wipe of the memory starts a new history (clear).
class LearningHistory {
  public:
    static constexpr std::uint32_t kByHand = 1;
    static constexpr std::uint32_t kWhileRunning = 100;
    static constexpr std::size_t kMaxBlocks = 2048;
    // More games than any machine plays; every count stays exact in a double.
    static constexpr std::uint64_t kMaxGames = std::uint64_t{1} << 53;

    // Adds the game to the block in progress when it has room and was begun with this block
    // size and these grades, else begins a new block. Merges blocks first when the new one would
    // be one too many. EIntOverflow (nothing changed) when the history already counts kMaxGames.
    void add(const HistoryGame& game, std::uint32_t blockSize);
    // The next game begins a new block (the block in progress is kept as it is).
    void closeBlock() { open_ = false; }
    void clear();
    // Replaces the history with `blocks` (read from a file), all of them closed.
    void assign(std::vector<HistoryBlock> blocks);

    const std::vector<HistoryBlock>& blocks() const { return blocks_; }
    bool empty() const { return blocks_.empty(); }
    std::uint64_t games() const { return games_; }

  private:
    // Merges neighbours so that at most three quarters of kMaxBlocks are left.
    void coarsen();

    std::vector<HistoryBlock> blocks_;
    std::uint64_t games_ = 0;
    bool open_ = false;
    std::uint32_t openSize_ = 0;
    std::uint32_t openGames_ = 0;
};

}  // namespace zelmo::engine
