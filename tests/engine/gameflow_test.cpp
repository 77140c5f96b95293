// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/errors.h"
#include "recording_flow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace zelmo::engine::test {
namespace {

using Scores = std::vector<double>;
using Reads = std::map<int, int>;
using Outcomes = std::vector<Outcome>;

// With the clock at 0 every random choice takes the first free cell, so from an empty board this
// game is fixed: X5 0@1, X3 0@2, X7 wins through the diagonal 3-5-7.
void playPlayerWin(RecordingFlow& flow) {
    for (const int cell : {5, 3, 7}) {
        flow.SpeedButtonClick(cell);
    }
}

TEST(GameFlowTest, PlayerBeginsAndWinsThenComputerBeginsAndWins) {
    RecordingFlow flow;
    EXPECT_EQ(flow.scoreLabels, (std::vector<std::string>{"Игрок", "Компьютер", "Ничья"}));
    EXPECT_LT(GameFlow::utcMillisecondsOfDay(), 86400000u);
    {
        // The seed is the UTC time of day in milliseconds, read between two readings of the
        // system clock (a reading across midnight proves nothing and is skipped).
        auto msOfDay = [](std::chrono::system_clock::time_point now) {
            const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
            std::tm utc{};
            gmtime_r(&seconds, &utc);
            const auto ms =
                std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) %
                1000;
            return static_cast<std::uint32_t>(
                static_cast<long long>((utc.tm_hour * 60 + utc.tm_min) * 60 + utc.tm_sec) * 1000 +
                ms.count());
        };
        const std::uint32_t before = msOfDay(std::chrono::system_clock::now());
        const std::uint32_t seed = GameFlow::utcMillisecondsOfDay();
        const std::uint32_t after = msOfDay(std::chrono::system_clock::now());
        if (before <= after) {
            EXPECT_GE(seed, before);
            EXPECT_LE(seed, after);
        }
    }
    // Clicks before the first game are ignored, even out-of-range ones.
    flow.SpeedButton5Click();
    flow.SpeedButtonClick(10);
    EXPECT_EQ(flow.board().text(), "");

    flow.grades[2] = 2;
    flow.Button2Click();
    flow.clockMs = seedFor(3u << 29);  // draw 3: the fourth free cell
    flow.SpeedButton5Click();
    EXPECT_EQ(flow.shownBoard, "   0X    ");
    // The first computer move remembers the position it found, with its answer used.
    EXPECT_EQ(flow.shownEntryCount, 1);
    EXPECT_EQ(flow.memory()[1].Position.text(), "    X    ");
    EXPECT_EQ(flow.memory()[1].Slots[1], (MoveSlot{4, 0, true}));
    // Taken cells: no mark, no count, no computer move.
    flow.SpeedButton4Click();
    flow.SpeedButton5Click();
    EXPECT_EQ(flow.shownBoard, "   0X    ");
    EXPECT_EQ(flow.moveCount(), 2);

    flow.clockMs = 0;
    flow.SpeedButton3Click();
    flow.grades[2] = 5;  // the grade counts as it is when the game ends
    flow.SpeedButton7Click();
    EXPECT_EQ(flow.status, "вы выиграли");
    // The player's win is graded by spinner 2, read once per used answer.
    EXPECT_EQ(flow.gradeReads, (Reads{{2, 2}}));
    EXPECT_EQ(flow.memory()[1].Slots[1].Weight, 2);
    EXPECT_EQ(flow.memory()[2].Slots[1].Weight, 2);
    flow.SpeedButton9Click();  // after the end: ignored
    EXPECT_EQ(flow.shownBoard, "0 X0X X  ");
    EXPECT_EQ(flow.finished, (Outcomes{Outcome::PlayerWin}));  // told once, with the outcome

    flow.grades = {{1, 2}, {2, 5}, {3, 5}};
    flow.gradeReads.clear();
    flow.Button2Click();  // the computer begins
    EXPECT_EQ(flow.shownBoard, "0        ");
    EXPECT_EQ(flow.status, "");  // the last game's outcome is no longer shown

    flow.SpeedButton9Click();  // 0@2
    flow.SpeedButton5Click();  // 0@3: the top row
    EXPECT_EQ(flow.shownBoard, "000 X   X");
    EXPECT_EQ(flow.status, "компьютер выиграл");
    // Only this game's three answers are graded (the first game's marks were dropped when this
    // one began), by spinner 1.
    EXPECT_EQ(flow.gradeReads, (Reads{{1, 3}}));
    EXPECT_EQ(flow.finished, (Outcomes{Outcome::PlayerWin, Outcome::ComputerWin}));
    EXPECT_EQ(flow.scores, (Scores{1, 1, 0}));
    for (const int j : {1, 2, 3, 4, 5}) {
        EXPECT_EQ(flow.memory()[j].Slots[1].Weight, j <= 2 ? 2 : -1) << j;
    }
}

