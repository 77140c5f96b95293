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

}  // namespace zelmo::engine
