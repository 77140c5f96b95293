// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/history.h"
#include "engine/game/errors.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zelmo::engine {
namespace {

constexpr HistoryGrades kDefault = {5, 2, 4};

HistoryGame game(Outcome outcome, bool computerBegan, HistoryGrades grades, int positions) {
    return HistoryGame{outcome, computerBegan, grades, positions};
}

TEST(HistoryTest, BlocksByHandWhileRunningAndAtEveryChangeOfGrades) {
    LearningHistory history;
    history.add(game(Outcome::PlayerWin, false, kDefault, 1), LearningHistory::kByHand);
    history.add(game(Outcome::Draw, true, kDefault, 2), LearningHistory::kByHand);
    for (int g = 1; g <= 250; ++g) {
        const Outcome outcome = g % 5 == 0 ? Outcome::ComputerWin : Outcome::Draw;
        history.add(game(outcome, g % 2 == 1, kDefault, 2 + g), LearningHistory::kWhileRunning);
    }
    // The grades change: the block in progress ends, the next one holds the new grades.
    history.add(game(Outcome::Draw, false, {5, 2, 3}, 300), LearningHistory::kWhileRunning);
    history.closeBlock();
    history.add(game(Outcome::ComputerWin, true, {5, 2, 3}, 301), LearningHistory::kWhileRunning);
    const std::vector<HistoryBlock> expected = {
        {1, 0, 0, 0, kDefault, 1},      {0, 0, 1, 1, kDefault, 2},
        {0, 20, 80, 50, kDefault, 102}, {0, 20, 80, 50, kDefault, 202},
        {0, 10, 40, 25, kDefault, 252}, {0, 0, 1, 0, {5, 2, 3}, 300},
        {0, 1, 0, 1, {5, 2, 3}, 301},
    };
    EXPECT_EQ(history.blocks(), expected);
    EXPECT_EQ(history.games(), 254u);
    // A hand game after games played by the window itself starts a block of its own.
    history.add(game(Outcome::Draw, false, {5, 2, 3}, 301), LearningHistory::kByHand);
    EXPECT_EQ(history.blocks().size(), 8u);
    history.clear();
    EXPECT_TRUE(history.empty());
    EXPECT_EQ(history.games(), 0u);
}

// Totals of the blocks against what was added.
struct Totals {
    std::uint64_t outcomes[3] = {};
    std::uint64_t began = 0;
};

Totals totalsOf(const LearningHistory& history) {
    Totals totals;
    for (const HistoryBlock& block : history.blocks()) {
        totals.outcomes[0] += block.playerWins;
        totals.outcomes[1] += block.computerWins;
        totals.outcomes[2] += block.draws;
        totals.began += block.computerBegan;
    }
    return totals;
}

// Past kMaxBlocks blocks neighbours merge: nothing is lost from the counts, the blocks stay
// within the bound, and a change of grades stays a block boundary while room allows.
TEST(HistoryTest, ALongHistoryMergesBlocksAndKeepsEveryGame) {
    LearningHistory history;
    Totals added;
    const std::uint64_t games = 3 * LearningHistory::kMaxBlocks * LearningHistory::kWhileRunning;
    const std::uint64_t change = games / 3 + 17;
    std::size_t most = 0;
    for (std::uint64_t g = 1; g <= games; ++g) {
        const auto outcome = static_cast<int>(g * 2654435761u % 3);
        added.outcomes[outcome] += 1;
        added.began += g % 2;
        const HistoryGrades grades = g <= change ? kDefault : HistoryGrades{5, 2, 3};
        history.add(
            game(static_cast<Outcome>(outcome), g % 2 == 1, grades, static_cast<int>(g % 1000)),
            LearningHistory::kWhileRunning);
        most = std::max(most, history.blocks().size());
    }
    EXPECT_LE(most, LearningHistory::kMaxBlocks);
    EXPECT_GT(history.blocks().size(), LearningHistory::kMaxBlocks / 4);
    const Totals kept = totalsOf(history);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(kept.outcomes[i], added.outcomes[i]) << i;
    }
    EXPECT_EQ(kept.began, added.began);
    EXPECT_EQ(history.games(), games);
    EXPECT_EQ(history.blocks().back().positions, static_cast<int>(games % 1000));
    std::uint64_t end = 0;
    bool boundary = false;
    for (const HistoryBlock& block : history.blocks()) {
        end += block.games();
        boundary = boundary || end == change;
        EXPECT_EQ(block.grades, end <= change ? kDefault : HistoryGrades({5, 2, 3})) << end;
    }
    EXPECT_TRUE(boundary);
}

// Grades that change at every game by hand cannot keep their blocks apart for ever: blocks
// then merge across them, the later grades standing for the block.
TEST(HistoryTest, GradesChangingAtEveryGameStillKeepTheBound) {
    LearningHistory history;
    const int games = 3 * static_cast<int>(LearningHistory::kMaxBlocks);
    for (int g = 1; g <= games; ++g) {
        history.add(game(Outcome::Draw, false, {g, 2, 4}, 5), LearningHistory::kByHand);
        ASSERT_LE(history.blocks().size(), LearningHistory::kMaxBlocks) << "game " << g;
    }
    EXPECT_EQ(totalsOf(history).outcomes[2], static_cast<std::uint64_t>(games));
    EXPECT_EQ(history.blocks().back().grades.win, games);
}

TEST(HistoryTest, AHistoryStopsAtTheMostGamesItCounts) {
    LearningHistory history;
    history.assign({{LearningHistory::kMaxGames - 1, 0, 0, 0, kDefault, 3}});
    history.add(game(Outcome::Draw, false, kDefault, 3), LearningHistory::kWhileRunning);
    EXPECT_EQ(history.games(), LearningHistory::kMaxGames);
    EXPECT_THROW(history.add(game(Outcome::Draw, false, kDefault, 3), 1), EIntOverflow);
    EXPECT_EQ(history.games(), LearningHistory::kMaxGames);
    EXPECT_EQ(history.blocks().size(), 2u);
}

}  // namespace
}  // namespace zelmo::engine
