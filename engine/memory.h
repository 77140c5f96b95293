#pragma once

#include "engine/board.h"
#include "engine/checked.h"

#include <cstdint>
#include <optional>

namespace zelmo::engine {

// One answer tried in a remembered position: the answer's cell in the orientation of the
// position (0 = free slot), what it has earned, and whether it was played in this game.
struct MoveSlot {
    std::int16_t Answer = 0;
    std::int32_t Weight = 0;
    bool Used = false;

    friend bool operator==(const MoveSlot&, const MoveSlot&) = default;
};

// A position in which the computer had to move, as it found it, with the answers tried there.
// Slots fill from 1 upward without gaps, in the order the answers were learnt.
struct MemoryEntry {
    static constexpr int kSlots = 9;

    Board Position;
    CheckedArray<MoveSlot, kSlots> Slots;

    // The board is this position turned clockwise by `turns` quarter turns.
    bool matches(const Board& board, int turns) const;
    // The slot with the highest weight among the filled ones; the lowest slot among equals.
    int bestSlot() const;
    int filledCount() const;
    // The first slot whose Answer is 0 (a range error when all nine are filled).
    int firstFreeSlot() const;
};

// The cell to which `cell` moves when the board is turned clockwise by `turns` quarter turns;
// turns <= 0 and cells outside 1..9 give the cell back unchanged.
int rotate(int cell, int turns);

// The computer's memory: a fixed table of entries 1..Capacity held inside the game state, with
// no allocation per entry. The number of entries in use is kept by the caller.
class PositionMemory {
  public:
    static constexpr int Capacity = 1000;
    // The wipe clears the answers of this many leading entries; entries above are cleared
    // when they are created again.
    static constexpr int WipedEntries = 500;

    struct Match {
        int entry;
        int rotation;
    };

    MemoryEntry& operator[](int j) { return entries_[j]; }
    const MemoryEntry& operator[](int j) const { return entries_[j]; }

    // The first entry (then the fewest quarter turns) among 1..count that matches the board.
    std::optional<Match> find(const Board& board, std::int32_t count) const;

    // Every slot of entries 1..count loses its Used mark.
    void clearUsed(std::int32_t count);
    // Frees every slot of entries 1..WipedEntries; positions are left as they are.
    void forget();
    // Stores a new position at entry j with `answer` in slot 1, weight 0, used; slots 2..9
    // are freed whatever an earlier life of the entry left there.
    void record(int j, const Board& position, int answer);
    // Brings any derived lookup data up to date after entries were written directly through
    // operator[] (the memory-file loader does this once after filling the table).
    void reindex() {}

    // Every used slot of entries 1..count: Weight := (Weight + grade) - 3, with grade taken
    // from nextGrade() once per used slot. An overflow leaves that weight and all later ones
    // unchanged and propagates.
    template <typename NextGrade>
    void learn(std::int32_t count, NextGrade&& nextGrade) {
        for (std::int32_t j = 1; j <= count; ++j) {
            MemoryEntry& entry = entries_[j];
            for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
                MoveSlot& slot = entry.Slots[k];
                if (slot.Used) {
                    const std::int32_t grade = nextGrade();
                    slot.Weight = checkedAdd(checkedAdd(slot.Weight, grade), -3);
                }
            }
        }
    }

  private:
    CheckedArray<MemoryEntry, Capacity> entries_;
};

// The random generator behind the computer's untried moves: a 32-bit linear congruential
// state, seeded from the time of day before every random choice.
class RandomGenerator {
  public:
    void seed(std::uint32_t value) { state_ = value; }
    std::uint32_t state() const { return state_; }

    // Advances the state and returns a whole number 0..n-1 for n > 0: the state taken as a
    // fraction of 2^32 times n, so for n = 8 it is the top three bits of the new state.
    std::int32_t Random(std::int32_t n);

  private:
    std::uint32_t state_ = 0;
};

}  // namespace zelmo::engine
