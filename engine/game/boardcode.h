// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/board.h"

#include <cstdint>

namespace zelmo::engine {

// A board as a base-3 number: digit k-1 (cell 1 the least significant) is 0 for a free cell,
// 1 for "X" and 2 for "0". Every board of the game has its own number below kBoardCodes.
inline constexpr int kBoardCodes = 19683;  // 3^9

constexpr int markDigit(char c) {
    return c == 'X' ? 1 : c == '0' ? 2 : 0;
}

// The number of the board whose cell k (1 to 9) holds charAt(k).
template <class CharAt>
constexpr std::uint32_t boardCode(CharAt charAt) {
    std::uint32_t code = 0;
    for (int k = Board::kCells; k >= 1; --k) {
        code = code * 3 + static_cast<std::uint32_t>(markDigit(charAt(k)));
    }
    return code;
}

// 3^(k-1): what one unit of cell k's digit (k 1 to 9) adds to a board's number.
constexpr std::uint32_t cellWeight(int k) {
    std::uint32_t weight = 1;
    for (int i = 1; i < k; ++i) {
        weight *= 3;
    }
    return weight;
}

// The digit of cell k (1 to 9) in the board number `code`: 0 free, 1 "X", 2 "0".
constexpr int cellDigit(std::uint32_t code, int k) {
    return static_cast<int>(code / cellWeight(k) % 3);
}

}  // namespace zelmo::engine
