// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/players.h"

#include "engine/game/boardcode.h"
#include "engine/game/learner.h"

#include <array>
#include <charconv>
#include <optional>
#include <system_error>

namespace zelmo::engine {

namespace {

constexpr int kStates = kBoardCodes;

// The eight lines of three as cell numbers (1 to 9), read from the board's own line masks.
constexpr std::array<std::array<int, 3>, 8> kLines = [] {
    std::array<std::array<int, 3>, 8> lines{};
    for (std::size_t a = 0; a < lines.size(); ++a) {
        std::size_t n = 0;
        for (int k = 1; k <= Board::kCells; ++k) {
            if (WinPatterns::Player[a * std::size_t{Board::kCells} +
                                    static_cast<std::size_t>(k - 1)] == 'X') {
                lines[a][n++] = k;
            }
        }
    }
    return lines;
}();

int stateOf(const Board& board) {
    return static_cast<int>(boardCode([&board](int k) { return board.at(k).character(); }));
}

int digit(int state, int k) {
    return cellDigit(static_cast<std::uint32_t>(state), k);
}

bool hasLine(int state, int mark) {
    for (const auto& line : kLines) {
        if (digit(state, line[0]) == mark && digit(state, line[1]) == mark &&
            digit(state, line[2]) == mark) {
            return true;
        }
    }
    return false;
}

// Game values from "X"'s side (+1 win, 0 draw, -1 loss) with either side to move, and the best
// moves of "X"; lines are tested in the game's order, the player's first.
class Minimax {
  public:
    Minimax() {
        known_[0].fill(false);
        known_[1].fill(false);
        best_.fill(0);
        for (int state = 0; state < kStates; ++state) {
            value(state, 0);
        }
    }
    std::uint16_t best(int state) const { return best_[static_cast<std::size_t>(state)]; }

  private:
    // side 0: "X" to move, side 1: "0" to move.
    int value(int state, int side) {
        const auto s = static_cast<std::size_t>(state);
        if (known_[static_cast<std::size_t>(side)][s]) {
            return values_[static_cast<std::size_t>(side)][s];
        }
        int result = 0;
        std::uint16_t bestMask = 0;
        if (hasLine(state, 1)) {
            result = 1;
        } else if (hasLine(state, 2)) {
            result = -1;
        } else {
            bool moved = false;
            for (int k = 1; k <= Board::kCells; ++k) {
                if (digit(state, k) != 0) {
                    continue;
                }
                const int next = state + static_cast<int>(cellWeight(k)) * (side == 0 ? 1 : 2);
                const int v = value(next, 1 - side);
                const bool better = !moved || (side == 0 ? v > result : v < result);
                if (better) {
                    result = v;
                    bestMask = 0;
                }
                if (side == 0 && v == result) {
                    bestMask = static_cast<std::uint16_t>(bestMask | (1u << k));
                }
                moved = true;
            }
        }
        known_[static_cast<std::size_t>(side)][s] = true;
        values_[static_cast<std::size_t>(side)][s] = static_cast<std::int8_t>(result);
        if (side == 0) {
            best_[s] = bestMask;
        }
        return result;
    }

    std::array<std::array<bool, kStates>, 2> known_;
    std::array<std::array<std::int8_t, kStates>, 2> values_{};
    std::array<std::uint16_t, kStates> best_;
};

// The k-th (from 0) set bit of a cell mask, as a cell number.
int nthCell(std::uint16_t mask, std::uint32_t n) {
    for (int k = 1; k <= Board::kCells; ++k) {
        if ((mask & (1u << k)) != 0 && n-- == 0) {
            return k;
        }
    }
    return 0;
}

std::uint16_t freeCells(const Board& board) {
    std::uint16_t mask = 0;
    for (int k = 1; k <= Board::kCells; ++k) {
        if (board.is(k, kEmpty)) {
            mask = static_cast<std::uint16_t>(mask | (1u << k));
        }
    }
    return mask;
}

int randomCell(std::uint16_t mask, SplitMix64& random) {
    return nthCell(mask, random.below(static_cast<std::uint32_t>(__builtin_popcount(mask))));
}

}  // namespace

int RandomPlayer::move(const Board& board) {
    return randomCell(freeCells(board), random_);
}

std::uint16_t PerfectPlayer::bestMoves(const Board& board) {
    static const Minimax table;
    return table.best(stateOf(board));
}

int PerfectPlayer::move(const Board& board) {
    return randomCell(bestMoves(board), random_);
}

int MixedPlayer::move(const Board& board) {
    const std::uint16_t cells =
        random_.unit() < p_ ? PerfectPlayer::bestMoves(board) : freeCells(board);
    return randomCell(cells, random_);
}

namespace {

// P of "mixed:P", or nothing when the name is not of that form.
std::optional<double> mixedShare(const std::string& name) {
    const std::string prefix = "mixed:";
    if (name.rfind(prefix, 0) != 0) {
        return std::nullopt;
    }
    // from_chars reads the C locale's notation whatever the process locale is (a window in a
    // German locale must not read "0,5"); a leading digit keeps out signs, blanks and ".5".
    const std::string number = name.substr(prefix.size());
    if (number.empty() || number.front() < '0' || number.front() > '9') {
        return std::nullopt;
    }
    double p = 0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, p, std::chars_format::fixed);
    if (error != std::errc() || stop != end || p < 0.0 || p > 1.0) {
        return std::nullopt;
    }
    // A number written above 1 that rounds to 1.0 ("1.00000000000000000001") is above 1 too:
    // a whole part of 1 takes no other fraction digit than 0.
    const std::size_t dot = number.find('.');
    if (dot != std::string::npos &&
        number.substr(0, dot).find_first_not_of('0') != std::string::npos &&
        number.find_first_not_of('0', dot + 1) != std::string::npos) {
        return std::nullopt;
    }
    return p;
}

}  // namespace

std::unique_ptr<Player> makePlayer(const std::string& name, std::uint64_t seed) {
    if (name == "random") {
        return std::make_unique<RandomPlayer>(seed);
    }
    if (name == "perfect") {
        return std::make_unique<PerfectPlayer>(seed);
    }
    if (const std::optional<double> p = mixedShare(name)) {
        return std::make_unique<MixedPlayer>(*p, seed);
    }
    if (name == kLearner || learnerFileOf(name)) {
        return std::make_unique<LearnerPlayer>(seed);
    }
    return nullptr;
}

std::optional<std::string> learnerFileOf(const std::string& name) {
    const std::string prefix = std::string(kLearner) + ":";
    if (name.size() <= prefix.size() || name.rfind(prefix, 0) != 0) {
        return std::nullopt;
    }
    return name.substr(prefix.size());
}

int OrderPlayer::move(const Board& board) {
    for (const int cell : order_) {
        if (board.is(cell, kEmpty)) {
            return cell;
        }
    }
    return order_[0];
}

}  // namespace zelmo::engine
