// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/board.h"
#include "engine/game/checked.h"
#include "engine/game/errors.h"
#include "recording_flow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace zelmo::engine::test {
namespace {

TEST(CheckedTest, OneBasedArrayAndAdditionRaiseTheirErrors) {
    CheckedArray<int, 3> values;
    values[1] = 10;
    values[3] = 30;
    EXPECT_EQ(values[1] + values[3], 40);
    for (const int bad : {0, 4, -1}) {
        EXPECT_THROW(values[bad], ERangeError) << bad;
    }
    EXPECT_EQ(errorText([&values] { values[4] = 1; }), "Range check error");

    EXPECT_EQ(checkedAdd(INT32_MAX - 2, 2), INT32_MAX);
    EXPECT_EQ(checkedAdd(INT32_MIN + 3, -3), INT32_MIN);
    EXPECT_THROW(checkedAdd(INT32_MIN, -1), EIntOverflow);
    EXPECT_EQ(errorText([] { checkedAdd(INT32_MAX, 1); }), "Integer overflow");
}

TEST(DetectTest, EveryLineOfEachSide) {
    for (const std::string line : {"123", "456", "789", "147", "258", "369", "159", "357"}) {
        for (const Cell mark : {kCross, kNought}) {
            std::string cells(9, ' ');
            for (const char k : line) {
                cells[static_cast<std::size_t>(k - '1')] = mark.character();
            }
            EXPECT_EQ(detect(boardOf(cells), 3),
                      mark == kCross ? Outcome::PlayerWin : Outcome::ComputerWin)
                << cells;
        }
    }
}

TEST(DetectTest, OutcomesAndTheirOrder) {
    const struct {
        const char* board;
        int moveCount;
        std::optional<Outcome> expected;
    } cases[] = {
        {"XXX000   ", 6, Outcome::PlayerWin},    // both sides with a line: the player's first
        {"X0XX00XX0", 9, Outcome::PlayerWin},    // the ninth mark completing a line wins
        {"000XX0X0X", 9, Outcome::ComputerWin},  // ... for either side
        {"X0XX000XX", 9, Outcome::Draw},
        {"X0XX000XX", 8, std::nullopt},  // a full board is a draw only at count nine
        {"XX       ", 2, std::nullopt},  // two in a line, third empty or the other side's
        {"XX0      ", 3, std::nullopt},
        {"X X  X   ", 3, std::nullopt},  // three marks, none in a line
    };
    for (const auto& c : cases) {
        EXPECT_EQ(detect(boardOf(c.board), c.moveCount), c.expected)
            << "'" << c.board << "' " << c.moveCount;
    }
    // Cells of length 0 (before the first game) never make a line.
    EXPECT_EQ(detect(Board(), 0), std::nullopt);
}

}  // namespace
}  // namespace zelmo::engine::test
