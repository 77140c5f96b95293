// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/board.h"

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

}  // namespace zelmo::engine
