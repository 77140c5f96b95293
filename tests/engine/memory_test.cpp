#include "engine/memory.h"
#include "engine/errors.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace zelmo::engine {
namespace {

TEST(RotateTest, QuarterTurnsClockwise) {
    // One quarter turn: the top left corner goes to the top right, the centre stays.
    const int quarter[10] = {0, 3, 6, 9, 2, 5, 8, 1, 4, 7};
    for (int cell = 1; cell <= 9; ++cell) {
        EXPECT_EQ(rotate(cell, 0), cell);
        EXPECT_EQ(rotate(cell, -3), cell);
        EXPECT_EQ(rotate(cell, 1), quarter[cell]) << cell;
        EXPECT_EQ(rotate(cell, 2), 10 - cell) << cell;  // a half turn mirrors through the centre
        EXPECT_EQ(rotate(cell, 4), cell) << cell;
        for (int t = 0; t <= 3; ++t) {
            EXPECT_EQ(rotate(rotate(cell, t), 4 - t), cell) << cell << " " << t;
        }
    }
    EXPECT_EQ(rotate(1, 3), 7);
    EXPECT_EQ(rotate(0, 1), 0);
    EXPECT_EQ(rotate(10, 2), 10);
    EXPECT_EQ(rotate(-5, 1), -5);
}

TEST(RandomGeneratorTest, LinearCongruentialSequence) {
    RandomGenerator random;
    random.seed(0);
    EXPECT_EQ(random.Random(8), 0);
    EXPECT_EQ(random.state(), 1u);
    EXPECT_EQ(random.Random(100), 3);
    EXPECT_EQ(random.state(), 134775814u);
    EXPECT_EQ(random.Random(100), 86);
    EXPECT_EQ(random.state(), 3698175007u);

    random.seed(43200000);  // noon UTC
    EXPECT_EQ(random.Random(8), 3);
    EXPECT_EQ(random.state(), 1620567553u);
    random.seed(86399999);  // the last millisecond of the day
    EXPECT_EQ(random.Random(100), 72);
    EXPECT_EQ(random.Random(100), 99);
    EXPECT_EQ(random.state(), 4274149357u);
}

TEST(RandomGeneratorTest, EightWayDrawIsEvenOverConsecutiveMilliseconds) {
    int counts[8] = {};
    RandomGenerator random;
    const int kSeeds = 80000;
    for (int seed = 0; seed < kSeeds; ++seed) {
        random.seed(static_cast<std::uint32_t>(seed));
        const int draw = random.Random(8);
        ASSERT_GE(draw, 0);
        ASSERT_LT(draw, 8);
        ++counts[draw];
    }
    for (int draw = 0; draw < 8; ++draw) {
        EXPECT_NEAR(counts[draw], kSeeds / 8.0, kSeeds / 80.0) << draw;
    }
}

TEST(MemoryEntryTest, BestSlotFilledCountAndFreeSlot) {
    MemoryEntry entry;
    entry.Slots[1] = {4, -2, false};
    entry.Slots[2] = {7, 1, false};
    entry.Slots[3] = {2, 1, false};
    EXPECT_EQ(entry.bestSlot(), 2);  // equal best weights: the lower slot
    EXPECT_EQ(entry.filledCount(), 3);
    EXPECT_EQ(entry.firstFreeSlot(), 4);
    // A free slot never wins, whatever its weight.
    entry.Slots[5] = {0, 50, false};
    EXPECT_EQ(entry.bestSlot(), 2);
    // Slot 1 is the first candidate and only beaten by a strictly greater weight.
    entry.Slots[1].Weight = 1;
    EXPECT_EQ(entry.bestSlot(), 1);
    for (int k = 1; k <= 9; ++k) {
        entry.Slots[k].Answer = static_cast<std::int16_t>(k);
    }
    EXPECT_THROW(entry.firstFreeSlot(), ERangeError);
}

TEST(PositionMemoryTest, FindTakesLowestEntryThenFewestTurns) {
    auto memory = std::make_unique<PositionMemory>();
    Board corner;  // "X" in cell 1
    corner.fill(kEmpty);
    corner.set(1, kCross);
    Board centre;
    centre.fill(kEmpty);
    centre.set(5, kCross);
    (*memory)[1].Position = centre;
    (*memory)[2].Position = corner;
    (*memory)[3].Position = corner;

    Board board;
    board.fill(kEmpty);
    board.set(9, kCross);
    auto match = memory->find(board, 3);
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->entry, 2);
    EXPECT_EQ(match->rotation, 2);
    // A board the same under every turn matches with rotation 0.
    match = memory->find(centre, 3);
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->entry, 1);
    EXPECT_EQ(match->rotation, 0);
    // Entries past the count are not searched.
    EXPECT_FALSE(memory->find(board, 1).has_value());
    // The walk fails at the first entry past the table when nothing before matches.
    board.fill(kNought);
    EXPECT_THROW(memory->find(board, PositionMemory::Capacity + 1), ERangeError);
}

TEST(PositionMemoryTest, ForgetClearsFirstHalfAndRecordFreesSlots) {
    auto memory = std::make_unique<PositionMemory>();
    for (const int j : {1, 500, 501, 1000}) {
        for (int k = 1; k <= 9; ++k) {
            (*memory)[j].Slots[k] = {static_cast<std::int16_t>(k), 5, true};
        }
    }
    memory->forget();
    EXPECT_EQ((*memory)[1].filledCount(), 0);
    EXPECT_EQ((*memory)[500].Slots[9], MoveSlot{});
    EXPECT_EQ((*memory)[501].filledCount(), 9);

    Board position;
    position.fill(kEmpty);
    memory->record(501, position, 3);
    EXPECT_EQ((*memory)[501].Position, position);
    EXPECT_EQ((*memory)[501].Slots[1], (MoveSlot{3, 0, true}));
    EXPECT_EQ((*memory)[501].filledCount(), 1);
    for (int k = 2; k <= 9; ++k) {
        EXPECT_EQ((*memory)[501].Slots[k], MoveSlot{}) << k;
    }
}

TEST(PositionMemoryTest, LearnChangesUsedWeightsAndStopsAtOverflow) {
    auto memory = std::make_unique<PositionMemory>();
    (*memory)[1].Slots[1] = {1, 10, true};
    (*memory)[1].Slots[2] = {2, 10, false};
    (*memory)[2].Slots[1] = {1, INT32_MAX - 1, true};
    (*memory)[3].Slots[1] = {1, 7, true};
    int reads = 0;
    memory->learn(1, [&reads] {
        ++reads;
        return 5;
    });
    EXPECT_EQ(reads, 1);
    EXPECT_EQ((*memory)[1].Slots[1].Weight, 12);
    EXPECT_EQ((*memory)[1].Slots[2].Weight, 10);
    EXPECT_TRUE((*memory)[1].Slots[1].Used);

    // Weight + grade overflows before the - 3 is applied: that weight and later ones keep
    // their values.
    EXPECT_THROW(memory->learn(3, [] { return 2; }), EIntOverflow);
    EXPECT_EQ((*memory)[1].Slots[1].Weight, 11);
    EXPECT_EQ((*memory)[2].Slots[1].Weight, INT32_MAX - 1);
    EXPECT_EQ((*memory)[3].Slots[1].Weight, 7);

    memory->clearUsed(2);
    EXPECT_FALSE((*memory)[1].Slots[1].Used);
    EXPECT_FALSE((*memory)[2].Slots[1].Used);
    EXPECT_TRUE((*memory)[3].Slots[1].Used);
}

}  // namespace
}  // namespace zelmo::engine
