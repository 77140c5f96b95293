// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelmo::engine {

// Russian nouns after a whole number take one of three forms: 1, 21, 101 партия; 2..4, 22..24
// партии; 0, 5..20, 25..30 партий (11..14 always take the third). Used for every text that
// counts something, in the window and in the trainer.
struct RussianForms {
    std::string_view one;   // 1 партия
    std::string_view few;   // 2 партии
    std::string_view many;  // 5 партий
};

constexpr std::string_view pluralForm(std::int64_t n, const RussianForms& forms) {
    const std::uint64_t magnitude =
        n < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    const std::uint64_t lastTwo = magnitude % 100;
    const std::uint64_t last = magnitude % 10;
    if (lastTwo >= 11 && lastTwo <= 14) {
        return forms.many;
    }
    if (last == 1) {
        return forms.one;
    }
    if (last >= 2 && last <= 4) {
        return forms.few;
    }
    return forms.many;
}

// "5 партий": the number in plain decimal digits, a space and the matching form.
inline std::string countOf(std::int64_t n, const RussianForms& forms) {
    std::string text = std::to_string(n);
    text += ' ';
    text += pluralForm(n, forms);
    return text;
}

}  // namespace zelmo::engine
