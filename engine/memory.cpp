#include "engine/memory.h"

namespace zelmo::engine {

namespace {

// Where each cell's content goes under one clockwise quarter turn (index 0 unused).
constexpr int kQuarterTurn[10] = {0, 3, 6, 9, 2, 5, 8, 1, 4, 7};

// rotate(k, t) for t = 0..3 and k = 1..9, worked out at compile time: the search compares up
// to 4000 positions per move, and this map is the index of its inner loop.
struct TurnTable {
    int cell[4][10];
};

constexpr TurnTable makeTurnTable() {
    TurnTable table{};
    for (int k = 1; k <= 9; ++k) {
        int cell = k;
        for (int t = 0; t < 4; ++t) {
            table.cell[t][k] = cell;
            cell = kQuarterTurn[cell];
        }
    }
    return table;
}

constexpr TurnTable kTurns = makeTurnTable();

}  // namespace

int rotate(int cell, int turns) {
    if (turns <= 0 || cell < 1 || cell > 9) {
        return cell;
    }
    // Four quarter turns give every cell back.
    return kTurns.cell[turns % 4][cell];
}

bool MemoryEntry::matches(const Board& board, int turns) const {
    for (int k = 1; k <= Board::kCells; ++k) {
        if (!(Position.at(k) == board.at(rotate(k, turns)))) {
            return false;
        }
    }
    return true;
}

int MemoryEntry::bestSlot() const {
    // Slot 1 is always filled in an entry in use, so it is the first candidate untested.
    int best = 1;
    for (int k = 2; k <= kSlots; ++k) {
        if (Slots[k].Answer != 0 && Slots[k].Weight > Slots[best].Weight) {
            best = k;
        }
    }
    return best;
}

int MemoryEntry::filledCount() const {
    int filled = 0;
    for (int k = 1; k <= kSlots; ++k) {
        if (Slots[k].Answer != 0) {
            ++filled;
        }
    }
    return filled;
}

int MemoryEntry::firstFreeSlot() const {
    int k = 1;
    while (Slots[k].Answer != 0) {
        ++k;
    }
    return k;
}

std::optional<PositionMemory::Match> PositionMemory::find(const Board& board,
                                                          std::int32_t count) const {
    for (std::int32_t j = 1; j <= count; ++j) {
        const MemoryEntry& entry = entries_[j];
        for (int t = 0; t <= 3; ++t) {
            if (entry.matches(board, t)) {
                return Match{static_cast<int>(j), t};
            }
        }
    }
    return std::nullopt;
}

void PositionMemory::clearUsed(std::int32_t count) {
    for (std::int32_t j = 1; j <= count; ++j) {
        MemoryEntry& entry = entries_[j];
        for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
            entry.Slots[k].Used = false;
        }
    }
}

void PositionMemory::forget() {
    for (int j = 1; j <= WipedEntries; ++j) {
        MemoryEntry& entry = entries_[j];
        for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
            entry.Slots[k] = MoveSlot{};
        }
    }
}

void PositionMemory::record(int j, const Board& position, int answer) {
    MemoryEntry& entry = entries_[j];
    entry.Position = position;
    entry.Slots[1] = MoveSlot{static_cast<std::int16_t>(answer), 0, true};
    // An entry above the wiped range may still hold answers from before a wipe; they belong
    // to another position and must not be played or skipped here.
    for (int k = 2; k <= MemoryEntry::kSlots; ++k) {
        entry.Slots[k] = MoveSlot{};
    }
}

std::int32_t RandomGenerator::Random(std::int32_t n) {
    state_ = state_ * 134775813u + 1u;  // wraps modulo 2^32 on the unsigned state
    const std::uint64_t product =
        static_cast<std::uint64_t>(state_) * static_cast<std::uint32_t>(n);
    return static_cast<std::int32_t>(product >> 32);
}

}  // namespace zelmo::engine
