// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/orientation.h"

namespace zelmo::engine {

namespace {

// Quarter turns as 0..3; rotate() leaves turns <= 0 alone, so a negative count is brought up.
int normalTurns(int turns) {
    return ((turns % 4) + 4) % 4;
}

}  // namespace

int boardCellOf(int keptCell, int turns) {
    return rotate(keptCell, normalTurns(turns));
}

int keptCellOf(int boardCell, int turns) {
    // Turning on until four quarter turns are complete brings the cell back.
    return rotate(boardCell, 4 - normalTurns(turns));
}

Board positionOnBoard(const Board& kept, int turns) {
    Board board;
    for (int k = 1; k <= Board::kCells; ++k) {
        board.set(boardCellOf(k, turns), kept.at(k));
    }
    return board;
}

MemoryEntry entryOnBoard(const MemoryEntry& kept, int turns) {
    MemoryEntry turned = kept;
    turned.Position = positionOnBoard(kept.Position, turns);
    for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
        MoveSlot& slot = turned.Slots[k];
        if (slot.Answer != 0) {
            slot.Answer = static_cast<std::int16_t>(boardCellOf(slot.Answer, turns));
        }
    }
    return turned;
}

MemoryEntry entryAsPlayed(const PositionMemory& memory, int j) {
    const std::optional<int> turns = memory.usedTurns(j);
    return turns ? entryOnBoard(memory[j], *turns) : memory[j];
}

}  // namespace zelmo::engine
