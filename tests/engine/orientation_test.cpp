// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/orientation.h"
#include "engine/game/lesson.h"
#include "recording_flow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>

namespace zelmo::engine::test {
namespace {

// The kept position
//     X 0 .
//     . . X
//     . . .
// with an answer in the top right corner, drawn by hand as it stands on the board after a
// quarter, a half and three quarters of a clockwise turn.
TEST(OrientationTest, AKeptEntryTurnsBackToTheBoard) {
    const struct {
        int turns;
        const char* board;
        int answer;
    } turns[] = {
        {0, "X0   X   ", 3},
        {1, "  X  0 X ", 9},
        {2, "   X   0X", 7},
        {3, " X 0  X  ", 1},
    };
    MemoryEntry kept;
    kept.Position = boardOf(turns[0].board);
    kept.Slots[1] = MoveSlot{3, 4, true};
    for (const auto& t : turns) {
        EXPECT_EQ(positionOnBoard(kept.Position, t.turns).text(), t.board) << t.turns;
        const MemoryEntry onBoard = entryOnBoard(kept, t.turns);
        EXPECT_EQ(onBoard.Position.text(), t.board) << t.turns;
        EXPECT_EQ(onBoard.Slots[1], (MoveSlot{static_cast<std::int16_t>(t.answer), 4, true}));
        EXPECT_EQ(onBoard.Slots[2], MoveSlot{}) << "a free slot stays free";
        for (int cell = 1; cell <= 9; ++cell) {
            EXPECT_EQ(keptCellOf(boardCellOf(cell, t.turns), t.turns), cell) << t.turns;
        }
    }
}

// The game meets the kept position "X in the top left corner" under each turn, as the player
// puts the X in each corner; the computer plays its kept answer (the top middle cell) turned
// with it, and the memory tells the turn, so the entry shows as the board stood.
TEST(OrientationTest, TheGameTellsTheTurnUnderWhichItMetAnEntry) {
    const struct {
        int corner;
        int turns;
        int answer;  // the top middle cell turned with the board
    } games[] = {{1, 0, 2}, {3, 1, 6}, {9, 2, 8}, {7, 3, 4}};
    for (const auto& game : games) {
        RecordingFlow flow;
        auto memory = std::make_unique<PositionMemory>();
        remember(*memory, 1, "X        ", {{2, 5, true}});
        flow.restoreMemory(*memory, 1);
        // A used mark read from a file has no turn: the entry shows as kept.
        EXPECT_EQ(flow.memory().usedTurns(1), std::nullopt);
        EXPECT_EQ(entryAsPlayed(flow.memory(), 1).Position.text(), "X        ");

        flow.Button2Click();
        EXPECT_EQ(flow.memory().usedTurns(1), std::nullopt) << "a new game clears the used marks";
        flow.SpeedButtonClick(game.corner);
        ASSERT_EQ(flow.memory().usedTurns(1), game.turns) << "corner " << game.corner;
        Board before = flow.board();
        ASSERT_TRUE(before.is(game.answer, kNought)) << "corner " << game.corner;
        before.set(game.answer, kEmpty);
        const MemoryEntry played = entryAsPlayed(flow.memory(), 1);
        EXPECT_EQ(played.Position, before) << "corner " << game.corner;
        EXPECT_EQ(played.Slots[1].Answer, game.answer) << "corner " << game.corner;
    }
}

// Whatever the game, the lesson names one answer per "0" on the final board, each on its cell
// of the board, graded with the grade of the outcome; the game as the history takes it says
// who began.
TEST(LessonTest, EveryAnswerOfTheGameWithItsCellAndItsWeights) {
    RecordingFlow flow;
    flow.grades = {{1, 5}, {2, 2}, {3, 4}};
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> cell(1, 9);
    for (int game = 1; game <= 300; ++game) {
        const bool computerBegins = flow.computerStarts();
        flow.clockMs = static_cast<std::uint32_t>(rng());
        flow.Button2Click();
        while (flow.acceptingMoves()) {
            flow.clockMs = static_cast<std::uint32_t>(rng());
            flow.SpeedButtonClick(cell(rng));
        }
        const Outcome outcome = flow.finished.back();
        const GameLesson lesson = lastLesson(flow.memory(), outcome);
        const std::int32_t grade = outcome == Outcome::ComputerWin ? 5
                                   : outcome == Outcome::PlayerWin ? 2
                                                                   : 4;
        int noughts = 0;
        for (int k = 1; k <= 9; ++k) {
            noughts += flow.board().is(k, kNought) ? 1 : 0;
        }
        EXPECT_EQ(lesson.outcome, outcome);
        const HistoryGame finished = historyGame(flow.games.back());
        EXPECT_EQ(finished.computerBegan, computerBegins) << "game " << game;
        EXPECT_EQ(finished.positions, flow.entryCount());
        ASSERT_EQ(static_cast<int>(lesson.answers.size()), noughts) << "game " << game;
        for (const LessonAnswer& answer : lesson.answers) {
            ASSERT_TRUE(answer.boardCell.has_value());
            EXPECT_TRUE(flow.board().is(*answer.boardCell, kNought)) << "game " << game;
            EXPECT_EQ(flow.memory()[answer.entry].Slots[answer.slot].Answer, answer.keptCell);
            EXPECT_EQ(flow.memory()[answer.entry].Slots[answer.slot].Weight, answer.weightAfter);
            EXPECT_EQ(answer.grade, grade);
            EXPECT_EQ(answer.weightAfter - answer.weightBefore, grade - 3);
            EXPECT_TRUE(answer.graded);
        }
    }
}

// An overflow stops the grading: the lesson still names every answer, the ones left ungraded
// with their weight unchanged; a wipe leaves no lesson behind.
TEST(LessonTest, AnOverflowLeavesTheRestUngradedAndAWipeForgetsTheLesson) {
    PositionMemory memory;
    remember(memory, 1, "         ", {{5, 0, false}});
    remember(memory, 2, "X0       ", {{9, INT32_MAX - 1, false}});
    remember(memory, 3, "X0X0     ", {{7, -4, false}});
    for (int j = 1; j <= 3; ++j) {
        memory.markUsed(j, 1, j);
    }
    EXPECT_EQ(errorText([&memory] { memory.learn(3, [] { return std::int32_t{5}; }); }),
              "Integer overflow");
    const GameLesson lesson = lastLesson(memory, Outcome::ComputerWin);
    ASSERT_EQ(lesson.answers.size(), 3u);
    EXPECT_EQ(lesson.answers[0].weightAfter, 2);
    EXPECT_TRUE(lesson.answers[0].graded);
    EXPECT_EQ(lesson.answers[0].boardCell, 5);  // the centre, whatever the turn
    EXPECT_EQ(lesson.answers[1].weightBefore, INT32_MAX - 1);
    EXPECT_EQ(lesson.answers[1].weightAfter, INT32_MAX - 1);
    EXPECT_EQ(lesson.answers[1].boardCell, 1);  // cell 9 after a half turn
    EXPECT_FALSE(lesson.answers[1].graded);
    EXPECT_EQ(lesson.answers[2].weightAfter, -4);
    EXPECT_FALSE(lesson.answers[2].graded);
    memory.forget();
    EXPECT_TRUE(lastLesson(memory, Outcome::ComputerWin).answers.empty());
}

}  // namespace
}  // namespace zelmo::engine::test
