#include "recording_flow.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace zelmo::engine::test {
namespace {

std::unique_ptr<RecordingFlow> newFlow() {
    auto flow = std::make_unique<RecordingFlow>();
    flow->FormCreate();
    return flow;
}

// The computer's cell on `board` (nine characters) for each of the eight first draws of the
// generator, with an empty memory.
std::map<int, int> randomTargets(const std::string& board) {
    std::map<int, int> counts;
    for (int draw = 0; draw < 8; ++draw) {
        auto flow = newFlow();
        flow->setBoard(board);
        flow->clockMs = seedForDraw(draw);
        flow->comp();
        int target = 0;
        for (int k = 1; k <= 9; ++k) {
            if (board[static_cast<std::size_t>(k - 1)] == ' ' && flow->board().is(k, kNought)) {
                EXPECT_EQ(target, 0) << "two noughts placed";
                target = k;
            }
        }
        EXPECT_NE(target, 0) << board << " draw " << draw;
        ++counts[target];
    }
    return counts;
}

TEST(RandomChoiceTest, CountsOfTheEightDrawsOverTheFreeCells) {
    // Empty board: cells 1 to 8 once each, cell 9 never.
    EXPECT_EQ(randomTargets("         "),
              (std::map<int, int>{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}}));
    // Eight free cells: each once.
    EXPECT_EQ(randomTargets("    X    "),
              (std::map<int, int>{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}}));
    // Three free cells: 3/8, 3/8, 2/8 in cell order.
    EXPECT_EQ(randomTargets("X0X00X   "), (std::map<int, int>{{7, 3}, {8, 3}, {9, 2}}));
    // One free cell: always it.
    EXPECT_EQ(randomTargets("X0X00XX0 "), (std::map<int, int>{{9, 8}}));
}

TEST(RandomChoiceTest, ComputerBeginningNeverTakesCellNineOverAWholeSecond) {
    for (std::uint32_t ms = 0; ms < 1000; ++ms) {
        auto flow = std::make_unique<RecordingFlow>();
        flow->FormCreate();
        flow->setBoard("         ");
        flow->clockMs = 43200000 + ms;
        flow->comp();
        ASSERT_TRUE(flow->board().is(9, kEmpty)) << ms;
    }
}

TEST(CompTest, FirstMoveCreatesEntryOne) {
    auto flow = newFlow();
    flow->Button2Click();
    flow->clockMs = seedForDraw(3);  // n = 4: the fourth free cell, cell 4
    flow->SpeedButton5Click();
    EXPECT_EQ(flow->entryCount(), 1);
    EXPECT_EQ(flow->shownEntryCount, 1);
    const MemoryEntry& entry = flow->memory()[1];
    EXPECT_EQ(entry.Position.text(), "    X    ");
    EXPECT_EQ(entry.Slots[1], (MoveSlot{4, 0, true}));
    EXPECT_EQ(entry.filledCount(), 1);
    EXPECT_EQ(flow->shownBoard(), "   0X    ");
    EXPECT_EQ(flow->moveCount(), 2);
}

TEST(CompTest, RememberedAnswerUnderRotation) {
    auto flow = newFlow();
    Board position;
    position.fill(kEmpty);
    position.set(1, kCross);
    flow->entry(1).Position = position;
    flow->entry(1).Slots[1] = {2, 1, false};
    flow->setEntryCount(1);

    flow->setBoard("  X      ");  // the entry's position turned by a quarter
    flow->comp();
    EXPECT_EQ(flow->board().text(), "  X  0   ");
    EXPECT_TRUE(flow->memory()[1].Slots[1].Used);
    EXPECT_EQ(flow->memory()[1].filledCount(), 1);
    EXPECT_EQ(flow->entryCount(), 1);
    EXPECT_EQ(flow->shownEntryCount, -1);  // nothing new to show
}

TEST(CompTest, UntriedAnswerIsRecordedInTheEntrysOrientation) {
    auto flow = newFlow();
    Board position;
    position.fill(kEmpty);
    position.set(1, kCross);
    flow->entry(1).Position = position;
    flow->entry(1).Slots[1] = {2, 0, false};
    flow->setEntryCount(1);

    flow->setBoard("  X      ");
    flow->clockMs = seedForDraw(0);  // the first free cell not tried: cell 1 of the board
    flow->comp();
    EXPECT_EQ(flow->board().text(), "0 X      ");  // the tried cell 6 is free again
    // Board cell 1 is cell 7 of the entry's position (a quarter turn takes 7 to 1).
    EXPECT_EQ(flow->memory()[1].Slots[2], (MoveSlot{7, 0, true}));
    EXPECT_EQ(flow->entryCount(), 1);
}

