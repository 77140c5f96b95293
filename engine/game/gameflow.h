// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/board.h"
#include "engine/game/explanation.h"
#include "engine/game/grades.h"
#include "engine/game/memory.h"
#include "engine/game/random.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelmo::engine {

// What a finished game was, as the game flow tells its listeners.
struct FinishedGame {
    Outcome outcome = Outcome::Draw;
    bool computerBegan = false;
    std::int32_t gameNumber = 0;
    std::int32_t entryCount = 0;  // positions remembered after the game
    // The grade applied to the answers the computer played, read from its display; none when
    // the memory held none of them (a full memory may leave a game without one).
    std::optional<std::int32_t> grade;
    // The three grades in force when the game ended.
    Grades grades;
};

// Hears what the game flow does besides showing it: the memory file, the memory view, the
// watch mode, the screen reader's score and the trainer's tally all listen here. Every call
// comes once, on the thread that called the entry point.
class GameListener {
  public:
    // The play button has begun a game (before the computer's opening move, if it begins).
    virtual void gameStarted() {}
    // A game has ended: told once, after all its end-of-game steps, also when grading failed
    // (that error reaches the entry point's caller after the listeners have heard).
    virtual void gameFinished(const FinishedGame& /*game*/) {}
    // The wipe button has emptied the memory.
    virtual void memoryWiped() {}
    // An entry point has returned, normally or by an error: the board, the memory or the
    // counters may have changed.
    virtual void changed() noexcept {}

  protected:
    ~GameListener() = default;
};

// The game flow: turns the window's events into games. The window class derives from it and
// implements the display operations; tests derive a recording display. All game state lives
// here. Errors (ERangeError, EIntOverflow) propagate out of the entry points to the caller,
// which reports them; nothing done before the failure is undone. The one exception is finish:
// a grading error is held until the game has ended, so a new game can always be begun.
//
// Only the entry points and the reading of the state are public; the steps of a game (pohodil,
// refresh, reset, check, finish, comp and the learning) are the flow's own, and a derived
// display (or a test flow) reaches them.
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

    // Replaces the memory with a saved one (between games or at start-up only): copies the
    // table, brings its lookup data up to date and shows the entry count. A count outside
    // 0..Capacity is a range error and changes nothing.
    void restoreMemory(const PositionMemory& memory, std::int32_t entryCount);
    // The memory restored was the one from before the last wipe: the status line says so, as
    // it said the wipe.
    void tellRestored();

    // Listeners are told in the order they were added; a listener removes itself before it
    // goes.
    void addListener(GameListener& listener);
    void removeListener(GameListener& listener);

    // While deferred, the display operations that show the game (cells, counters, status,
    // play button, score) are not called; flushDisplay() shows the whole state at once, and
    // ending the deferral flushes. Grades are still read. The watch mode defers at full speed.
    void setDisplayDeferred(bool deferred);
    bool displayDeferred() const { return displayDeferred_; }
    void flushDisplay();

    // Read access to the state.
    const Board& board() const { return Board_; }
    const PositionMemory& memory() const { return PositionMemory_; }
    std::int32_t entryCount() const { return EntryCount; }
    std::int32_t moveCount() const { return MoveCount; }
    std::int32_t gameNumber() const { return GameNumber; }
    // The score since creation: player wins, computer wins, draws (the chart's points 0..2).
    using Scores = std::array<double, 3>;
    const Scores& scores() const { return scores_; }
    bool computerStarts() const { return ComputerStarts; }
    // Why the computer played each of its moves in the game in progress, or in the last game
    // until the next begins, in the order played.
    const std::vector<MoveExplanation>& moveExplanations() const { return explained_; }
    bool acceptingMoves() const { return AcceptingMoves; }

    void setClock(Clock clock);
    // The default clock: the system clock's time of day in UTC, in milliseconds.
    static std::uint32_t utcMillisecondsOfDay();

  protected:
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

    // Display operations, provided by the window (or a test double).
    virtual void showCell(int k, const Cell& value) = 0;       // caption of SpeedButton k
    virtual void showGameNumber(std::int32_t number) = 0;      // Label2
    virtual void showEntryCount(std::int32_t count) = 0;       // Label8
    virtual void showStatus(const std::string& utf8Text) = 0;  // Bar1's simple text
    virtual void setPlayEnabled(bool enabled) = 0;             // Button2
    virtual std::int32_t readGrade(Grade grade) = 0;           // SpinEdit1..3
    // The three grades together, as they stand when a game ends, for whoever keeps them with
    // the game (the history, the memory file); not a grading, so not one of the reads above.
    virtual Grades gradesInForce() = 0;
    virtual void addScorePoint(const std::string& utf8Label) = 0;  // value 0, series colour
    virtual void setScoreValue(int index, double value) = 0;       // redraws the chart

    Board Board_;
    std::int32_t EntryCount = 0;
    bool ComputerStarts = false;
    PositionMemory PositionMemory_;
    std::int32_t MoveCount = 0;
    std::int32_t GameNumber = 0;
    bool AcceptingMoves = false;

  private:
    class EntryPoint;

    // True while the display is deferred, noting that it is stale: the game then skips the
    // display operations that show it.
    bool deferred();

    // Tells every listener; the first error a listener raised is rethrown after all heard.
    template <typename Call>
    void tell(Call&& call);

    Clock clock_;
    RandomGenerator random_;
    Scores scores_{};
    std::vector<GameListener*> listeners_;
    std::vector<MoveExplanation> explained_;
    std::string status_;  // the status text last set, shown again by flushDisplay
    bool displayDeferred_ = false;
    bool displayStale_ = false;
};

}  // namespace zelmo::engine
