// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_flow.h"

#include "engine/game/learner.h"
#include "engine/game/playgame.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace zelmo::engine::test {
namespace {

// Games of the computer against a learner for "X", the learner told of every end: the
// outcomes in blocks of 500 and one hash of every final board.
struct LearnerRun {
    std::uint64_t hash = 14695981039346656037ull;
    std::array<std::array<int, 3>, 4> outcomes{};
    std::int32_t learnerPositions = 0;
};

LearnerRun playAgainstLearner(std::uint64_t seed) {
    RecordingFlow flow;
    flow.grades = {{1, 5}, {2, 2}, {3, 4}};  // the grades at start, as the learner's
    std::uint32_t clock = 777;
    flow.setClock([&clock] { return clock = (clock + 1777) % 86400000u; });
    LearnerPlayer learner(seed);
    LearnerRun run;
    for (int game = 0; game < 2000; ++game) {
        playGame(flow, learner, entryPointsOf(flow));
        const std::optional<Outcome> outcome = detect(flow.board(), flow.moveCount());
        EXPECT_TRUE(outcome.has_value());
        learner.gameOver(*outcome);
        ++run.outcomes[static_cast<std::size_t>(game / 500)]
                      [static_cast<std::size_t>(scorePointOf(*outcome))];
        for (int k = 1; k <= 9; ++k) {
            run.hash = (run.hash ^ static_cast<std::uint8_t>(flow.board().at(k).character())) *
                       1099511628211ull;
        }
    }
    run.learnerPositions = learner.entryCount();
    return run;
}

// A seeded run against the learner is the same move for move every time (its random choices
// come from its own seed, the computer's from the clock), and both sides learn: the learner
// remembers positions with "X" to move, and the draws grow.
TEST(LearnerPlayerTest, SeededGamesRepeatMoveForMoveAndBothSidesLearn) {
    const LearnerRun first = playAgainstLearner(11);
    const LearnerRun again = playAgainstLearner(11);
    EXPECT_EQ(first.hash, again.hash);
    EXPECT_EQ(first.hash, 0x56f33561f2ea3705u) << std::hex << first.hash;
    EXPECT_NE(playAgainstLearner(12).hash, first.hash) << "the seed is the learner's";
    EXPECT_GT(first.learnerPositions, 10);
    EXPECT_GT(first.outcomes[3][2], first.outcomes[0][2]) << "more draws in the last 500";
}

// A game left unfinished grades nothing: the learner's next game begins afresh, and an end told
// twice grades once.
TEST(LearnerPlayerTest, OnlyTheGameThatEndsIsGraded) {
    LearnerPlayer learner(3);
    Board board;
    board.fill(kEmpty);
    learner.move(board);  // a game abandoned after one move
    board.set(5, kNought);
    EXPECT_EQ(learner.moveExplanations().size(), 1u);
    const int cell = learner.move(board);  // a new game: the computer began it
    EXPECT_TRUE(board.is(cell, kEmpty));
    ASSERT_EQ(learner.moveExplanations().size(), 1u);
    EXPECT_EQ(learner.moveExplanations()[0].marks, 1);
    EXPECT_EQ(learner.moveExplanations()[0].rule, MoveRule::NewPosition);
    learner.gameOver(Outcome::PlayerWin);
    ASSERT_EQ(learner.memory().lastGraded().size(), 1u);
    EXPECT_EQ(learner.memory().lastGraded()[0].grade, learner.grades.win)
        << "the player's win is the learner's";
    EXPECT_EQ(learner.memory().lastGraded()[0].weightAfter, 2);
    learner.gameOver(Outcome::PlayerWin);
    EXPECT_TRUE(learner.memory().lastGraded().empty());
}

}  // namespace
}  // namespace zelmo::engine::test
