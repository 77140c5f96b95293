// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_flow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zelmo::engine::test {
namespace {

// After every move: the count and the shown board agree with the board, and every entry in use
// holds distinct answers from slot 1 without gaps, each a free cell of its position.
// `usedAnswers` counts the slots marked used.
void checkInvariants(const RecordingFlow& flow, int& usedAnswers) {
    const std::string board = flow.board().text();
    const auto crosses = std::count(board.begin(), board.end(), 'X');
    const auto noughts = std::count(board.begin(), board.end(), '0');
    ASSERT_EQ(flow.moveCount(), crosses + noughts) << board;
    ASSERT_EQ(std::count(board.begin(), board.end(), ' '), 9 - crosses - noughts) << board;
    ASSERT_LE(std::abs(crosses - noughts), 1) << board;
    ASSERT_EQ(flow.shownBoard, board);
    usedAnswers = 0;
    for (int j = 1; j <= flow.entryCount(); ++j) {
        const MemoryEntry& entry = flow.memory()[j];
        const int filled = entry.filledCount();
        ASSERT_GE(filled, 1) << "entry " << j;
        bool seen[10] = {};
        for (int k = 1; k <= 9; ++k) {
            const int answer = entry.Slots[k].Answer;
            usedAnswers += entry.Slots[k].Used ? 1 : 0;
            ASSERT_EQ(answer != 0, k <= filled) << "entry " << j << " slot " << k;
            if (answer != 0) {
                ASSERT_FALSE(seen[answer]) << "entry " << j << " answer " << answer;
                seen[answer] = true;
                ASSERT_TRUE(entry.Position.is(answer, kEmpty)) << "entry " << j;
            }
        }
    }
}

TEST(LongRunTest, ThousandsOfGamesAgainstARandomPlayer) {
    RecordingFlow flow;
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<std::uint32_t> dayMs(0, 86399999);
    std::uniform_int_distribution<int> anyCell(1, 9), grade(2, 5);
    const char* statuses[] = {"вы выиграли", "компьютер выиграл", "ничья"};
    for (int game = 1; game <= 5000; ++game) {
        for (auto& [spinner, value] : flow.grades) {
            value = grade(rng);
        }
        const bool wipeThisGame = game % 1500 == 0;
        const std::vector<double> scoresBefore = flow.scores;
        flow.clockMs = dayMs(rng);
        flow.Button2Click();
        ASSERT_EQ(flow.shownGameNumber, game);
        ASSERT_FALSE(flow.playEnabled);
        // The player begins the odd games, the computer the even ones.
        ASSERT_EQ(flow.moveCount(), game % 2 == 1 ? 0 : 1) << "game " << game;

        for (int clicks = 1; flow.acceptingMoves(); ++clicks) {
            ASSERT_LT(clicks, 500) << "game " << game << " does not end";
            flow.clockMs = dayMs(rng);
            if (wipeThisGame && clicks == 2) {
                flow.Button1Click();
            }
            const int cell = anyCell(rng);
            const std::string before = flow.board().text();
            flow.SpeedButtonClick(cell);
            if (before[static_cast<std::size_t>(cell - 1)] != ' ') {
                ASSERT_EQ(flow.board().text(), before);  // a taken cell is ignored
                continue;
            }
            int usedAnswers = 0;
            ASSERT_NO_FATAL_FAILURE(checkInvariants(flow, usedAnswers)) << "game " << game;
            // One used answer per computer move of this game (a wipe drops the earlier ones).
            const std::string board = flow.board().text();
            if (!wipeThisGame) {
                ASSERT_EQ(usedAnswers, std::count(board.begin(), board.end(), '0')) << game;
            }
        }

        // Exactly the outcome's score point rose by one, and the status names it.
        const std::optional<Outcome> outcome = detect(flow.board(), flow.moveCount());
        ASSERT_TRUE(outcome.has_value()) << "game " << game;
        std::vector<double> expected = scoresBefore;
        expected[static_cast<std::size_t>(*outcome)] += 1;
        ASSERT_EQ(flow.scores, expected) << "game " << game;
        ASSERT_EQ(flow.status, statuses[static_cast<int>(*outcome)]);
        ASSERT_TRUE(flow.playEnabled);
        ASSERT_EQ(flow.computerStarts(), game % 2 == 1);
    }
}

}  // namespace
}  // namespace zelmo::engine::test
