// SPDX-License-Identifier: GPL-3.0-or-later
// The learning opponent's part of the game flow: the computer's move and the memory upkeep.
#include "engine/game/gameflow.h"

#include <utility>

namespace zelmo::engine {

void GameFlow::comp() {
    // Why the move is made, as it is decided: read from what comp does, no second draw.
    MoveExplanation why;
    why.marks = MoveCount;
    const std::optional<PositionMemory::Match> match = PositionMemory_.find(Board_, EntryCount);
    if (match) {
        // Read through the const view: a write access would mark the entry for re-indexing.
        const MemoryEntry& entry = std::as_const(PositionMemory_)[match->entry];
        why.entry = match->entry;
        why.turns = match->rotation;
        for (int k = 1; k <= MemoryEntry::kSlots && entry.Slots[k].Answer != 0; ++k) {
            why.answers[static_cast<std::size_t>(why.answerCount++)] = {
                rotate(entry.Slots[k].Answer, match->rotation), entry.Slots[k].Weight};
        }
        const int best = entry.chosenSlot(MemoryEntry::kSlots - MoveCount);
        if (best != 0) {
            PositionMemory_.markUsed(match->entry, best, match->rotation);
            why.cell = rotate(entry.Slots[best].Answer, match->rotation);
            why.rule = entry.Slots[best].Weight > 0 ? MoveRule::BestPositive : MoveRule::AllTried;
            explained_.push_back(why);
            Board_.set(why.cell, kNought);
            return;
        }
        for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
            if (entry.Slots[k].Answer != 0) {
                Board_.set(rotate(entry.Slots[k].Answer, match->rotation), kSkip);
            }
        }
    }

    const int target = randomChoice();

    why.cell = target;
    if (match) {
        // The answer is kept in the entry's own orientation.
        PositionMemory_.addAnswer(match->entry, rotate(target, 4 - match->rotation),
                                  match->rotation);
        why.rule = MoveRule::UntriedRandom;
    } else if (EntryCount < PositionMemory::Capacity) {
        EntryCount = checkedAdd(EntryCount, 1);
        if (!deferred()) {
            showEntryCount(EntryCount);
        }
        PositionMemory_.record(EntryCount, Board_, target);
        why.entry = EntryCount;
        why.rule = MoveRule::NewPosition;
    } else {
        // With the table full a new position is played at random and not remembered, so the
        // game (and every later one) can still be finished.
        why.rule = MoveRule::TableFull;
    }
    explained_.push_back(why);

    Board_.set(target, kNought);
}

int GameFlow::randomChoice() {
    int freeCells = 0;
    for (int k = 1; k <= Board::kCells; ++k) {
        if (Board_.is(k, kEmpty)) {
            ++freeCells;
        }
    }

    int target = 0;
    if (freeCells > 0) {
        random_.seed(clock_());
        std::int32_t n = checkedAdd(random_.Random(8), 1);
        // Counting round the board: with E free cells the first (8 mod E) of them are one
        // count more likely, and on an empty board cell 9 is never reached.
        int p = 0;
        do {
            p = checkedAdd(p, 1);
            if (p > Board::kCells) {
                p = 1;
            }
            if (Board_.is(p, kEmpty)) {
                n = checkedAdd(n, -1);
            }
        } while (n != 0);
        target = p;
    }

    for (int k = 1; k <= Board::kCells; ++k) {
        if (Board_.is(k, kSkip)) {
            Board_.set(k, kEmpty);
        }
    }
    // No free cell means there is no move to make; this never arises within a game.
    if (target == 0) {
        throw ERangeError();
    }
    return target;
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