TEST(CompTest, EqualBestWeightsPlayTheLowerSlot) {
    auto flow = newFlow();
    Board position;
    position.fill(kEmpty);
    position.set(5, kCross);
    flow->entry(1).Position = position;
    flow->entry(1).Slots[1] = {1, 0, false};
    flow->entry(1).Slots[2] = {9, 2, false};
    flow->entry(1).Slots[3] = {3, 2, false};
    flow->setEntryCount(1);
    flow->setBoard("    X    ");  // the same under every turn: rotation 0
    flow->comp();
    EXPECT_EQ(flow->board().text(), "    X   0");
    EXPECT_TRUE(flow->memory()[1].Slots[2].Used);
    EXPECT_FALSE(flow->memory()[1].Slots[3].Used);
    EXPECT_EQ(flow->memory()[1].filledCount(), 3);
}

TEST(CompTest, BestWeightZeroTriesOnlyUntriedCells) {
    // Tried: 2 (weight 0) and 3 (weight -1); untried: 4 to 9. The eight draws count round the
    // six untried cells, so 4 and 5 come twice.
    std::map<int, int> counts;
    for (int draw = 0; draw < 8; ++draw) {
        auto flow = newFlow();
        Board position;
        position.fill(kEmpty);
        position.set(1, kCross);
        flow->entry(1).Position = position;
        flow->entry(1).Slots[1] = {2, 0, false};
        flow->entry(1).Slots[2] = {3, -1, false};
        flow->setEntryCount(1);
        flow->setBoard("X        ");
        flow->clockMs = seedForDraw(draw);
        flow->comp();
        const MoveSlot slot = flow->memory()[1].Slots[3];
        EXPECT_EQ(slot.Weight, 0);
        EXPECT_TRUE(slot.Used);
        EXPECT_TRUE(flow->board().is(slot.Answer, kNought)) << draw;
        EXPECT_TRUE(flow->board().is(2, kEmpty));
        EXPECT_TRUE(flow->board().is(3, kEmpty));
        EXPECT_EQ(flow->board().text().find('*'), std::string::npos);
        EXPECT_FALSE(flow->memory()[1].Slots[1].Used);
        ++counts[slot.Answer];
    }
    EXPECT_EQ(counts, (std::map<int, int>{{4, 2}, {5, 2}, {6, 1}, {7, 1}, {8, 1}, {9, 1}}));
}

TEST(CompTest, AllCellsTriedPlaysBestEvenWhenNegative) {
    auto flow = newFlow();
    Board position;
    const std::string cells = "X0X00X   ";
    for (int k = 1; k <= 9; ++k) {
        position.set(k, Cell(cells[static_cast<std::size_t>(k - 1)]));
    }
    flow->entry(1).Position = position;
    flow->entry(1).Slots[1] = {7, -3, false};
    flow->entry(1).Slots[2] = {9, -1, false};
    flow->entry(1).Slots[3] = {8, -1, false};
    flow->setEntryCount(1);
    flow->setBoard(cells);
    flow->comp();
    EXPECT_EQ(flow->board().text(), "X0X00X  0");
    EXPECT_TRUE(flow->memory()[1].Slots[2].Used);
    EXPECT_EQ(flow->memory()[1].filledCount(), 3);
    EXPECT_EQ(flow->entryCount(), 1);
}

TEST(CompTest, ForgetThenNextMoveCreatesEntryOneAgain) {
    auto flow = newFlow();
    flow->Button2Click();
    flow->SpeedButton5Click();
    flow->SpeedButton9Click();
    EXPECT_EQ(flow->entryCount(), 2);
    flow->forget();
    EXPECT_EQ(flow->entryCount(), 0);
    EXPECT_EQ(flow->memory()[1].filledCount(), 0);
    flow->SpeedButton7Click();
    EXPECT_EQ(flow->entryCount(), 1);
    // The board before the computer's answer, which takes the first free cell (clock 0).
    EXPECT_EQ(flow->memory()[1].Position.text(), "00  X X X");
    EXPECT_EQ(flow->memory()[1].Slots[1], (MoveSlot{3, 0, true}));
}

}  // namespace
}  // namespace zelmo::engine::test
