// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/board.h"
#include "engine/game/checked.h"
#include "engine/game/errors.h"
#include "engine/game/grades.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

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
    // The slot of the answer the computer plays in this position, which has `freeCells` free
    // cells: the best answer when it has earned something, or when every free cell has been
    // tried and there is nothing new left to try; 0 when it tries a new cell.
    int chosenSlot(int freeCells) const;
    // The first slot whose Answer is 0 (a range error when all nine are filled).
    int firstFreeSlot() const;
};

// One answer graded at the end of the last game: where it is kept and its cell there, the
// quarter turns under which the game met its position (-1 when not known: a used mark that came
// from a file), the grade read for it and its weight before and after. `graded` is false when
// grading stopped at a weight overflow at or before this answer; its weight then stayed as it was.
struct GradedAnswer {
    int entry = 0;
    int slot = 0;
    int cell = 0;
    int turns = -1;
    std::int32_t weightBefore = 0;
    std::int32_t weightAfter = 0;
    std::int32_t grade = 0;
    bool graded = false;

    friend bool operator==(const GradedAnswer&, const GradedAnswer&) = default;
};

// The cell to which `cell` moves when the board is turned clockwise by `turns` quarter turns;
// turns <= 0 and cells outside 1..9 give the cell back unchanged.
int rotate(int cell, int turns);

// The computer's memory: a fixed table of entries 1..Capacity held inside the game state, with
// no allocation per entry. The number of entries in use is kept by the caller.
//
// Beside the table it keeps two derived indexes so that a move does not walk all 9000 slots:
// a packed code of every entry's position (the search compares one integer per entry and turn
// instead of nine cells) and the list of slots whose Used mark is set (grading and clearing
// touch only those). Writes through the non-const operator[] mark the entry for re-indexing at
// the next operation; a reference kept across an operation and written later needs reindex().
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

    MemoryEntry& operator[](int j) {
        MemoryEntry& entry = entries_[j];
        staleFrom_ = j < staleFrom_ ? j : staleFrom_;
        staleTo_ = j > staleTo_ ? j : staleTo_;
        return entry;
    }
    const MemoryEntry& operator[](int j) const { return entries_[j]; }

    // The first entry (then the fewest quarter turns) among 1..count that matches the board.
    std::optional<Match> find(const Board& board, std::int32_t count);

    // Every slot of entries 1..count loses its Used mark.
    void clearUsed(std::int32_t count);
    // Frees every slot of entries 1..WipedEntries; positions are left as they are. Nothing is
    // left of the last grading either.
    void forget();
    // Stores a new position at entry j with `answer` in slot 1, weight 0, used; slots 2..9
    // are freed whatever an earlier life of the entry left there.
    void record(int j, const Board& position, int answer);
    // Slot k of entry j is played in this game, the board being the entry's position turned by
    // `turns` quarter turns.
    void markUsed(int j, int k, int turns = 0);
    // Entry j learns `answer` in its first free slot, weight 0, used; returns the slot. The
    // board is the entry's position turned by `turns`.
    int addAnswer(int j, int answer, int turns = 0);
    // Brings the derived indexes up to date after entries were written directly through
    // references (the memory-file loader does this once after filling the table). What the
    // game in progress and the last grading did (usedTurns, lastGraded) is forgotten.
    void reindex();

    // How often the computer has answered in entry j since the entry was made (record, then
    // every markUsed and addAnswer); it stops at the largest value instead of wrapping. Kept in
    // the memory file; the memory view orders positions by it.
    std::uint32_t plays(int j) const { return plays_[j]; }
    void setPlays(int j, std::uint32_t plays) { plays_[j] = plays; }
    // The quarter turns under which the game in progress met entry j's position (its board is
    // the position turned so far), while one of the entry's slots is used; none for an entry
    // not played in this game, or whose used mark came from a file.
    std::optional<int> usedTurns(int j) const;
    // The used answers of the last learn(), in the order they were graded.
    const std::vector<GradedAnswer>& lastGraded() const { return graded_; }

    // Every used slot of entries 1..count, in the order of entries then slots:
    // Weight := (Weight + grade) - the neutral grade, with grade taken from nextGrade() once per
    // used slot. An overflow leaves that weight and all later ones unchanged and propagates.
    // The graded answers are listed first, all of them, so that the last game's lesson names
    // every answer even when an overflow stops the grading half-way.
    template <typename NextGrade>
    void learn(std::int32_t count, NextGrade&& nextGrade) {
        sortUsed();
        graded_.clear();
        for (const std::uint16_t code : used_) {
            const int j = code >> kSlotBits;
            if (j > count) {
                break;  // sorted: every later one is above the count too
            }
            const int k = code & kSlotMask;
            const MoveSlot& slot = entries_[j].Slots[k];
            if (slot.Used) {
                graded_.push_back(
                    {j, k, slot.Answer, turnsOf(j), slot.Weight, slot.Weight, 0, false});
            }
        }
        for (GradedAnswer& answer : graded_) {
            MoveSlot& slot = entries_[answer.entry].Slots[answer.slot];
            answer.grade = nextGrade();
            slot.Weight = checkedAdd(checkedAdd(slot.Weight, answer.grade), -grades::kNeutral);
            answer.weightAfter = slot.Weight;
            answer.graded = true;
        }
        failBeyondCapacity(count);
    }

  private:
    static constexpr int kSlotBits = 4;
    static constexpr int kSlotMask = (1 << kSlotBits) - 1;

    // Brings codes and the used list up to date for entries written through operator[].
    void sync();
    // Sorts the used list by entry, then slot, after a sync.
    void sortUsed();
    void track(int j, int k);
    void untrackEntry(int j);
    // One more play of entry j, met under `turns`.
    void played(int j, int turns);
    int turnsOf(int j) const { return turnsPlusOne_[j] - 1; }
    // A walk over entries 1..count with count above the table reaches entry Capacity + 1.
    static void failBeyondCapacity(std::int32_t count) {
        if (count > Capacity) {
            throw ERangeError();
        }
    }

    CheckedArray<MemoryEntry, Capacity> entries_;
    // codes_[j]: the packed position of entry j (index 0 unused).
    std::array<std::uint32_t, Capacity + 1> codes_{};
    // Bit k of listed_[j]: slot k of entry j is in used_.
    std::array<std::uint16_t, Capacity + 1> listed_{};
    // (entry << kSlotBits) | slot of every slot whose Used mark may be set.
    std::vector<std::uint16_t> used_;
    CheckedArray<std::uint32_t, Capacity> plays_;
    // The turn under which the game in progress met each entry, plus one: 0 means not known.
    CheckedArray<std::uint8_t, Capacity> turnsPlusOne_;
    std::vector<GradedAnswer> graded_;
    // Entries staleFrom_..staleTo_ may have been written through operator[].
    int staleFrom_ = Capacity + 1;
    int staleTo_ = 0;
};

}  // namespace zelmo::engine
