// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/memory.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelmo::engine {

// The rule by which the computer chose a move.
enum class MoveRule {
    BestPositive,   // its best remembered answer has a positive weight: played
    AllTried,       // every free cell has been tried: the best answer played, whatever its weight
    UntriedRandom,  // the best weight is 0 or less: an untried free cell at random
    NewPosition,    // a position not met before: remembered, a free cell at random
    TableFull,      // a new position with the memory full: a free cell at random, not remembered
};

// An answer tried in the position, as it stood when the computer chose: its cell on the board
// and its weight.
struct ExplainedAnswer {
    int cell = 0;
    std::int32_t weight = 0;
};

// Why the computer played a move, as comp() decided it (no second draw of random numbers): the
// entry found (or made) and the quarter turns under which the board is its position, the answers
// there with their weights, the rule, and the cell played.
struct MoveExplanation {
    MoveRule rule = MoveRule::NewPosition;
    int entry = 0;  // 0 when the position could not be remembered
    int turns = 0;
    int cell = 0;
    int marks = 0;  // the marks on the board before the move
    // The found entry's answers as they stood when the computer chose, copied whole and kept as
    // the entry keeps them (in its own orientation): every move is recorded, asked for or not,
    // so the recording is a plain copy and the reading does the turning.
    CheckedArray<MoveSlot, MemoryEntry::kSlots> entrySlots{};

    // The answers tried there (the filled slots, in order).
    int answerCount() const;
    // The k-th of them (from 0) on the board: its cell turned as the position was found.
    ExplainedAnswer answer(int k) const;
};

// The explanation in Russian, one line, in a stable form a script can read: «клетка 5: позиция
// найдена, запись 12, поворот на четверть оборота; ответы: 5 (вес +3), 1 (вес −1); лучший ответ
// 5 с весом +3 положителен, он и сыгран».
std::string explanationText(const MoveExplanation& move);

// A move of a game, the computer's or a learner's for "X".
struct PlayedMove {
    const MoveExplanation* move;
    bool cross;  // the learner's
};
// The moves of both sides in the order they were played (by the marks before each).
std::vector<PlayedMove> inPlayOrder(const std::vector<MoveExplanation>& computer,
                                    const std::vector<MoveExplanation>& cross);

}  // namespace zelmo::engine
