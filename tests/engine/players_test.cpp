// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/players.h"
#include "engine/game/playgame.h"
#include "recording_flow.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace zelmo::engine::test {
namespace {

std::uint16_t cells(std::initializer_list<int> list) {
    std::uint16_t mask = 0;
    for (const int k : list) {
        mask = static_cast<std::uint16_t>(mask | (1u << k));
    }
    return mask;
}

TEST(PerfectPlayerTest, BestMovesOfKnownPositions) {
    const struct {
        std::string board;
        std::uint16_t best;
    } cases[] = {
        {"         ", cells({1, 2, 3, 4, 5, 6, 7, 8, 9})},  // every first move draws
        {"XX 00    ", cells({3})},                          // win at once
        {"X  00  X ", cells({6})},                          // block the computer's row
        {"    0    ", cells({1, 3, 7, 9})},                 // an edge against the centre loses
        {"X 0 0   X", cells({7})},        // blocking 3-5-7 makes a fork of 4 and 8
        {"0 X X0   ", cells({2, 7, 8})},  // 7 wins at once, 2 and 8 fork 7 and 2-5-8
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PerfectPlayer::bestMoves(boardOf(c.board)), c.best) << "'" << c.board << "'";
    }
}

TEST(PlayersTest, RandomIsUniformOverFreeCellsAndPerfectNeverLoses) {
    RandomPlayer random(11);
    std::map<int, int> counts;
    for (int i = 0; i < 9000; ++i) {
        ++counts[random.move(boardOf("X0X 0X 0 "))];
    }
    ASSERT_EQ(counts.size(), 3u);
    for (const int cell : {4, 7, 9}) {
        EXPECT_NEAR(counts[cell], 3000, 200) << cell;
    }

    // Against the learning computer, whoever begins: never a computer win.
    for (const char* name : {"perfect", "mixed:1"}) {
        RecordingFlow flow;
        const auto player = makePlayer(name, 5);
        const GameInput input{[&flow] { flow.Button2Click(); },
                              [&flow](int cell) {
                                  flow.clockMs += 1777;  // another random choice at every answer
                                  flow.SpeedButtonClick(cell);
                              }};
        for (int game = 0; game < 2000; ++game) {
            playGame(flow, *player, input);
        }
        EXPECT_EQ(flow.GameFlow::scores()[1], 0) << name;
        EXPECT_EQ(flow.GameFlow::scores()[0] + flow.GameFlow::scores()[2], 2000) << name;
    }
}

TEST(PlayersTest, NamesAndSeeds) {
    for (const char* good : {"random", "perfect", "mixed:0", "mixed:0.25", "mixed:1"}) {
        EXPECT_NE(makePlayer(good, 1), nullptr) << good;
    }
    for (const char* bad :
         {"", "Random", "mixed:", "mixed:1.5", "mixed:-0.1", "mixed:x", "mixed: 0.5", "mixed:0.5 ",
          "mixed:+0.5", "mixed:.5", "mixed:0x0.8", "mixed:1e-1", "mixed:nan"}) {
        EXPECT_EQ(makePlayer(bad, 1), nullptr) << bad;
    }
    // The same seed gives the same moves, another seed other moves.
    const engine::Board empty = boardOf("         ");
    RandomPlayer a(9), b(9), c(10);
    std::string sa, sb, sc;
    for (int i = 0; i < 40; ++i) {
        sa += std::to_string(a.move(empty));
        sb += std::to_string(b.move(empty));
        sc += std::to_string(c.move(empty));
    }
    EXPECT_EQ(sa, sb);
    EXPECT_NE(sa, sc);
}

}  // namespace
}  // namespace zelmo::engine::test