TEST(GameFlowTest, DrawNeedsTheNinthMark) {
    RecordingFlow flow;
    flow.Button2Click();
    EXPECT_THROW(flow.SpeedButtonClick(10), ERangeError);
    flow.setBoard("X0XX000X ");
    flow.SpeedButton9Click();
    EXPECT_EQ(flow.status, "ничья");
    EXPECT_EQ(flow.scores, (Scores{0, 0, 1}));
    EXPECT_EQ(flow.finished, (Outcomes{Outcome::Draw}));
    EXPECT_TRUE(flow.gradeReads.empty());  // no answer used: no spinner is read

    // A draw after a remembered answer: graded once by spinner 3 (beside "Ничья").
    RecordingFlow graded;
    graded.grades = {{1, 2}, {2, 2}, {3, 5}};
    graded.Button2Click();
    graded.setBoard("X0XX00   ");
    graded.remember(1, "X0XX00 X ", {{7, 1, false}});
    graded.SpeedButton8Click();
    EXPECT_EQ(graded.shownBoard, "X0XX000X ");
    graded.SpeedButton9Click();
    EXPECT_EQ(graded.status, "ничья");
    EXPECT_EQ(graded.gradeReads, (Reads{{3, 1}}));
    EXPECT_EQ(graded.memory()[1].Slots[1], (MoveSlot{7, 3, true}));
    EXPECT_EQ(graded.scores, (Scores{0, 0, 1}));
}

TEST(GameFlowTest, WipeDuringAGameLetsItGoOnAndDropsEarlierAnswers) {
    RecordingFlow flow;
    flow.grades[2] = 5;
    flow.Button2Click();
    flow.SpeedButtonClick(5);
    ASSERT_EQ(flow.entryCount(), 1);

    flow.Button1Click();
    EXPECT_EQ(flow.shownEntryCount, 0);
    EXPECT_EQ(flow.status, "промыл");
    EXPECT_EQ(flow.memory()[1].filledCount(), 0);

    flow.SpeedButtonClick(3);
    flow.SpeedButtonClick(7);
    EXPECT_EQ(flow.status, "вы выиграли");
    // The next computer move created entry 1 again, and only its answer is graded.
    EXPECT_EQ(flow.entryCount(), 1);
    EXPECT_EQ(flow.memory()[1].Position.text(), "0 X X    ");
    EXPECT_EQ(flow.memory()[1].Slots[1], (MoveSlot{2, 2, true}));
    EXPECT_EQ(flow.gradeReads, (Reads{{2, 1}}));
}

TEST(GameFlowTest, FullTableStillPlaysAndEndsGames) {
    RecordingFlow flow;
    const int last = PositionMemory::Capacity;
    // Entries 1..999 hold a position no game reaches, the last one the empty board.
    for (int j = 1; j < last; ++j) {
        flow.remember(j, "000000000", {{1, 0, false}});
    }
    flow.remember(last, "         ", {{1, 0, false}});

    flow.Button2Click();
    playPlayerWin(flow);  // new positions: played at random, not remembered
    EXPECT_EQ(flow.shownBoard, "00X X X  ");
    EXPECT_EQ(flow.entryCount(), last);
    EXPECT_EQ(flow.status, "вы выиграли");
    EXPECT_TRUE(flow.gradeReads.empty());

    // The next game begins; the remembered empty board is still found and learns answer 2.
    flow.Button2Click();
    EXPECT_EQ(flow.shownBoard, " 0       ");
    EXPECT_EQ(flow.memory()[last].Slots[2], (MoveSlot{2, 0, true}));
    playPlayerWin(flow);  // 0@1 not remembered, 0@4
    EXPECT_EQ(flow.gradeReads, (Reads{{2, 1}}));
}

TEST(GameFlowTest, EntryCreatedAboveTheWipedHalfStartsWithFreeSlots) {
    RecordingFlow flow;
    std::vector<MoveSlot> allTried;
    for (std::int16_t k = 1; k <= 9; ++k) {
        allTried.push_back({k, 7, true});
    }
    flow.remember(500, "000000000", allTried);
    flow.remember(501, "000000000", allTried);
    flow.Button1Click();
    EXPECT_EQ(flow.memory()[500].filledCount(), 0);
    // Entries 1..500 refilled as play would, then a new position.
    for (int j = 1; j <= 500; ++j) {
        flow.remember(j, "000000000", {{1, 0, false}});
    }
    flow.Button2Click();
    flow.SpeedButtonClick(5);
    ASSERT_EQ(flow.entryCount(), 501);
    EXPECT_EQ(flow.memory()[501].Position.text(), "    X    ");
    EXPECT_EQ(flow.memory()[501].Slots[1], (MoveSlot{1, 0, true}));
    EXPECT_EQ(flow.memory()[501].filledCount(), 1);
}

