// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/board.h"

namespace zelmo::engine {

void Board::fill(Cell value) {
    for (int k = 1; k <= kCells; ++k) {
        cells_[k] = value;
    }
}

std::string Board::text() const {
    std::string result;
    result.reserve(kCells);
    for (int k = 1; k <= kCells; ++k) {
        result += cells_[k].text();
    }
    return result;
}

bool WinPatterns::hasLine(const Board& board, std::string_view pattern) {
    constexpr int kMasks = 8;
    if (pattern.size() != std::size_t{kMasks} * Board::kCells) {
        throw ERangeError();
    }
    const std::string boardText = board.text();
    int count = 0;
    for (int a = 1; a <= kMasks; ++a) {
        count = 0;
        for (int b = 1; b <= Board::kCells; ++b) {
            // A board text shorter than nine (cells of length 0) has nothing to match there.
            const std::size_t i = static_cast<std::size_t>(b) - 1;
            if (i < boardText.size() &&
                boardText[i] == pattern[static_cast<std::size_t>(9 * (a - 1)) + i]) {
                ++count;
            }
        }
        if (count >= 3) {
            break;
        }
    }
    return count == 3;
}

std::optional<Outcome> detect(const Board& board, std::int32_t moveCount) {
    if (WinPatterns::hasLine(board, WinPatterns::Player)) {
        return Outcome::PlayerWin;
    }
    if (WinPatterns::hasLine(board, WinPatterns::Computer)) {
        return Outcome::ComputerWin;
    }
    // Lines are tested first, so a ninth mark that completes a line is a win, not a draw.
    if (moveCount == 9) {
        return Outcome::Draw;
    }
    return std::nullopt;
}

}  // namespace zelmo::engine
