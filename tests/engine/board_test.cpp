#include "engine/board.h"
#include "engine/checked.h"
#include "engine/errors.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace zelmo::engine {
namespace {

Board boardOf(const std::string& nineCells) {
    Board board;
    for (int k = 1; k <= 9; ++k) {
        board.set(k, Cell(nineCells[static_cast<std::size_t>(k - 1)]));
    }
    return board;
}

TEST(CheckedTest, ArrayIsOneBasedAndBoundsTested) {
    CheckedArray<int, 3> values;
    values[1] = 10;
    values[3] = 30;
    EXPECT_EQ(values[1], 10);
    EXPECT_EQ(values[3], 30);
    EXPECT_THROW(values[0], ERangeError);
    EXPECT_THROW(values[4], ERangeError);
    EXPECT_THROW(values[-1], ERangeError);
    try {
        values[4] = 1;
        FAIL() << "no error";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "Range check error");
    }
}

TEST(CheckedTest, AdditionRaisesOnOverflowOnly) {
    EXPECT_EQ(checkedAdd(INT32_MAX - 2, 2), INT32_MAX);
    EXPECT_EQ(checkedAdd(INT32_MIN + 3, -3), INT32_MIN);
    EXPECT_THROW(checkedAdd(INT32_MAX, 1), EIntOverflow);
    EXPECT_THROW(checkedAdd(INT32_MIN, -1), EIntOverflow);
    try {
        checkedAdd(INT32_MAX, INT32_MAX);
        FAIL() << "no error";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "Integer overflow");
    }
}

TEST(CellTest, ComparedAsWholeTextWithLength) {
    const Cell unset;
    EXPECT_EQ(unset.length(), 0);
    EXPECT_EQ(unset.text(), "");
    for (const Cell mark : {kEmpty, kCross, kNought, kSkip}) {
        EXPECT_FALSE(unset == mark) << mark.text();
        EXPECT_EQ(mark.length(), 1);
    }
    EXPECT_EQ(kEmpty.text(), " ");
    EXPECT_EQ(kCross.text(), "X");
    EXPECT_EQ(kNought.text(), "0");
    EXPECT_FALSE(kNought == Cell('O'));
}

TEST(BoardTest, CellsOneToNineAndText) {
    Board board;
    EXPECT_EQ(board.text(), "");  // cells of length 0 before the first reset
    EXPECT_FALSE(board.is(1, kEmpty));
    board.fill(kEmpty);
    EXPECT_EQ(board.text(), "         ");
    board.set(1, kCross);
    board.set(9, kNought);
    EXPECT_EQ(board.text(), "X       0");
    EXPECT_TRUE(board.is(9, kNought));
    EXPECT_THROW(board.set(0, kCross), ERangeError);
    EXPECT_THROW(board.at(10), ERangeError);
    EXPECT_THROW(board.is(10, kEmpty), ERangeError);
}

TEST(WinPatternsTest, EveryLineOfEachSideAndNoOther) {
    const int lines[8][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {1, 4, 7},
                             {2, 5, 8}, {3, 6, 9}, {1, 5, 9}, {3, 5, 7}};
    for (const auto& line : lines) {
        for (const Cell mark : {kCross, kNought}) {
            Board board;
            board.fill(kEmpty);
            for (const int k : line) {
                board.set(k, mark);
            }
            const bool player = WinPatterns::hasLine(board, WinPatterns::Player);
            const bool computer = WinPatterns::hasLine(board, WinPatterns::Computer);
            EXPECT_EQ(player, mark == kCross) << line[0] << line[1] << line[2];
            EXPECT_EQ(computer, mark == kNought) << line[0] << line[1] << line[2];
        }
    }
    // Two in a line with the third empty, or the third taken by the other side: no line.
    EXPECT_FALSE(WinPatterns::hasLine(boardOf("XX       "), WinPatterns::Player));
    EXPECT_FALSE(WinPatterns::hasLine(boardOf("XX0      "), WinPatterns::Player));
    // Three marks, none in a line.
    EXPECT_FALSE(WinPatterns::hasLine(boardOf("X X  X   "), WinPatterns::Player));
    EXPECT_FALSE(WinPatterns::hasLine(boardOf("0 0 X 0  "), WinPatterns::Computer));
}

TEST(DetectTest, OutcomesAndTheirOrder) {
    // Diagonal 3-5-7 of the player, middle column of the computer.
    EXPECT_EQ(detect(boardOf("  X X X  "), 3), Outcome::PlayerWin);
    EXPECT_EQ(detect(boardOf(" 0X 0X 0 "), 5), Outcome::ComputerWin);
    // Both sides with a line: the player's is tested first.
    EXPECT_EQ(detect(boardOf("XXX000   "), 6), Outcome::PlayerWin);
    // Ninth mark completing a line: a win, not a draw.
    EXPECT_EQ(detect(boardOf("X0XX00XX0"), 9), Outcome::PlayerWin);
    EXPECT_EQ(detect(boardOf("000XX0X0X"), 9), Outcome::ComputerWin);
    // A full board without a line is a draw only when the count says nine.
    const Board full = boardOf("X0XX000XX");
    EXPECT_EQ(detect(full, 9), Outcome::Draw);
    EXPECT_EQ(detect(full, 8), std::nullopt);
    EXPECT_EQ(detect(full, 10), std::nullopt);
    // An open game.
    EXPECT_EQ(detect(boardOf("X0       "), 2), std::nullopt);
    // Cells of length 0 never make a line.
    EXPECT_EQ(detect(Board(), 0), std::nullopt);
}

}  // namespace
}  // namespace zelmo::engine
