// SPDX-License-Identifier: GPL-3.0-or-later
// The learning opponent's part of the game flow: the computer's move and the memory upkeep.
#include "engine/game/gameflow.h"
#include "engine/game/learning.h"

namespace zelmo::engine {

void GameFlow::comp() {
    const std::int32_t entriesBefore = EntryCount;
    const MoveExplanation& why = explained_.emplace_back(
        learnedMove(LearningSide{PositionMemory_, EntryCount, random_, clock_}, Board_, MoveCount));
    if (EntryCount != entriesBefore && !deferred()) {
        showEntryCount(EntryCount);
    }
    Board_.set(why.cell, kNought);
}

void GameFlow::learn(std::int32_t grade) {
    PositionMemory_.learn(EntryCount, [grade] { return grade; });
}

void GameFlow::clearUsed() {
    PositionMemory_.clearUsed(EntryCount);
}

void GameFlow::forget() {
    EntryCount = 0;
    PositionMemory_.forget();
}

}  // namespace zelmo::engine
