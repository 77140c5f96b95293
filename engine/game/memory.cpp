// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/memory.h"

#include <algorithm>

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

// Packed positions: three bits per cell, cell 1 in the lowest bits, 27 bits in all. Any cell
// text other than these five (never made by play) makes the code "exotic": such entries are
// compared cell by cell, and such a board matches no packed code.
constexpr int kCellBits = 3;
constexpr std::uint32_t kExoticCell = 7;
constexpr std::uint32_t kExoticEntry = 0x80000000u;
constexpr std::uint32_t kNoCode = 0x40000000u;

std::uint32_t cellCode(const Cell& cell) {
    if (cell.length() == 0) {
        return 0;
    }
    switch (cell.character()) {
        case ' ':
            return 1;
        case 'X':
            return 2;
        case '0':
            return 3;
        case '*':
            return 4;
        default:
            return kExoticCell;
    }
}

std::uint32_t positionCode(const Board& position) {
    std::uint32_t code = 0;
    for (int k = Board::kCells; k >= 1; --k) {
        const std::uint32_t cell = cellCode(position.at(k));
        if (cell == kExoticCell) {
            return kExoticEntry;
        }
        code = (code << kCellBits) | cell;
    }
    return code;
}

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

int MemoryEntry::chosenSlot(int freeCells) const {
    const int best = bestSlot();
    return filledCount() == freeCells || Slots[best].Weight > 0 ? best : 0;
}

int MemoryEntry::firstFreeSlot() const {
    int k = 1;
    while (Slots[k].Answer != 0) {
        ++k;
    }
    return k;
}

std::optional<PositionMemory::Match> PositionMemory::find(const Board& board, std::int32_t count) {
    sync();
    // The board read through each turn: entry j matches with turn t exactly when its code
    // equals turned[t], because both codes hold the same nine cells in the same order.
    std::uint32_t cells[Board::kCells + 1] = {};
    bool exoticBoard = false;
    for (int k = 1; k <= Board::kCells; ++k) {
        cells[k] = cellCode(board.at(k));
        exoticBoard = exoticBoard || cells[k] == kExoticCell;
    }
    std::uint32_t turned[4] = {};
    for (int t = 0; t < 4; ++t) {
        if (exoticBoard) {
            turned[t] = kNoCode;  // no packed position equals it; exotic entries compare cells
            continue;
        }
        std::uint32_t code = 0;
        for (int k = Board::kCells; k >= 1; --k) {
            code = (code << kCellBits) | cells[kTurns.cell[t][k]];
        }
        turned[t] = code;
    }

    const int last = count < Capacity ? static_cast<int>(count) : Capacity;
    for (int j = 1; j <= last; ++j) {
        const std::uint32_t code = codes_[static_cast<std::size_t>(j)];
        if ((code == turned[0]) | (code == turned[1]) | (code == turned[2]) | (code == turned[3]) |
            (code == kExoticEntry)) {
            for (int t = 0; t <= 3; ++t) {
                if (code == kExoticEntry ? entries_[j].matches(board, t) : code == turned[t]) {
                    return Match{j, t};
                }
            }
        }
    }
    failBeyondCapacity(count);
    return std::nullopt;
}

void PositionMemory::clearUsed(std::int32_t count) {
    sync();
    std::size_t kept = 0;
    for (const std::uint16_t code : used_) {
        const int j = code >> kSlotBits;
        if (j <= count) {
            entries_[j].Slots[code & kSlotMask].Used = false;
            listed_[static_cast<std::size_t>(j)] = 0;
        } else {
            used_[kept++] = code;
        }
    }
    used_.resize(kept);
    failBeyondCapacity(count);
}

void PositionMemory::forget() {
    sync();
    for (int j = 1; j <= WipedEntries; ++j) {
        MemoryEntry& entry = entries_[j];
        for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
            entry.Slots[k] = MoveSlot{};
        }
        untrackEntry(j);
        plays_[j] = 0;
        turnsPlusOne_[j] = 0;
    }
    graded_.clear();
}

void PositionMemory::record(int j, const Board& position, int answer) {
    MemoryEntry& entry = entries_[j];
    entry.Position = position;
    codes_[static_cast<std::size_t>(j)] = positionCode(position);
    entry.Slots[1] = MoveSlot{static_cast<std::int16_t>(answer), 0, true};
    // An entry above the wiped range may still hold answers from before a wipe; they belong
    // to another position and must not be played or skipped here.
    for (int k = 2; k <= MemoryEntry::kSlots; ++k) {
        entry.Slots[k] = MoveSlot{};
    }
    untrackEntry(j);
    track(j, 1);
    plays_[j] = 0;
    played(j, 0);
}

void PositionMemory::markUsed(int j, int k, int turns) {
    entries_[j].Slots[k].Used = true;
    track(j, k);
    played(j, turns);
}

int PositionMemory::addAnswer(int j, int answer, int turns) {
    MemoryEntry& entry = entries_[j];
    const int k = entry.firstFreeSlot();
    entry.Slots[k] = MoveSlot{static_cast<std::int16_t>(answer), 0, true};
    track(j, k);
    played(j, turns);
    return k;
}

void PositionMemory::reindex() {
    staleFrom_ = 1;
    staleTo_ = Capacity;
    sync();
    turnsPlusOne_ = {};
    graded_.clear();
}

std::optional<int> PositionMemory::usedTurns(int j) const {
    const MemoryEntry& entry = entries_[j];
    for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
        if (entry.Slots[k].Used) {
            const int turns = turnsOf(j);
            return turns >= 0 ? std::optional<int>(turns) : std::nullopt;
        }
    }
    return std::nullopt;
}

void PositionMemory::played(int j, int turns) {
    std::uint32_t& plays = plays_[j];
    plays += plays < UINT32_MAX ? 1 : 0;
    turnsPlusOne_[j] = static_cast<std::uint8_t>((turns & 3) + 1);
}

void PositionMemory::sync() {
    for (int j = staleFrom_; j <= staleTo_; ++j) {
        const MemoryEntry& entry = entries_[j];
        codes_[static_cast<std::size_t>(j)] = positionCode(entry.Position);
        for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
            if (entry.Slots[k].Used) {
                track(j, k);
            }
        }
    }
    staleFrom_ = Capacity + 1;
    staleTo_ = 0;
}

void PositionMemory::sortUsed() {
    sync();
    std::sort(used_.begin(), used_.end());
}

void PositionMemory::track(int j, int k) {
    std::uint16_t& listed = listed_[static_cast<std::size_t>(j)];
    const auto bit = static_cast<std::uint16_t>(1u << k);
    if ((listed & bit) == 0) {
        listed = static_cast<std::uint16_t>(listed | bit);
        used_.push_back(static_cast<std::uint16_t>((j << kSlotBits) | k));
    }
}

void PositionMemory::untrackEntry(int j) {
    if (listed_[static_cast<std::size_t>(j)] == 0) {
        return;
    }
    listed_[static_cast<std::size_t>(j)] = 0;
    std::erase_if(used_, [j](std::uint16_t code) { return code >> kSlotBits == j; });
}

}  // namespace zelmo::engine
