// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/gameflow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <map>
#include <string>
#include <vector>

namespace zelmo::engine::test {

// A board from nine characters, cell 1 first.
inline Board boardOf(const std::string& nineCells) {
    Board board;
    for (int k = 1; k <= 9; ++k) {
        board.set(k, Cell(nineCells.at(static_cast<std::size_t>(k - 1))));
    }
    return board;
}

// Entry j of `memory` := `position` with `answers` from slot 1.
inline void remember(PositionMemory& memory, int j, const std::string& position,
                     const std::vector<MoveSlot>& answers) {
    memory[j].Position = boardOf(position);
    for (std::size_t k = 0; k < answers.size(); ++k) {
        memory[j].Slots[static_cast<int>(k) + 1] = answers[k];
    }
}

// The message of the error `action` raises, or "no error".
template <typename Action>
std::string errorText(Action&& action) {
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "no error";
}

// A created game flow with a recording display: it keeps what the window would show, answers grade
// readings from settable spinner values (counting the readings) and runs on a settable clock. Tests
// also use it to set up a board and a memory directly.
class RecordingFlow : public GameFlow, private GameListener {
  public:
    RecordingFlow() {
        setClock([this] { return clockMs; });
        addListener(*this);
        FormCreate();
    }
    ~RecordingFlow() override { removeListener(*this); }
    RecordingFlow(const RecordingFlow&) = delete;
    RecordingFlow& operator=(const RecordingFlow&) = delete;

    // The steps of a game, driven one by one.
    using GameFlow::check;
    using GameFlow::clearUsed;
    using GameFlow::comp;
    using GameFlow::finish;
    using GameFlow::forget;
    using GameFlow::learn;
    using GameFlow::pohodil;
    using GameFlow::refresh;
    using GameFlow::reset;

    std::string shownBoard = std::string(9, '?');  // the nine cell captions
    std::int32_t shownGameNumber = -1;
    std::int32_t shownEntryCount = -1;
    std::string status = "<none>";
    bool playEnabled = true;
    std::vector<std::string> scoreLabels;
    std::vector<double> scores;
    std::vector<Outcome> finished;    // every game the flow said had finished, in order
    std::vector<FinishedGame> games;  // and what it said of each
    // By spinner: 1 the computer's win, 2 its loss, 3 a draw.
    std::map<int, std::int32_t> grades = {{1, 3}, {2, 3}, {3, 3}};
    std::map<int, int> gradeReads;
    std::uint32_t clockMs = 0;  // 0 makes every random choice take the first free cell

    MemoryEntry& entry(int j) { return PositionMemory_[j]; }
    // Entry j := `position` with `answers` from slot 1; the entries in use become 1..j.
    void remember(int j, const std::string& position, const std::vector<MoveSlot>& answers) {
        test::remember(PositionMemory_, j, position, answers);
        EntryCount = j;
    }
    // Places marks as a game would have, keeping MoveCount consistent.
    void setBoard(const std::string& nineCells) {
        Board_ = boardOf(nineCells);
        MoveCount =
            static_cast<std::int32_t>(9 - std::count(nineCells.begin(), nineCells.end(), ' '));
    }

  protected:
    void showCell(int k, const Cell& value) override {
        shownBoard.at(static_cast<std::size_t>(k - 1)) = value.character();
    }
    void showGameNumber(std::int32_t number) override { shownGameNumber = number; }
    void showEntryCount(std::int32_t count) override { shownEntryCount = count; }
    void showStatus(const std::string& utf8Text) override { status = utf8Text; }
    void setPlayEnabled(bool enabled) override { playEnabled = enabled; }
    std::int32_t readGrade(Grade grade) override {
        const int spinner = static_cast<int>(grade) + 1;
        ++gradeReads[spinner];
        return grades.at(spinner);
    }
    Grades gradesInForce() override { return {grades.at(1), grades.at(2), grades.at(3)}; }
    void addScorePoint(const std::string& utf8Label) override {
        scoreLabels.push_back(utf8Label);
        scores.push_back(0);
    }
    void setScoreValue(int index, double value) override {
        scores.at(static_cast<std::size_t>(index)) = value;
    }

  private:
    void gameFinished(const FinishedGame& game) override {
        // The listeners hear after every end-of-game step.
        EXPECT_FALSE(acceptingMoves());
        if (!displayDeferred()) {
            EXPECT_TRUE(playEnabled);
            EXPECT_EQ(scores,
                      std::vector<double>(GameFlow::scores().begin(), GameFlow::scores().end()));
        }
        finished.push_back(game.outcome);
        games.push_back(game);
    }
};

// The clock value from which the generator's next state is `state`: the seed is (state - 1)
// times the inverse of the multiplier modulo 2^32, found by Newton's iteration.
inline std::uint32_t seedFor(std::uint32_t state) {
    std::uint32_t inverse = 134775813u;
    for (int i = 0; i < 5; ++i) {
        inverse *= 2u - 134775813u * inverse;
    }
    return (state - 1u) * inverse;
}

}  // namespace zelmo::engine::test
