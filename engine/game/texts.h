// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/plural.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The engine's fixed texts (UTF-8): error messages, status texts and the score labels.
namespace zelmo::engine::texts {

inline constexpr std::string_view kRangeError = "Range check error";
inline constexpr std::string_view kIntOverflow = "Integer overflow";

inline constexpr std::string_view kPlayerWon = "вы выиграли";
inline constexpr std::string_view kComputerWon = "компьютер выиграл";
inline constexpr std::string_view kDraw = "ничья";
inline constexpr std::string_view kWiped = "промыл";
// The memory from before a wipe is back.
inline constexpr std::string_view kRestored = "вспомнил";

// The players' names that makePlayer knows, as a refused option's message names them.
inline constexpr std::string_view kPlayerNames =
    "нужно random, perfect, mixed:P, где P — десятичное число от 0 до 1, learner или "
    "learner:ФАЙЛ";

// Games counted, in the window's memory view and in the trainer's report.
inline constexpr RussianForms kGames = {"партия", "партии", "партий"};
inline constexpr RussianForms kPositions = {"позиция", "позиции", "позиций"};

// Labels of the score points 0, 1 and 2, in the order in which they are added.
inline constexpr std::array<std::string_view, 3> kScoreLabels = {"Игрок", "Компьютер", "Ничья"};

// "%1", "%2", "%3" in `pattern` replaced by the arguments.
inline std::string format(std::string_view pattern, const std::string& a1,
                          const std::string& a2 = {}, const std::string& a3 = {}) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] == '%' && next >= '1' && next <= '3') {
            out += next == '1' ? a1 : next == '2' ? a2 : a3;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

// Why the computer played a move (explanation.h): "%1".. the numbers.
namespace explain {
inline constexpr std::string_view kCell = "клетка %1: ";
inline constexpr std::string_view kNew =
    "позиция новая, запомнена как запись %1; клетка выбрана случайно среди свободных";
inline constexpr std::string_view kFull =
    "позиция новая, но память полна; клетка выбрана случайно и не запомнена";
inline constexpr std::string_view kFound = "позиция найдена, запись %1, %2";
inline constexpr std::array<std::string_view, 4> kTurns = {
    "без поворота", "поворот на четверть оборота", "поворот на пол-оборота",
    "поворот на три четверти оборота"};
inline constexpr std::string_view kAnswers = "; ответы: %1";
inline constexpr std::string_view kAnswer = "%1 (вес %2)";
inline constexpr std::string_view kBestPositive =
    "; лучший ответ %1 с весом %2 положителен, он и сыгран";
inline constexpr std::string_view kAllTried =
    "; все свободные клетки уже испробованы, сыгран лучший ответ %1 (вес %2)";
inline constexpr std::string_view kUntried =
    "; лучший вес %1 не положителен, поэтому клетка выбрана случайно среди неиспробованных";
}  // namespace explain

}  // namespace zelmo::engine::texts
