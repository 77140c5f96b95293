// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/grouping.h"
#include "engine/game/players.h"
#include "recording_flow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zelmo::engine::test {
namespace {

TEST(GroupingTest, TheStageIsTheComputersAnswerCountedFromTheMarks) {
    const char* boards[] = {"         ", "X        ", "X0       ", "X0X      ", "X0X0     ",
                            "X0X0X    ", "X0X0X0   ", "X0X0X0X  ", "X0X0X0X0 "};
    for (int marks = 0; marks <= 8; ++marks) {
        EXPECT_EQ(answerStage(boardOf(boards[marks])), marks / 2 + 1) << marks << " marks";
    }
}

TEST(GroupingTest, GroupsByStageOpeningsFirstInTheOrderAsked) {
    auto memory = std::make_unique<PositionMemory>();
    const struct {
        const char* position;
        std::uint32_t plays;
    } entries[] = {
        {"X0X      ", 4},   // 1: stage 2
        {"         ", 9},   // 2: stage 1
        {"X        ", 9},   // 3: stage 1
        {"X0X0X0X  ", 1},   // 4: stage 4
        {"X   0   X", 7},   // 5: stage 2
        {"    X    ", 30},  // 6: stage 1
        {"X0X0X0X0 ", 2},   // 7: stage 5, beyond the count below
    };
    for (int j = 1; j <= 7; ++j) {
        remember(*memory, j, entries[j - 1].position, {{1, 0, false}});
        memory->setPlays(j, entries[j - 1].plays);
    }
    const auto flat = [](const std::vector<StageGroup>& groups) {
        std::vector<std::vector<int>> out;
        for (const StageGroup& group : groups) {
            std::vector<int> row = {group.stage};
            row.insert(row.end(), group.entries.begin(), group.entries.end());
            out.push_back(row);
        }
        return out;
    };
    using Rows = std::vector<std::vector<int>>;
    // Each row: the stage, then its entries; equal plays keep the order learnt.
    EXPECT_EQ(flat(groupEntries(*memory, 6, EntryOrder::MostPlayed)),
              (Rows{{1, 6, 2, 3}, {2, 5, 1}, {4, 4}}));
    EXPECT_EQ(flat(groupEntries(*memory, 6, EntryOrder::Newest)),
              (Rows{{1, 6, 3, 2}, {2, 5, 1}, {4, 4}}));
    EXPECT_EQ(flat(groupEntries(*memory, 7, EntryOrder::Newest)).back(), (std::vector<int>{5, 7}));
    EXPECT_TRUE(groupEntries(*memory, 0, EntryOrder::MostPlayed).empty());
}

// Every answer the computer gives from an entry counts as a play of it: the empty board is
// played in every game the computer begins; a wipe starts the count again.
TEST(GroupingTest, PlaysCountTheComputersAnswersFromAnEntry) {
    RecordingFlow flow;
    RandomPlayer player(3);
    int began = 0;
    std::uint64_t noughts = 0;
    const auto play = [&](int games) {
        for (int game = 0; game < games; ++game) {
            began += flow.computerStarts() ? 1 : 0;
            flow.clockMs = static_cast<std::uint32_t>(game * 7919);
            flow.Button2Click();
            while (flow.acceptingMoves()) {
                flow.SpeedButtonClick(player.move(flow.board()));
            }
            for (int k = 1; k <= 9; ++k) {
                noughts += flow.board().is(k, kNought) ? 1u : 0u;
            }
        }
    };
    const auto emptyBoardPlays = [&flow]() -> std::uint32_t {
        for (int j = 1; j <= flow.entryCount(); ++j) {
            if (flow.memory()[j].Position.text() == "         ") {
                return flow.memory().plays(j);
            }
        }
        return 0;
    };
    play(40);
    EXPECT_EQ(began, 20);
    EXPECT_EQ(emptyBoardPlays(), 20u);
    std::uint64_t plays = 0;
    for (int j = 1; j <= flow.entryCount(); ++j) {
        EXPECT_GE(flow.memory().plays(j), 1u) << j;
        plays += flow.memory().plays(j);
    }
    // Every move of the computer was made from an entry: the table never filled.
    EXPECT_EQ(plays, noughts);
    flow.Button1Click();
    began = 0;
    play(2);
    EXPECT_EQ(emptyBoardPlays(), static_cast<std::uint32_t>(began));
}

}  // namespace
}  // namespace zelmo::engine::test
