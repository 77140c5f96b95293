// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/board.h"
#include "engine/game/explanation.h"
#include "engine/game/memory.h"
#include "engine/game/random.h"

#include <cstdint>
#include <functional>

namespace zelmo::engine {

// The learning rules' move, shared by the computer ("0") and a learning player for "X": the
// memory and the generator of one side, the board as it stands and the clock that seeds each
// random choice.
struct LearningSide {
    PositionMemory& memory;
    std::int32_t& entryCount;
    RandomGenerator& random;
    const std::function<std::uint32_t()>& clock;
};

// The move the side makes in `board` (`marks` marks on it): its best remembered answer when
// that has earned something or nothing new is left to try, else an untried free cell at random;
// a position not met before is remembered with the cell chosen. The answer played is marked
// used for the grading at the end of the game. The board is left as it was (tried cells are
// marked kSkip only while the random choice counts); the caller places its own mark on the
// cell told. Returns why, as decided, with the cell.
MoveExplanation learnedMove(const LearningSide& side, Board& board, int marks);

// Seeds the generator from the clock and picks the n-th free cell, n = Random(8) + 1, counting
// from cell 1 round the board and passing over cells that are not " "; then clears every "*".
// A range error when no cell is free (never within a game).
int randomFreeCell(Board& board, RandomGenerator& random,
                   const std::function<std::uint32_t()>& clock);

}  // namespace zelmo::engine
