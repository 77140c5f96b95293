// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The school grades with which the player rates the computer's play: what the three grade
// spinners hold at start, the range they allow, and the grade that changes no weight. Shared
// by the game flow, the window's spinners and the trainer.
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
