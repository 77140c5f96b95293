// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/texts.h"

#include <stdexcept>
#include <string>

namespace zelmo::engine {

// Raised by every bounds test (1-based arrays, cell numbers). The window's event guard catches
// std::exception and shows what().
class ERangeError : public std::out_of_range {
  public:
    ERangeError() : std::out_of_range(std::string(texts::kRangeError)) {}
};

// Raised when a signed 32-bit counter or weight addition leaves its range.
class EIntOverflow : public std::overflow_error {
  public:
    EIntOverflow() : std::overflow_error(std::string(texts::kIntOverflow)) {}
};

}  // namespace zelmo::engine
