// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/gameflow.h"
#include "engine/errors.h"
#include "engine/texts.h"

#include <chrono>
#include <exception>
#include <utility>

namespace zelmo::engine {

namespace {

// What an outcome selects: the grade spinner (1..3, not in the score's order), the score
// point (0..2) and the status text.
struct OutcomeRow {
    int spinner;
    int scorePoint;
    std::string_view status;
};

constexpr OutcomeRow rowOf(Outcome outcome) {
    switch (outcome) {
        case Outcome::PlayerWin:
            return {2, 0, texts::kPlayerWon};
        case Outcome::ComputerWin:
            return {1, 1, texts::kComputerWon};
        case Outcome::Draw:
            break;
    }
    return {3, 2, texts::kDraw};
}

}  // namespace

GameFlow::GameFlow() : clock_(&GameFlow::utcMillisecondsOfDay) {}

std::uint32_t GameFlow::utcMillisecondsOfDay() {
    using namespace std::chrono;
    // The system clock counts from midnight UTC and a day has 86 400 000 ms in its count.
    const auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
    const auto day = duration_cast<milliseconds>(days{1}).count();
    auto ms = sinceEpoch.count() % day;
    if (ms < 0) {
        ms += day;
    }
    return static_cast<std::uint32_t>(ms);
}

void GameFlow::setClock(Clock clock) {
    clock_ = clock ? std::move(clock) : Clock(&GameFlow::utcMillisecondsOfDay);
}

void GameFlow::FormCreate() {
    forget();
    scores_ = Scores{};
    for (const std::string_view label : texts::kScoreLabels) {
        addScorePoint(std::string(label));
    }
    ComputerStarts = false;
}

void GameFlow::SpeedButtonClick(int cell) {
    if (AcceptingMoves) {
        pohodil(cell);
    }
}

void GameFlow::Button2Click() {
    reset();
    AcceptingMoves = true;
    setPlayEnabled(false);
    showStatus(std::string());
    if (ComputerStarts) {
        comp();
        refresh();
        check();
    }
}

void GameFlow::Button1Click() {
    forget();
    showEntryCount(EntryCount);
    showStatus(std::string(texts::kWiped));
}

void GameFlow::restoreMemory(const PositionMemory& memory, std::int32_t entryCount) {
    if (entryCount < 0 || entryCount > PositionMemory::Capacity) {
        throw ERangeError();
    }
    PositionMemory_ = memory;
    PositionMemory_.reindex();
    EntryCount = entryCount;
    showEntryCount(EntryCount);
}

void GameFlow::pohodil(int cell) {
    if (!Board_.is(cell, kEmpty)) {
        return;
    }
    Board_.set(cell, kCross);
    refresh();
    if (check()) {
        return;
    }
    comp();
    refresh();
    check();
}

void GameFlow::refresh() {
    for (int k = 1; k <= Board::kCells; ++k) {
        showCell(k, Board_.at(k));
    }
    MoveCount = checkedAdd(MoveCount, 1);
}

void GameFlow::reset() {
    Board_.fill(kEmpty);
    refresh();
    clearUsed();
    MoveCount = 0;
    GameNumber = checkedAdd(GameNumber, 1);
    showGameNumber(GameNumber);
}

bool GameFlow::check() {
    const std::optional<Outcome> outcome = detect(Board_, MoveCount);
    if (!outcome) {
        return false;
    }
    finish(*outcome);
    return true;
}

void GameFlow::finish(Outcome outcome) {
    const OutcomeRow row = rowOf(outcome);
    // A failure while grading (a weight overflowing under a huge typed grade) must not keep
    // the game from ending: the remaining steps still run, then the error goes on to the
    // caller, which reports it.
    std::exception_ptr failure;
    try {
        PositionMemory_.learn(EntryCount, [this, &row] { return readGrade(row.spinner); });
    } catch (...) {
        failure = std::current_exception();
    }
    double& score = scores_[static_cast<std::size_t>(row.scorePoint)];
    score += 1;
    setScoreValue(row.scorePoint, score);
    showStatus(std::string(row.status));
    setPlayEnabled(true);
    AcceptingMoves = false;
    ComputerStarts = !ComputerStarts;
    // The listeners hear of every finished game, whatever happened while grading; an error of
    // their own is reported only when grading had none to report.
    try {
        gameFinished(outcome);
    } catch (...) {
        if (!failure) {
            failure = std::current_exception();
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace zelmo::engine
