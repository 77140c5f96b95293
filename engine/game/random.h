// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace zelmo::engine {

// The random generator behind the computer's untried moves: a 32-bit linear congruential
// state, seeded from the time of day before every random choice.
class RandomGenerator {
  public:
    void seed(std::uint32_t value) { state_ = value; }
    std::uint32_t state() const { return state_; }

    // Advances the state and returns a whole number 0..n-1 for n > 0: the state taken as a
    // fraction of 2^32 times n, so for n = 8 it is the top three bits of the new state.
    std::int32_t Random(std::int32_t n) {
        state_ = state_ * 134775813u + 1u;  // wraps modulo 2^32 on the unsigned state
        const std::uint64_t product =
            static_cast<std::uint64_t>(state_) * static_cast<std::uint32_t>(n);
        return static_cast<std::int32_t>(product >> 32);
    }

  private:
    std::uint32_t state_ = 0;
};

// The players' own generator (splitmix64), also behind the soak program's choices: small, fast
// and the same with every standard library, so a seeded run gives the same games everywhere.
class SplitMix64 {
  public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A whole number 0..n-1 for n > 0, each equally likely.
    std::uint32_t below(std::uint32_t n) {
        // Draws from the top of the range that would favour the low results are thrown away.
        const std::uint64_t limit = UINT64_MAX - UINT64_MAX % n;
        std::uint64_t draw = next();
        while (draw >= limit) {
            draw = next();
        }
        return static_cast<std::uint32_t>(draw % n);
    }
    // A number in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

  private:
    std::uint64_t state_;
};

}  // namespace zelmo::engine
