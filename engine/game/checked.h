// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/errors.h"

#include <array>
#include <cstdint>

namespace zelmo::engine {

// A fixed array indexed from 1 to N whose every access is bounds-tested; the board, the
// memory table and the answer slots are all of this kind.
template <typename T, int N>
class CheckedArray {
  public:
    static_assert(N > 0);
    static constexpr int size() { return N; }

    static constexpr bool inRange(std::int64_t index) { return index >= 1 && index <= N; }

    constexpr T& operator[](std::int64_t index) {
        check(index);
        return items_[static_cast<std::size_t>(index - 1)];
    }
    constexpr const T& operator[](std::int64_t index) const {
        check(index);
        return items_[static_cast<std::size_t>(index - 1)];
    }

    friend constexpr bool operator==(const CheckedArray&, const CheckedArray&) = default;

  private:
    static constexpr void check(std::int64_t index) {
        if (!inRange(index)) {
            throw ERangeError();
        }
    }

    std::array<T, static_cast<std::size_t>(N)> items_{};
};

// a + b on signed 32-bit numbers; raises EIntOverflow instead of wrapping.
constexpr std::int32_t checkedAdd(std::int32_t a, std::int32_t b) {
    std::int32_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        throw EIntOverflow();
    }
    return sum;
}

}  // namespace zelmo::engine
