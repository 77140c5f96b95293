// SPDX-License-Identifier: GPL-3.0-or-later
// Why the computer played a move: one row per rule, each with the move comp() made and the
// sentence that explains it.
#include "engine/game/explanation.h"
#include "recording_flow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelmo::engine::test {
namespace {

TEST(MoveExplanationTest, EachRuleIsToldAsTheMoveWasMade) {
    struct Row {
        const char* rule;
        std::vector<MoveSlot> answers;  // of entry 1 at "X        " (none: an empty memory)
        std::string board;              // the board before the computer's move
        int cell;                       // the cell it plays (the clock takes the first free cell)
        MoveRule expected;
        std::string text;
    };
    const Row rows[] = {
        {"a new position",
         {},
         "  X      ",
         1,
         MoveRule::NewPosition,
         "клетка 1: позиция новая, запомнена как запись 1; клетка выбрана случайно среди "
         "свободных"},
        // "X" in cell 1 with answer 2, seen with "X" in cell 3: a quarter turn, cell 6.
        {"the best weight positive",
         {{2, 1, false}},
         "  X      ",
         6,
         MoveRule::BestPositive,
         "клетка 6: позиция найдена, запись 1, поворот на четверть оборота; ответы: 6 (вес +1); "
         "лучший ответ 6 с весом +1 положителен, он и сыгран"},
        {"an untried cell at random",
         {{2, 0, false}},
         "X        ",
         3,
         MoveRule::UntriedRandom,
         "клетка 3: позиция найдена, запись 1, без поворота; ответы: 2 (вес 0); лучший вес 0 не "
         "положителен, поэтому клетка выбрана случайно среди неиспробованных"},
        // Seen with "X" in cell 9: half a turn, the answers told on the board in their order.
        {"an untried cell at random, half a turn",
         {{2, 0, false}, {4, -1, false}},
         "        X",
         1,
         MoveRule::UntriedRandom,
         "клетка 1: позиция найдена, запись 1, поворот на пол-оборота; ответы: 8 (вес 0), 6 (вес "
         "-1); лучший вес 0 не положителен, поэтому клетка выбрана случайно среди неиспробованных"},
        {"every free cell tried",
         {{2, -3, false},
          {3, -1, false},
          {4, -2, false},
          {5, -5, false},
          {6, -1, false},
          {7, -4, false},
          {8, -9, false},
          {9, -2, false}},
         "X        ",
         3,
         MoveRule::AllTried,
         "клетка 3: позиция найдена, запись 1, без поворота; ответы: 2 (вес -3), 3 (вес -1), 4 "
         "(вес -2), 5 (вес -5), 6 (вес -1), 7 (вес -4), 8 (вес -9), 9 (вес -2); все свободные "
         "клетки уже испробованы, сыгран лучший ответ 3 (вес -1)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        RecordingFlow flow;
        if (!row.answers.empty()) {
            flow.remember(1, "X        ", row.answers);
        }
        flow.setBoard(row.board);
        flow.comp();
        ASSERT_EQ(flow.moveExplanations().size(), 1U);
        const MoveExplanation& why = flow.moveExplanations().front();
        EXPECT_EQ(why.rule, row.expected);
        EXPECT_EQ(why.cell, row.cell);
        EXPECT_TRUE(flow.board().is(row.cell, kNought)) << "the move explained is the move made";
        EXPECT_EQ(explanationText(why), row.text);
        // Told as it was chosen: the grading that follows changes the weights, not the reason.
        flow.learn(5);
        EXPECT_EQ(explanationText(flow.moveExplanations().front()), row.text);
    }
}

// The two sides' moves of a game in the order played, whichever began.
TEST(MoveExplanationTest, BothSidesMovesComeInPlayOrder) {
    const auto moves = [](const std::vector<int>& marks) {
        std::vector<MoveExplanation> list;
        for (const int m : marks) {
            MoveExplanation move;
            move.marks = m;
            list.push_back(move);
        }
        return list;
    };
    for (const bool crossBegan : {true, false}) {
        const std::vector<MoveExplanation> computer =
            moves(crossBegan ? std::vector{1, 3} : std::vector{0, 2, 4});
        const std::vector<MoveExplanation> cross =
            moves(crossBegan ? std::vector{0, 2, 4} : std::vector{1, 3});
        const std::vector<PlayedMove> played = inPlayOrder(computer, cross);
        ASSERT_EQ(played.size(), 5u);
        for (std::size_t i = 0; i < played.size(); ++i) {
            EXPECT_EQ(played[i].move->marks, static_cast<int>(i));
            EXPECT_EQ(played[i].cross, (i % 2 == 0) == crossBegan);
        }
    }
    EXPECT_TRUE(inPlayOrder({}, {}).empty());
}

}  // namespace
}  // namespace zelmo::engine::test
