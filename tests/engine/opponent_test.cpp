// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/errors.h"
#include "recording_flow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zelmo::engine::test {
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
    }
    for (const int outside : {0, 10, -5}) {
        EXPECT_EQ(rotate(outside, 2), outside);
    }
}

TEST(RandomGeneratorTest, LinearCongruentialSequence) {
    RandomGenerator random;
    random.seed(86399999);  // the last millisecond of the day: the product wraps
    EXPECT_EQ(random.Random(8), 5);
    EXPECT_EQ(random.Random(100), 99);  // the state as a fraction of 2^32, times n
    EXPECT_EQ(random.state(), 4274149357u);
}

TEST(RandomChoiceTest, CountsOfTheEightDrawsOverTheFreeCells) {
    const struct {
        std::string board;
        std::vector<MoveSlot> tried;  // answers of a remembered entry for the board
        std::map<int, int> counts;    // cell -> how many of the eight draws choose it
    } cases[] = {
        // Empty board: cells 1 to 8 once each, cell 9 never.
        {"         ", {}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}}},
        {"    X    ", {}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}}},
        // Three free cells: 3/8, 3/8, 2/8 in cell order.
        {"X0X00X   ", {}, {{7, 3}, {8, 3}, {9, 2}}},
        {"X0X00XX0 ", {}, {{9, 8}}},
        // Best weight 0 with cells untried: only the six untried cells, so 4 and 5 come twice.
        {"X        ", {{2, 0}, {3, -1}}, {{4, 2}, {5, 2}, {6, 1}, {7, 1}, {8, 1}, {9, 1}}},
    };
    // Random(8) is the top three bits of the new state: each draw at both ends of its range.
    for (const auto& c : cases) {
        for (const std::uint32_t end : {0u, (1u << 29) - 1}) {
            std::map<int, int> counts;
            for (std::uint32_t draw = 0; draw < 8; ++draw) {
                RecordingFlow flow;
                if (!c.tried.empty()) {
                    flow.remember(1, c.board, c.tried);
                }
                flow.setBoard(c.board);
                flow.clockMs = seedFor((draw << 29) + end);
                flow.comp();
                // Exactly one new "0", and no "*" left behind.
                const std::string after = flow.board().text();
                std::size_t target = 0;
                while (target < 8 && after[target] == c.board[target]) {
                    ++target;
                }
                std::string expected = c.board;
                expected[target] = '0';
                EXPECT_EQ(after, expected) << "draw " << draw;
                ++counts[static_cast<int>(target) + 1];
            }
            EXPECT_EQ(counts, c.counts) << "'" << c.board << "' " << end;
        }
    }
}

TEST(CompTest, RememberedPositions) {
    using Slots = std::vector<MoveSlot>;
    const struct {
        std::string board, after;  // before and after the move
        int played;                // the slot of entry 1 played again, or 0
        MoveSlot added;            // the answer entry 1 learns, if any
        std::vector<std::pair<std::string, Slots>> entries;
    } cases[] = {
        // Entry 2 matches without a turn, but the lowest entry wins, here with a quarter turn.
        {"  X      ", "  X  0   ", 1, {}, {{"X        ", {{2, 1}}}, {"  X      ", {{9, 1}}}}},
        // A board the same under every turn matches without one; of equal best weights the
        // lower slot is played.
        {"    X    ", "    X   0", 2, {}, {{"    X    ", {{1, 0}, {9, 2}, {3, 2}}}}},
        // Every free cell tried: the best is played whatever its sign, nothing is learnt.
        {"X0X00X   ", "X0X00X  0", 2, {}, {{"X0X00X   ", {{7, -3}, {9, -1}, {8, -1}}}}},
        // Best weight 0: an untried cell (the tried 6 is passed over), kept in the entry's
        // orientation (board cell 1 is its cell 7).
        {"  X      ", "0 X      ", 0, {7, 0, true}, {{"X        ", {{2, 0}}}}},
        // Half and three quarter turns: the answer 2 is played as cell 8 and as cell 4.
        {"        X", "       0X", 1, {}, {{"X        ", {{2, 1}}}}},
        {"      X  ", "   0  X  ", 1, {}, {{"X        ", {{2, 1}}}}},
        // An untried cell under those turns, turned back: board cell 1 is the entry's 9, its 3.
        {"        X", "0       X", 0, {9, 0, true}, {{"X        ", {{2, 0}}}}},
        {"      X  ", "0     X  ", 0, {3, 0, true}, {{"X        ", {{2, 0}}}}},
    };
    for (const auto& c : cases) {
        RecordingFlow flow;
        int count = 0;
        for (const auto& [position, slots] : c.entries) {
            flow.remember(++count, position, slots);
        }
        flow.setBoard(c.board);
        flow.comp();
        EXPECT_EQ(flow.board().text(), c.after) << c.board;
        Slots expected = c.entries[0].second;
        if (c.played != 0) {
            expected[static_cast<std::size_t>(c.played - 1)].Used = true;
        }
        expected.push_back(c.added);
        expected.resize(9);
        for (int k = 1; k <= 9; ++k) {
            EXPECT_EQ(flow.memory()[1].Slots[k], expected[static_cast<std::size_t>(k - 1)])
                << c.after << ", slot " << k;
        }
        EXPECT_EQ(flow.entryCount(), count) << c.after;  // no new entry
    }
}

TEST(PositionMemoryTest, SearchOrderWithAnyCellTexts) {
    // Cells play never writes ("#", length 0) are compared as whole texts too, in the same
    // order: lowest entry first, then the fewest quarter turns.
    const struct {
        std::vector<std::string> positions;  // entries 1..n; "" leaves an entry of empty cells
        std::string board;
        int entry, rotation;  // 0: no match
    } cases[] = {
        {{"#        ", "  #      "}, "  #      ", 1, 1},
        {{"X        ", "  #      "}, "  #      ", 2, 0},
        {{"#        ", "X        "}, "  X      ", 2, 1},
        {{"#X       ", "         "}, "         ", 2, 0},
        {{"", "X       #"}, "#       X", 2, 2},
        {{"X0 X     "}, "X  X     ", 0, 0},
    };
    for (const auto& c : cases) {
        auto memory = std::make_unique<PositionMemory>();
        for (std::size_t j = 0; j < c.positions.size(); ++j) {
            if (!c.positions[j].empty()) {
                (*memory)[static_cast<int>(j) + 1].Position = boardOf(c.positions[j]);
            }
        }
        const auto match =
            memory->find(boardOf(c.board), static_cast<std::int32_t>(c.positions.size()));
        EXPECT_EQ(match ? match->entry : 0, c.entry) << c.board;
        EXPECT_EQ(match ? match->rotation : 0, c.rotation) << c.board;
    }
    // An entry of empty cells (length 0) matches a board of such cells only.
    auto memory = std::make_unique<PositionMemory>();
    EXPECT_TRUE(memory->find(Board(), 1).has_value());
    EXPECT_FALSE(memory->find(boardOf("         "), 1).has_value());
    EXPECT_THROW(memory->find(boardOf("         "), PositionMemory::Capacity + 1), ERangeError);
}

}  // namespace
}  // namespace zelmo::engine::test
