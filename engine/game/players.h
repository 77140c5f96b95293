// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/board.h"
#include "engine/game/random.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zelmo::engine {

// Who plays "X" against the learning computer: in the trainer, the soak program and the
// window's watch mode. It is asked for a move only while the game runs, so the board has a
// free cell and no line.
class Player {
  public:
    virtual ~Player() = default;
    // A free cell 1..9 of the board.
    virtual int move(const Board& board) = 0;
    // The game that was running has ended so (a learning player grades its moves here).
    virtual void gameOver(Outcome /*outcome*/) {}
};

// A uniformly random free cell.
class RandomPlayer : public Player {
  public:
    explicit RandomPlayer(std::uint64_t seed) : random_(seed) {}
    int move(const Board& board) override;

  private:
    SplitMix64 random_;
};

// A minimax player that never loses: among the moves of the best game-theoretic value for
// "X" (win, else draw) it picks one at random. The values of all 3^9 boards are worked out
// once per process, so a move is one table look-up.
class PerfectPlayer : public Player {
  public:
    explicit PerfectPlayer(std::uint64_t seed) : random_(seed) {}
    int move(const Board& board) override;
    // Bit k (1..9) set: cell k is a best move for "X" on this board.
    static std::uint16_t bestMoves(const Board& board);

  private:
    SplitMix64 random_;
};

// Perfect with probability p, random otherwise, decided afresh for every move.
class MixedPlayer : public Player {
  public:
    MixedPlayer(double p, std::uint64_t seed) : p_(p), random_(seed) {}
    int move(const Board& board) override;

  private:
    double p_;
    SplitMix64 random_;
};

// The first free cell of a fixed order: the same game every time the computer answers alike
// (the window's tests, its screenshots and the benchmarks).
class OrderPlayer : public Player {
  public:
    explicit OrderPlayer(std::array<int, 9> order = {1, 2, 3, 4, 5, 6, 7, 8, 9}) : order_(order) {}
    int move(const Board& board) override;

  private:
    std::array<int, 9> order_;
};

// The name of the learning player for "X" (learner.h), alone or as "learner:FILE".
inline constexpr std::string_view kLearner = "learner";

// A player from its name: "random", "perfect", "mixed:P" with P a plain decimal fraction from 0
// to 1 ("0", "0.25", "1"; no sign, blank, exponent or hexadecimal), or "learner" (a learning
// player with an empty memory) or "learner:FILE" (the same, for the program to give it the
// memory kept in FILE). Null for any other name. The trainer and the window both check a
// player's name with this alone.
std::unique_ptr<Player> makePlayer(const std::string& name, std::uint64_t seed);

// FILE of "learner:FILE" (not empty), or nothing.
std::optional<std::string> learnerFileOf(const std::string& name);

}  // namespace zelmo::engine
