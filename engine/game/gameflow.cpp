// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/gameflow.h"
#include "engine/game/errors.h"
#include "engine/game/texts.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <utility>

namespace zelmo::engine {

namespace {

// The status line's text for an outcome.
constexpr std::string_view statusOf(Outcome outcome) {
    switch (outcome) {
        case Outcome::PlayerWin:
            return texts::kPlayerWon;
        case Outcome::ComputerWin:
            return texts::kComputerWon;
        case Outcome::Draw:
            break;
    }
    return texts::kDraw;
}

}  // namespace

// Tells the listeners that an entry point has returned, also when it ends by an error.
class GameFlow::EntryPoint {
  public:
    explicit EntryPoint(GameFlow& flow) : flow_(flow) {}
    ~EntryPoint() {
        for (std::size_t i = 0; i < flow_.listeners_.size(); ++i) {
            flow_.listeners_[i]->changed();
        }
    }
    EntryPoint(const EntryPoint&) = delete;
    EntryPoint& operator=(const EntryPoint&) = delete;

  private:
    GameFlow& flow_;
};

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

void GameFlow::addListener(GameListener& listener) {
    listeners_.push_back(&listener);
}

void GameFlow::removeListener(GameListener& listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &listener),
                     listeners_.end());
}

template <typename Call>
void GameFlow::tell(Call&& call) {
    std::exception_ptr failure;
    // By index: a listener may add another while it hears.
    for (std::size_t i = 0; i < listeners_.size(); ++i) {
        try {
            call(*listeners_[i]);
        } catch (...) {
            if (!failure) {
                failure = std::current_exception();
            }
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void GameFlow::FormCreate() {
    const EntryPoint entry(*this);
    forget();
    scores_ = Scores{};
    for (const std::string_view label : texts::kScoreLabels) {
        addScorePoint(std::string(label));
    }
    ComputerStarts = false;
}

void GameFlow::SpeedButtonClick(int cell) {
    const EntryPoint entry(*this);
    if (AcceptingMoves) {
        pohodil(cell);
    }
}

void GameFlow::Button2Click() {
    const EntryPoint entry(*this);
    reset();
    AcceptingMoves = true;
    if (!deferred()) {
        setPlayEnabled(false);
    }
    status_.clear();
    if (!deferred()) {
        showStatus(status_);
    }
    tell([](GameListener& listener) { listener.gameStarted(); });
    if (ComputerStarts) {
        comp();
        refresh();
        check();
    }
}

void GameFlow::Button1Click() {
    const EntryPoint entry(*this);
    forget();
    if (!deferred()) {
        showEntryCount(EntryCount);
    }
    status_ = texts::kWiped;
    if (!deferred()) {
        showStatus(status_);
    }
    tell([](GameListener& listener) { listener.memoryWiped(); });
}

void GameFlow::restoreMemory(const PositionMemory& memory, std::int32_t entryCount) {
    const EntryPoint entry(*this);
    if (entryCount < 0 || entryCount > PositionMemory::Capacity) {
        throw ERangeError();
    }
    PositionMemory_ = memory;
    PositionMemory_.reindex();
    EntryCount = entryCount;
    if (!deferred()) {
        showEntryCount(EntryCount);
    }
}

void GameFlow::tellRestored() {
    const EntryPoint entry(*this);
    status_ = texts::kRestored;
    if (!deferred()) {
        showStatus(status_);
    }
}

bool GameFlow::deferred() {
    displayStale_ = displayStale_ || displayDeferred_;
    return displayDeferred_;
}

void GameFlow::setDisplayDeferred(bool deferred) {
    displayDeferred_ = deferred;
    if (!deferred) {
        flushDisplay();
    }
}

void GameFlow::flushDisplay() {
    if (!std::exchange(displayStale_, false)) {
        return;
    }
    for (int k = 1; k <= Board::kCells; ++k) {
        showCell(k, Board_.at(k));
    }
    showGameNumber(GameNumber);
    showEntryCount(EntryCount);
    showStatus(status_);
    for (std::size_t i = 0; i < scores_.size(); ++i) {
        setScoreValue(static_cast<int>(i), scores_[i]);
    }
    setPlayEnabled(!AcceptingMoves);
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
    if (!deferred()) {
        for (int k = 1; k <= Board::kCells; ++k) {
            showCell(k, Board_.at(k));
        }
    }
    MoveCount = checkedAdd(MoveCount, 1);
}

void GameFlow::reset() {
    explained_.clear();
    Board_.fill(kEmpty);
    refresh();
    clearUsed();
    MoveCount = 0;
    GameNumber = checkedAdd(GameNumber, 1);
    if (!deferred()) {
        showGameNumber(GameNumber);
    }
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
    FinishedGame game{outcome, ComputerStarts, GameNumber, 0, std::nullopt, Grades{}};
    // A failure while grading (a weight overflowing under a huge typed grade) must not keep
    // the game from ending: the remaining steps still run, then the error goes on to the
    // caller, which reports it.
    std::exception_ptr failure;
    try {
        PositionMemory_.learn(EntryCount, [this, &game] {
            game.grade = readGrade(gradeOf(game.outcome));
            return *game.grade;
        });
    } catch (...) {
        failure = std::current_exception();
    }
    const int point = scorePointOf(outcome);
    double& score = scores_[static_cast<std::size_t>(point)];
    score += 1;
    if (!deferred()) {
        setScoreValue(point, score);
    }
    status_ = statusOf(outcome);
    if (!deferred()) {
        showStatus(status_);
        setPlayEnabled(true);
    }
    AcceptingMoves = false;
    ComputerStarts = !ComputerStarts;
    game.entryCount = EntryCount;
    game.grades = gradesInForce();
    // The listeners hear of every finished game, whatever happened while grading; an error of
    // their own is reported only when grading had none to report.
    try {
        tell([&game](GameListener& listener) { listener.gameFinished(game); });
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
