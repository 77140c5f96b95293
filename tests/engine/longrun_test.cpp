#include "recording_flow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace zelmo::engine::test {
namespace {

int countOf(const Board& board, Cell mark) {
    int count = 0;
    for (int k = 1; k <= 9; ++k) {
        count += board.is(k, mark) ? 1 : 0;
    }
    return count;
}

// Every entry in use: answers fill the slots from 1 without gaps, are distinct, and each is a
// free cell of its position. Counts the slots marked used.
void expectMemoryConsistent(const RecordingFlow& flow, int* usedSlots) {
    *usedSlots = 0;
    for (int j = 1; j <= flow.entryCount(); ++j) {
        const MemoryEntry& entry = flow.memory()[j];
        bool seen[10] = {};
        bool gap = false;
        for (int k = 1; k <= 9; ++k) {
            const int answer = entry.Slots[k].Answer;
            *usedSlots += entry.Slots[k].Used ? 1 : 0;
            if (answer == 0) {
                gap = true;
                continue;
            }
            ASSERT_FALSE(gap) << "entry " << j << " slot " << k << " after a free slot";
            ASSERT_TRUE(answer >= 1 && answer <= 9) << "entry " << j;
            ASSERT_FALSE(seen[answer]) << "entry " << j << " answer " << answer << " twice";
            seen[answer] = true;
            ASSERT_TRUE(entry.Position.is(answer, kEmpty))
                << "entry " << j << " answer " << answer << " on '" << entry.Position.text() << "'";
        }
        ASSERT_NE(entry.Slots[1].Answer, 0) << "entry " << j;
    }
}

void expectMoveInvariants(const RecordingFlow& flow) {
    const Board& board = flow.board();
    const int crosses = countOf(board, kCross);
    const int noughts = countOf(board, kNought);
    ASSERT_EQ(flow.moveCount(), crosses + noughts) << board.text();
    ASSERT_EQ(countOf(board, kEmpty), 9 - crosses - noughts) << board.text();
    ASSERT_LE(std::abs(crosses - noughts), 1) << board.text();
    ASSERT_EQ(board.text().find('*'), std::string::npos);
    ASSERT_FALSE(flow.sawSkipMark);
    ASSERT_EQ(flow.shownBoard(), board.text());
}

TEST(LongRunTest, ThousandsOfGamesAgainstARandomPlayer) {
    auto flow = std::make_unique<RecordingFlow>();
    flow->FormCreate();
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<std::uint32_t> dayMs(0, 86399999);
    std::uniform_int_distribution<int> grade(2, 5);
    std::uniform_int_distribution<int> anyCell(1, 9);

    const int kGames = 5000;
    int maxEntries = 0;
    for (int game = 1; game <= kGames; ++game) {
        for (const int spinner : {1, 2, 3}) {
            flow->grades[spinner] = grade(rng);
        }
        // Wipe now and then, sometimes during a game.
        const bool wipeThisGame = game % 1500 == 0;
        const std::vector<double> before = flow->scores;

        flow->clockMs = dayMs(rng);
        flow->Button2Click();
        ASSERT_EQ(flow->gameNumber(), game);
        ASSERT_EQ(flow->shownGameNumber, game);
        ASSERT_FALSE(flow->playEnabled);
        // The player begins the odd games, the computer the even ones.
        ASSERT_EQ(flow->moveCount(), game % 2 == 1 ? 0 : 1) << "game " << game;
        expectMoveInvariants(*flow);

        int moves = 0;
        while (flow->acceptingMoves()) {
            ASSERT_LT(++moves, 200) << "game " << game << " does not end";
            flow->clockMs = dayMs(rng);
            if (wipeThisGame && moves == 2) {
                flow->Button1Click();
                ASSERT_EQ(flow->entryCount(), 0);
            }
            // Mostly a free cell; now and then any cell, which must be ignored when taken.
            int cell = anyCell(rng);
            if (rng() % 4 != 0) {
                std::vector<int> free;
                for (int k = 1; k <= 9; ++k) {
                    if (flow->board().is(k, kEmpty)) {
                        free.push_back(k);
                    }
                }
                cell = free[rng() % free.size()];
            }
            const bool taken = !flow->board().is(cell, kEmpty);
            const std::string boardBefore = flow->board().text();
            const int countBefore = flow->moveCount();
            flow->SpeedButtonClick(cell);
            if (taken) {
                ASSERT_EQ(flow->board().text(), boardBefore);
                ASSERT_EQ(flow->moveCount(), countBefore);
                continue;
            }
            expectMoveInvariants(*flow);
            int usedSlots = 0;
            ASSERT_NO_FATAL_FAILURE(expectMemoryConsistent(*flow, &usedSlots));
            // One used answer per computer move of this game (a wipe drops the earlier ones).
            if (!wipeThisGame) {
                ASSERT_EQ(usedSlots, countOf(flow->board(), kNought)) << "game " << game;
            }
            maxEntries = std::max(maxEntries, flow->entryCount());
        }

        // Exactly one score point rose by one, and the status names it.
        int raised = -1;
        for (int i = 0; i < 3; ++i) {
            const double delta =
                flow->scores[static_cast<std::size_t>(i)] - before[static_cast<std::size_t>(i)];
            ASSERT_TRUE(delta == 0 || delta == 1);
            if (delta == 1) {
                ASSERT_EQ(raised, -1) << "two points raised in game " << game;
                raised = i;
            }
        }
        ASSERT_NE(raised, -1) << "no point raised in game " << game;
        const std::optional<Outcome> outcome = detect(flow->board(), flow->moveCount());
        ASSERT_TRUE(outcome.has_value());
        ASSERT_EQ(raised, static_cast<int>(*outcome));
        const char* statuses[] = {"вы выиграли", "компьютер выиграл", "ничья"};
        ASSERT_EQ(flow->status, statuses[raised]);
        ASSERT_TRUE(flow->playEnabled);
        ASSERT_EQ(flow->computerStarts(), game % 2 == 1);
    }
    EXPECT_EQ(flow->scores[0] + flow->scores[1] + flow->scores[2], kGames);
    EXPECT_GT(maxEntries, 100);
    std::printf("most entries in use: %d\n", maxEntries);
}

}  // namespace
}  // namespace zelmo::engine::test
