// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/learner.h"

#include "engine/game/errors.h"
#include "engine/game/learning.h"

namespace zelmo::engine {

LearnerPlayer::LearnerPlayer(std::uint64_t seed, Grades initial)
    : grades(initial),
      memory_(std::make_unique<PositionMemory>()),
      seeds_(seed),
      // The high half of each draw: the generator's seed, as the computer's is its clock.
      clock_([this] { return static_cast<std::uint32_t>(seeds_.next() >> 32); }) {}

int LearnerPlayer::move(const Board& board) {
    int marks = 0;
    for (int k = 1; k <= Board::kCells; ++k) {
        marks += board.is(k, kEmpty) ? 0 : 1;
    }
    if (marks <= 1) {
        // A new game: nothing of an unfinished one is graded in it.
        memory_->clearUsed(entryCount_);
        explained_.clear();
    }
    Board scratch = board;
    const MoveExplanation why =
        learnedMove(LearningSide{*memory_, entryCount_, random_, clock_}, scratch, marks);
    explained_.push_back(why);
    return why.cell;
}

void LearnerPlayer::gameOver(Outcome outcome) {
    const std::int32_t grade = grades[learnerGradeOf(outcome)];
    // The marks go whatever the grading does, so a game is never graded twice.
    struct ClearUsed {
        PositionMemory& memory;
        std::int32_t count;
        ~ClearUsed() { memory.clearUsed(count); }
    } clear{*memory_, entryCount_};
    memory_->learn(entryCount_, [grade] { return grade; });
}

void LearnerPlayer::restoreMemory(const PositionMemory& memory, std::int32_t entryCount) {
    if (entryCount < 0 || entryCount > PositionMemory::Capacity) {
        throw ERangeError();
    }
    *memory_ = memory;
    entryCount_ = entryCount;
    memory_->reindex();
    memory_->clearUsed(entryCount_);
    explained_.clear();
}

}  // namespace zelmo::engine
