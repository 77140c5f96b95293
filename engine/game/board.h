// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/checked.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelmo::engine {

// One cell of the board or of a remembered position: a text of at most one character, kept
// as a length and a character and compared as a whole text. A default cell has length 0 and
// equals none of the marks below.
class Cell {
  public:
    constexpr Cell() = default;
    constexpr explicit Cell(char c) : length_(1), char_(c) {}

    constexpr int length() const { return length_; }
    // The character; '\0' for a cell of length 0.
    constexpr char character() const { return char_; }
    std::string text() const { return length_ == 0 ? std::string() : std::string(1, char_); }

    friend constexpr bool operator==(const Cell&, const Cell&) = default;

  private:
    std::uint8_t length_ = 0;
    char char_ = '\0';
};

inline constexpr Cell kEmpty{' '};   // a free cell
inline constexpr Cell kCross{'X'};   // the player's mark
inline constexpr Cell kNought{'0'};  // the computer's mark (the digit zero)
inline constexpr Cell kSkip{'*'};    // a cell the random choice passes over, within one move

// The nine cells numbered 1 to 9 row by row from the top left. Used for the game's position
// and for the positions the learning opponent remembers.
class Board {
  public:
    static constexpr int kCells = 9;

    const Cell& at(int k) const { return cells_[k]; }
    void set(int k, Cell value) { cells_[k] = value; }
    bool is(int k, Cell value) const { return cells_[k] == value; }
    // Every cell := value.
    void fill(Cell value);

    // The nine cells joined in the order 1 to 9 (nine characters once every cell is set).
    std::string text() const;

    friend bool operator==(const Board&, const Board&) = default;

  private:
    CheckedArray<Cell, kCells> cells_;
};

// The eight lines of three as masks over the board text, one 72-character text per side:
// mask a is characters 9(a-1)+1..9a, the side's mark where the cell belongs to the line.
struct WinPatterns {
    static constexpr std::string_view Player =
        "XXX*********XXX*********XXXX**X**X***X**X**X***X**X**XX***X***X**X*X*X**";
    static constexpr std::string_view Computer =
        "000*********000*********0000**0**0***0**0**0***0**0**00***0***0**0*0*0**";

    // The line scan: true when some mask has all three of its cells equal to the board's.
    static bool hasLine(const Board& board, std::string_view pattern);
};

// The result of a finished game.
enum class Outcome { PlayerWin, ComputerWin, Draw };

// Outcome detection after a mark: the player's lines first, then the computer's, then a full
// board (moveCount 9). No value while the game goes on.
std::optional<Outcome> detect(const Board& board, std::int32_t moveCount);

}  // namespace zelmo::engine
