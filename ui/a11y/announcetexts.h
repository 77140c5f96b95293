// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "engine/plural.h"

// What the announcer says of its own (UTF-8): the summary of the games played while the window
// plays faster than a listener can follow.
namespace zelmo::ui::announcetexts {

// «Сыграно 37 партий: игрок 10, компьютер 20, ничьих 7»: "%1" the verb, "%2" the games with
// their noun, then the player's wins, the computer's wins and the draws.
inline const QString kSummary = QStringLiteral("%1 %2: игрок %3, компьютер %4, ничьих %5");
inline constexpr engine::RussianForms kPlayed{"Сыграна", "Сыграно", "Сыграно"};
inline constexpr engine::RussianForms kGames{"партия", "партии", "партий"};

}  // namespace zelmo::ui::announcetexts