TEST(GameFlowTest, OverflowWhileGradingStillEndsTheGame) {
    RecordingFlow flow;
    flow.grades[2] = 5;
    flow.Button2Click();
    flow.SpeedButtonClick(5);
    flow.SpeedButtonClick(3);
    ASSERT_EQ(flow.entryCount(), 2);
    flow.entry(1).Slots[1].Weight = INT32_MAX - 4;  // + 5 overflows before the - 3

    EXPECT_EQ(errorText([&flow] { flow.SpeedButtonClick(7); }), "Integer overflow");
    EXPECT_EQ(flow.memory()[1].Slots[1].Weight, INT32_MAX - 4);
    EXPECT_EQ(flow.memory()[2].Slots[1].Weight, 0);  // grading stopped before it
    EXPECT_EQ(flow.gradeReads, (Reads{{2, 1}}));
    EXPECT_EQ(flow.scores, (Scores{1, 0, 0}));
    EXPECT_EQ(flow.finished, (Outcomes{Outcome::PlayerWin}));  // the listeners still hear of it
    EXPECT_TRUE(flow.playEnabled);
    EXPECT_TRUE(flow.computerStarts());
    flow.Button2Click();  // a new game begins
    EXPECT_TRUE(flow.acceptingMoves());
}

TEST(GameFlowTest, OutcomesEarnTheirGradeAndScorePoint) {
    // The player's win is the computer's loss, graded beside «Поражение».
    EXPECT_EQ(gradeOf(Outcome::PlayerWin), Grade::Loss);
    EXPECT_EQ(gradeOf(Outcome::ComputerWin), Grade::Win);
    EXPECT_EQ(gradeOf(Outcome::Draw), Grade::Draw);
    EXPECT_EQ(scorePointOf(Outcome::PlayerWin), 0);
    EXPECT_EQ(scorePointOf(Outcome::ComputerWin), 1);
    EXPECT_EQ(scorePointOf(Outcome::Draw), 2);
    const Grades grades{5, 2, 4};
    EXPECT_EQ(grades[Grade::Win], 5);
    EXPECT_EQ(grades[Grade::Loss], 2);
    EXPECT_EQ(grades[Grade::Draw], 4);
}

// A listener hears each event once: a begun game, a finished one with what it was, a wipe, and
// the end of every entry point, also one that failed.
TEST(GameFlowTest, ListenersHearEveryEventOnce) {
    struct Log : GameListener {
        std::string events;
        std::vector<FinishedGame> games;
        void gameStarted() override { events += 'S'; }
        void gameFinished(const FinishedGame& game) override {
            events += 'F';
            games.push_back(game);
        }
        void memoryWiped() override { events += 'W'; }
        void changed() noexcept override { events += '.'; }
    } log;
    RecordingFlow flow;
    flow.addListener(log);
    flow.grades[2] = 4;
    flow.Button2Click();
    playPlayerWin(flow);
    EXPECT_EQ(log.events, "S...F.");
    ASSERT_EQ(log.games.size(), 1u);
    const FinishedGame& won = log.games[0];
    EXPECT_EQ(won.outcome, Outcome::PlayerWin);
    EXPECT_FALSE(won.computerBegan);
    EXPECT_EQ(won.gameNumber, 1);
    EXPECT_EQ(won.entryCount, 2);
    EXPECT_EQ(won.grade, 4);

    log.events.clear();
    flow.Button2Click();  // the computer begins
    EXPECT_THROW(flow.SpeedButtonClick(10), ERangeError);
    flow.Button1Click();
    EXPECT_EQ(log.events, "S..W.");
    flow.removeListener(log);
    flow.Button2Click();
    EXPECT_EQ(log.events, "S..W.");
}

// While deferred the game is played but not shown; a flush shows all of it at once.
TEST(GameFlowTest, DeferredDisplayIsShownWhole) {
    RecordingFlow flow;
    flow.setDisplayDeferred(true);
    flow.Button2Click();
    playPlayerWin(flow);
    EXPECT_EQ(flow.shownBoard, "?????????");
    EXPECT_EQ(flow.status, "<none>");
    EXPECT_EQ(flow.scores, (Scores{0, 0, 0}));
    EXPECT_EQ(flow.finished.size(), 1u);  // the listeners still hear
    flow.setDisplayDeferred(false);
    EXPECT_EQ(flow.shownBoard, "00X X X  ");
    EXPECT_EQ(flow.shownGameNumber, 1);
    EXPECT_EQ(flow.shownEntryCount, 2);
    EXPECT_EQ(flow.status, "вы выиграли");
    EXPECT_EQ(flow.scores, (Scores{1, 0, 0}));
    EXPECT_TRUE(flow.playEnabled);
}

}  // namespace
}  // namespace zelmo::engine::test
