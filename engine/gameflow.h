// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/board.h"
#include "engine/memory.h"
#include "engine/random.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace zelmo::engine {

// The game flow: turns the window's events into games. The window class derives from it and
// implements the display operations; tests derive a recording display. All game state lives
// here. Errors (ERangeError, EIntOverflow) propagate out of the entry points to the caller,
// which reports them; nothing done before the failure is undone. The one exception is finish:
// a grading error is held until the game has ended, so a new game can always be begun.
class GameFlow {
  public:
    // Milliseconds since midnight UTC; seeds the random generator before every random choice.
    using Clock = std::function<std::uint32_t()>;

    GameFlow();
    virtual ~GameFlow() = default;
    GameFlow(const GameFlow&) = delete;
    GameFlow& operator=(const GameFlow&) = delete;

    // Entry points (the sender argument of the window events is not needed here).
    void FormCreate();
    void SpeedButtonClick(int cell);  // cell 1..9; SpeedButton1Click..9Click forward here
    void SpeedButton1Click() { SpeedButtonClick(1); }
    void SpeedButton2Click() { SpeedButtonClick(2); }
    void SpeedButton3Click() { SpeedButtonClick(3); }
    void SpeedButton4Click() { SpeedButtonClick(4); }
    void SpeedButton5Click() { SpeedButtonClick(5); }
    void SpeedButton6Click() { SpeedButtonClick(6); }
    void SpeedButton7Click() { SpeedButtonClick(7); }
    void SpeedButton8Click() { SpeedButtonClick(8); }
    void SpeedButton9Click() { SpeedButtonClick(9); }
    void Button2Click();  // play
    void Button1Click();  // wipe the memory

    // Game-flow methods.
    void pohodil(int cell);
    void refresh();
    void reset();
    bool check();
    void finish(Outcome outcome);

    // The learning opponent.
    void comp();
    void learn(std::int32_t grade);  // used by tests; finish reads the grade per used answer
    void clearUsed();
    void forget();

    // Replaces the memory with a saved one (between games or at start-up only): copies the
    // table, brings its lookup data up to date and shows the entry count. A count outside
    // 0..Capacity is a range error and changes nothing.
    void restoreMemory(const PositionMemory& memory, std::int32_t entryCount);

    // Read access to the state (tests, window).
    const Board& board() const { return Board_; }
    const PositionMemory& memory() const { return PositionMemory_; }
    std::int32_t entryCount() const { return EntryCount; }
    std::int32_t moveCount() const { return MoveCount; }
    std::int32_t gameNumber() const { return GameNumber; }
    // The score since creation: player wins, computer wins, draws (the chart's points 0..2).
    using Scores = std::array<double, 3>;
    const Scores& scores() const { return scores_; }
    bool computerStarts() const { return ComputerStarts; }
    bool acceptingMoves() const { return AcceptingMoves; }

    void setClock(Clock clock);
    // The default clock: the system clock's time of day in UTC, in milliseconds.
    static std::uint32_t utcMillisecondsOfDay();

  protected:
    // Display operations, provided by the window (or a test double).
    virtual void showCell(int k, const Cell& value) = 0;           // caption of SpeedButton k
    virtual void showGameNumber(std::int32_t number) = 0;          // Label2
    virtual void showEntryCount(std::int32_t count) = 0;           // Label8
    virtual void showStatus(const std::string& utf8Text) = 0;      // Bar1's simple text
    virtual void setPlayEnabled(bool enabled) = 0;                 // Button2
    virtual std::int32_t readGrade(int spinner) = 0;               // Value of SpinEdit1..3
    virtual void addScorePoint(const std::string& utf8Label) = 0;  // value 0, series colour
    virtual void setScoreValue(int index, double value) = 0;       // redraws the chart
    // Told once for every finished game, after all its end-of-game steps (also when grading
    // failed and the error is about to reach the caller). Whatever reacts to the end of a game
    // (saving the memory, the memory view, the watch mode, the trainer) listens here.
    virtual void gameFinished(Outcome outcome) = 0;

    Board Board_;
    std::int32_t EntryCount = 0;
    bool ComputerStarts = false;
    PositionMemory PositionMemory_;
    std::int32_t MoveCount = 0;
    std::int32_t GameNumber = 0;
    bool AcceptingMoves = false;

  private:
    // Seeds the generator and picks the n-th free cell, n = Random(8) + 1, counting from cell 1
    // round the board and passing over cells that are not " "; then clears every "*".
    int randomChoice();

    Clock clock_;
    RandomGenerator random_;
    Scores scores_{};
};

}  // namespace zelmo::engine
