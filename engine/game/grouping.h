// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/memory.h"

#include <cstdint>
#include <vector>

namespace zelmo::engine {

// The order of the remembered positions in the memory view: grouped by the stage of the game
// at which the computer meets them (its first answer, its second, ...), the openings first,
// and ordered within a group as the view's legend says.

// The computer meets a position with m marks on it at its (m / 2 + 1)-th answer: at 0 and 1
// marks it answers for the first time (it began, or the player did), at 2 and 3 for the
// second, and so on up to the fifth at 8 marks.
inline constexpr int kAnswerStages = 5;
int answerStage(const Board& position);

// "Most played" counts plays: the weights cannot tell how often a position was met (grade 3
// leaves them as they are, a win and a loss cancel), so each entry counts the computer's answers
// in it, and the memory file keeps the count.
enum class EntryOrder {
    MostPlayed,  // the most plays first (PositionMemory::plays); equals in the order learnt
    Newest,      // the positions learnt last first (entries are numbered in the order learnt)
};

struct StageGroup {
    int stage = 0;             // 1..kAnswerStages
    std::vector<int> entries;  // entry numbers, in the order asked for
};

// Entries 1..count (at most the table's capacity) in groups of rising stage; a stage without
// entries has no group.
std::vector<StageGroup> groupEntries(const PositionMemory& memory, std::int32_t count,
                                     EntryOrder order);

}  // namespace zelmo::engine
