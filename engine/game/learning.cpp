// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/learning.h"

#include "engine/game/checked.h"
#include "engine/game/errors.h"

#include <optional>
#include <utility>

namespace zelmo::engine {

MoveExplanation learnedMove(const LearningSide& side, Board& board, int marks) {
    PositionMemory& memory = side.memory;
    // Why the move is made, as it is decided: read from what is done, no second draw.
    MoveExplanation why;
    why.marks = marks;
    const std::optional<PositionMemory::Match> match = memory.find(board, side.entryCount);
    if (match) {
        // Read through the const view: a write access would mark the entry for re-indexing.
        const MemoryEntry& entry = std::as_const(memory)[match->entry];
        why.entry = match->entry;
        why.turns = match->rotation;
        why.entrySlots = entry.Slots;
        const int best = entry.chosenSlot(MemoryEntry::kSlots - marks);
        if (best != 0) {
            memory.markUsed(match->entry, best, match->rotation);
            why.cell = rotate(entry.Slots[best].Answer, match->rotation);
            why.rule = entry.Slots[best].Weight > 0 ? MoveRule::BestPositive : MoveRule::AllTried;
            return why;
        }
        for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
            if (entry.Slots[k].Answer != 0) {
                board.set(rotate(entry.Slots[k].Answer, match->rotation), kSkip);
            }
        }
    }

    const int target = randomFreeCell(board, side.random, side.clock);

    why.cell = target;
    if (match) {
        // The answer is kept in the entry's own orientation.
        memory.addAnswer(match->entry, rotate(target, 4 - match->rotation), match->rotation);
        why.rule = MoveRule::UntriedRandom;
    } else if (side.entryCount < PositionMemory::Capacity) {
        side.entryCount = checkedAdd(side.entryCount, 1);
        memory.record(side.entryCount, board, target);
        why.entry = side.entryCount;
        why.rule = MoveRule::NewPosition;
    } else {
        // With the table full a new position is played at random and not remembered, so the
        // game (and every later one) can still be finished.
        why.rule = MoveRule::TableFull;
    }
    return why;
}

int randomFreeCell(Board& board, RandomGenerator& random,
                   const std::function<std::uint32_t()>& clock) {
    int freeCells = 0;
    for (int k = 1; k <= Board::kCells; ++k) {
        if (board.is(k, kEmpty)) {
            ++freeCells;
        }
    }

    int target = 0;
    if (freeCells > 0) {
        random.seed(clock());
        std::int32_t n = checkedAdd(random.Random(8), 1);
        // Counting round the board: with E free cells the first (8 mod E) of them are one
        // count more likely, and on an empty board cell 9 is never reached.
        int p = 0;
        do {
            p = checkedAdd(p, 1);
            if (p > Board::kCells) {
                p = 1;
            }
            if (board.is(p, kEmpty)) {
                n = checkedAdd(n, -1);
            }
        } while (n != 0);
        target = p;
    }

    for (int k = 1; k <= Board::kCells; ++k) {
        if (board.is(k, kSkip)) {
            board.set(k, kEmpty);
        }
    }
    // No free cell means there is no move to make; this never arises within a game.
    if (target == 0) {
        throw ERangeError();
    }
    return target;
}

}  // namespace zelmo::engine
