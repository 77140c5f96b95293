// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/board.h"

#include <cstdint>

// The school grades with which the player rates the computer's play: which grade an outcome
// earns, what the three grades are at start, the range they allow, and the grade that changes
// no weight. Shared by the game flow, the window's spinners and the trainer.
namespace zelmo::engine::grades {

inline constexpr std::int32_t kLowest = 2;
inline constexpr std::int32_t kHighest = 5;
// A weight changes by grade - kNeutral when a game ends: 2 takes one away, 3 leaves it.
inline constexpr std::int32_t kNeutral = 3;

// The grades at start: a computer win, a computer loss, a draw.
inline constexpr std::int32_t kWinDefault = 5;
inline constexpr std::int32_t kLossDefault = 2;
inline constexpr std::int32_t kDrawDefault = 4;

}  // namespace zelmo::engine::grades

namespace zelmo::engine {

// The three standing grades, named from the computer's side: its win («Победа», SpinEdit1),
// its loss («Поражение», SpinEdit2) and a draw («Ничья», SpinEdit3).
enum class Grade { Win, Loss, Draw };

// The grade a finished game earns: the player's win is the computer's loss.
constexpr Grade gradeOf(Outcome outcome) {
    switch (outcome) {
        case Outcome::PlayerWin:
            return Grade::Loss;
        case Outcome::ComputerWin:
            return Grade::Win;
        case Outcome::Draw:
            break;
    }
    return Grade::Draw;
}

// The score point of an outcome (0..2, the chart's order: player, computer, draw).
constexpr int scorePointOf(Outcome outcome) {
    switch (outcome) {
        case Outcome::PlayerWin:
            return 0;
        case Outcome::ComputerWin:
            return 1;
        case Outcome::Draw:
            break;
    }
    return 2;
}

// The values of the three grades: the trainer's, the grades a memory file keeps, and the
// window's spinners read together.
struct Grades {
    std::int32_t win = grades::kWinDefault;
    std::int32_t loss = grades::kLossDefault;
    std::int32_t draw = grades::kDrawDefault;

    constexpr std::int32_t operator[](Grade grade) const {
        return grade == Grade::Win ? win : grade == Grade::Loss ? loss : draw;
    }
    constexpr void set(Grade grade, std::int32_t value) {
        (grade == Grade::Win ? win : grade == Grade::Loss ? loss : draw) = value;
    }
    friend bool operator==(const Grades&, const Grades&) = default;
};

}  // namespace zelmo::engine
