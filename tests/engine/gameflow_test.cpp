#include "engine/errors.h"
#include "recording_flow.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace zelmo::engine::test {
namespace {

// With the clock at 0 every random choice takes the first free cell, so these games are fixed:
// X5 0@1, X3 0@2, X7 wins through the diagonal 3-5-7.
void playPlayerWin(RecordingFlow& flow) {
    flow.SpeedButtonClick(5);
    flow.SpeedButtonClick(3);
    flow.SpeedButtonClick(7);
}

std::unique_ptr<RecordingFlow> newFlow() {
    auto flow = std::make_unique<RecordingFlow>();
    flow->FormCreate();
    return flow;
}

TEST(GameFlowTest, CreationAddsScorePointsAndLeavesNoGameRunning) {
    auto flow = newFlow();
    EXPECT_EQ(flow->scoreLabels, (std::vector<std::string>{"Игрок", "Компьютер", "Ничья"}));
    EXPECT_EQ(flow->scores, (std::vector<double>{0, 0, 0}));
    EXPECT_FALSE(flow->computerStarts());
    EXPECT_FALSE(flow->acceptingMoves());
    EXPECT_EQ(flow->entryCount(), 0);
    EXPECT_EQ(flow->gameNumber(), 0);
    // Clicks before the first game are ignored, even out-of-range ones.
    flow->SpeedButton5Click();
    flow->SpeedButtonClick(10);
    EXPECT_EQ(flow->moveCount(), 0);
    EXPECT_EQ(flow->board().text(), "");
}

TEST(GameFlowTest, FirstGameFromPlayToPlayerWin) {
    auto flow = newFlow();
    flow->grades[2] = 5;
    flow->Button2Click();
    EXPECT_EQ(flow->shownGameNumber, 1);
    EXPECT_EQ(flow->status, "");
    EXPECT_FALSE(flow->playEnabled);
    EXPECT_TRUE(flow->acceptingMoves());
    EXPECT_EQ(flow->shownBoard(), "         ");
    EXPECT_EQ(flow->moveCount(), 0);

    flow->SpeedButton5Click();
    EXPECT_EQ(flow->shownBoard(), "0   X    ");
    EXPECT_EQ(flow->moveCount(), 2);
    // A taken cell: no mark, no count, no computer move.
    flow->SpeedButton1Click();
    flow->SpeedButton5Click();
    EXPECT_EQ(flow->shownBoard(), "0   X    ");
    EXPECT_EQ(flow->moveCount(), 2);
    EXPECT_EQ(flow->entryCount(), 1);

    flow->SpeedButton3Click();
    flow->SpeedButton7Click();
    EXPECT_EQ(flow->shownBoard(), "00X X X  ");
    EXPECT_EQ(flow->moveCount(), 5);
    EXPECT_EQ(flow->scores, (std::vector<double>{1, 0, 0}));
    EXPECT_EQ(flow->scoreSets, 1);
    EXPECT_EQ(flow->status, "вы выиграли");
    EXPECT_TRUE(flow->playEnabled);
    EXPECT_FALSE(flow->acceptingMoves());
    EXPECT_TRUE(flow->computerStarts());
    // The player's win is graded by spinner 2, read once per used answer.
    EXPECT_EQ(flow->gradeReads, (std::map<int, int>{{2, 2}}));
    EXPECT_EQ(flow->memory()[1].Slots[1].Weight, 2);
    EXPECT_EQ(flow->memory()[2].Slots[1].Weight, 2);

    // After the end clicks are ignored.
    flow->SpeedButton9Click();
    EXPECT_EQ(flow->shownBoard(), "00X X X  ");
    EXPECT_EQ(flow->moveCount(), 5);
}

TEST(GameFlowTest, ComputerBeginsTheSecondGameAndWinsWithSpinnerOne) {
    auto flow = newFlow();
    flow->Button2Click();
    playPlayerWin(*flow);
    flow->grades = {{1, 2}, {2, 3}, {3, 3}};
    flow->gradeReads.clear();

    flow->Button2Click();
    EXPECT_EQ(flow->shownGameNumber, 2);
    EXPECT_EQ(flow->shownBoard(), "0        ");  // already on the board
    EXPECT_EQ(flow->moveCount(), 1);
    EXPECT_EQ(flow->entryCount(), 3);
    // The used marks of the first game were dropped when this one began.
    EXPECT_FALSE(flow->memory()[1].Slots[1].Used);
    EXPECT_FALSE(flow->memory()[2].Slots[1].Used);

    flow->SpeedButton9Click();  // 0@2
    flow->SpeedButton5Click();  // 0@3: the top row
    EXPECT_EQ(flow->shownBoard(), "000 X   X");
    EXPECT_EQ(flow->status, "компьютер выиграл");
    EXPECT_EQ(flow->scores, (std::vector<double>{1, 1, 0}));
    EXPECT_EQ(flow->gradeReads, (std::map<int, int>{{1, 3}}));
    // Only this game's answers are graded; the first game's keep their weights.
    EXPECT_EQ(flow->memory()[1].Slots[1].Weight, 0);
    EXPECT_EQ(flow->memory()[2].Slots[1].Weight, 0);
    for (const int j : {3, 4, 5}) {
        EXPECT_EQ(flow->memory()[j].Slots[1].Weight, -1) << j;
    }
    EXPECT_FALSE(flow->computerStarts());
}

TEST(GameFlowTest, DrawNeedsTheNinthMark) {
    auto flow = newFlow();
    flow->Button2Click();
    flow->setBoard("X0XX000X ");
    EXPECT_FALSE(flow->check());
    flow->SpeedButton9Click();
    EXPECT_EQ(flow->moveCount(), 9);
    EXPECT_EQ(flow->status, "ничья");
    EXPECT_EQ(flow->scores, (std::vector<double>{0, 0, 1}));
    EXPECT_EQ(flow->totalGradeReads(), 0);  // empty memory: no spinner is read
    EXPECT_TRUE(flow->playEnabled);
}

TEST(GameFlowTest, CellNumberOutOfRangeRaisesDuringAGame) {
    auto flow = newFlow();
    flow->Button2Click();
    EXPECT_THROW(flow->SpeedButtonClick(10), ERangeError);
    EXPECT_THROW(flow->SpeedButtonClick(0), ERangeError);
    EXPECT_EQ(flow->moveCount(), 0);
}

TEST(GameFlowTest, WipeDuringAGameLetsItGoOnAndDropsEarlierAnswers) {
    auto flow = newFlow();
    flow->grades[2] = 5;
    flow->Button2Click();
    flow->SpeedButtonClick(5);
    ASSERT_EQ(flow->entryCount(), 1);

    flow->Button1Click();
    EXPECT_EQ(flow->entryCount(), 0);
    EXPECT_EQ(flow->shownEntryCount, 0);
    EXPECT_EQ(flow->status, "промыл");
    EXPECT_TRUE(flow->acceptingMoves());
    EXPECT_FALSE(flow->playEnabled);
    EXPECT_EQ(flow->shownBoard(), "0   X    ");
    EXPECT_EQ(flow->gameNumber(), 1);

    flow->SpeedButtonClick(3);
    flow->SpeedButtonClick(7);
    EXPECT_EQ(flow->status, "вы выиграли");
    // Only the one answer given after the wipe is graded.
    EXPECT_EQ(flow->gradeReads, (std::map<int, int>{{2, 1}}));
    EXPECT_EQ(flow->entryCount(), 1);
    EXPECT_EQ(flow->memory()[1].Slots[1].Weight, 2);
}

TEST(GameFlowTest, FullTableStillPlaysAndEndsGames) {
    auto flow = newFlow();
    // Fill the table with a position no game reaches (nine noughts), except the last entry,
    // which holds the empty board with answer 1 tried.
    Board unreachable;
    unreachable.fill(kNought);
    for (int j = 1; j < PositionMemory::Capacity; ++j) {
        flow->entry(j).Position = unreachable;
        flow->entry(j).Slots[1] = {1, 0, false};
    }
    Board empty;
    empty.fill(kEmpty);
    flow->entry(PositionMemory::Capacity).Position = empty;
    flow->entry(PositionMemory::Capacity).Slots[1] = {1, 0, false};
    flow->setEntryCount(PositionMemory::Capacity);

    flow->Button2Click();
    playPlayerWin(*flow);  // X5 0@1, X3 0@2, X7: new positions, played but not remembered
    EXPECT_EQ(flow->shownBoard(), "00X X X  ");
    EXPECT_EQ(flow->entryCount(), PositionMemory::Capacity);
    EXPECT_EQ(flow->shownEntryCount, -1);
    EXPECT_EQ(flow->status, "вы выиграли");
    EXPECT_TRUE(flow->playEnabled);
    EXPECT_EQ(flow->totalGradeReads(), 0);

    // The next game begins; the remembered empty board is still found and learns answer 2.
    flow->Button2Click();
    EXPECT_EQ(flow->shownBoard(), " 0       ");
    EXPECT_EQ(flow->memory()[PositionMemory::Capacity].Slots[2], (MoveSlot{2, 0, true}));
    flow->SpeedButtonClick(5);  // 0@1, not remembered
    flow->SpeedButtonClick(3);  // 0@4
    flow->SpeedButtonClick(7);  // X on 3-5-7
    EXPECT_EQ(flow->status, "вы выиграли");
    EXPECT_EQ(flow->gradeReads, (std::map<int, int>{{2, 1}}));
    EXPECT_EQ(flow->gameNumber(), 2);
}

TEST(GameFlowTest, EntryCreatedAboveTheWipedHalfStartsWithFreeSlots) {
    auto flow = newFlow();
    Board unreachable;
    unreachable.fill(kNought);
    for (int j = 1; j <= 600; ++j) {
        flow->entry(j).Position = unreachable;
        for (int k = 1; k <= 9; ++k) {
            flow->entry(j).Slots[k] = {static_cast<std::int16_t>(k), 7, true};
        }
    }
    flow->setEntryCount(600);
    flow->Button1Click();
    EXPECT_EQ(flow->memory()[500].filledCount(), 0);
    // Refill the first 500 entries as play would have, then meet a new position.
    for (int j = 1; j <= 500; ++j) {
        flow->entry(j).Slots[1] = {1, 0, false};
    }
    flow->setEntryCount(500);
    flow->Button2Click();
    flow->SpeedButtonClick(5);
    ASSERT_EQ(flow->entryCount(), 501);
    const MemoryEntry& created = flow->memory()[501];
    EXPECT_EQ(created.Position.text(), "    X    ");
    EXPECT_EQ(created.Slots[1], (MoveSlot{1, 0, true}));
    EXPECT_EQ(created.filledCount(), 1);
}

TEST(GameFlowTest, OverflowWhileGradingStillEndsTheGame) {
    auto flow = newFlow();
    flow->grades[2] = 5;
    flow->Button2Click();
    flow->SpeedButtonClick(5);
    flow->SpeedButtonClick(3);
    ASSERT_EQ(flow->entryCount(), 2);
    flow->entry(1).Slots[1].Weight = INT32_MAX - 4;  // + 5 overflows before the - 3

    try {
        flow->SpeedButtonClick(7);
        FAIL() << "no error";
    } catch (const EIntOverflow& error) {
        EXPECT_STREQ(error.what(), "Integer overflow");
    }
    EXPECT_EQ(flow->memory()[1].Slots[1].Weight, INT32_MAX - 4);
    EXPECT_EQ(flow->memory()[2].Slots[1].Weight, 0);  // grading stopped before it
    EXPECT_EQ(flow->gradeReads, (std::map<int, int>{{2, 1}}));
    EXPECT_EQ(flow->scores, (std::vector<double>{1, 0, 0}));
    EXPECT_EQ(flow->status, "вы выиграли");
    EXPECT_TRUE(flow->playEnabled);
    EXPECT_FALSE(flow->acceptingMoves());
    EXPECT_TRUE(flow->computerStarts());

    // A new game can begin.
    flow->Button2Click();
    EXPECT_TRUE(flow->acceptingMoves());
    EXPECT_EQ(flow->moveCount(), 1);
}

TEST(GameFlowTest, DefaultClockIsATimeOfDay) {
    EXPECT_LT(GameFlow::utcMillisecondsOfDay(), 86400000u);
}

TEST(GameFlowTest, GradeIsReadWhenTheGameEnds) {
    auto flow = newFlow();
    flow->grades[2] = 2;
    flow->Button2Click();
    flow->SpeedButtonClick(5);
    flow->grades[2] = 4;  // changed during the game, before its end
    flow->SpeedButtonClick(3);
    flow->SpeedButtonClick(7);
    EXPECT_EQ(flow->memory()[1].Slots[1].Weight, 1);
    flow->grades[2] = 2;  // changed after the end: no effect
    EXPECT_EQ(flow->memory()[1].Slots[1].Weight, 1);
}

}  // namespace
}  // namespace zelmo::engine::test
