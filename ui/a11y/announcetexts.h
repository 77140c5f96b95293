// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "engine/game/plural.h"

// What the announcer says of its own (UTF-8): the summary of the games played while the window
// plays faster than a listener can follow, the board read on demand, why a digit did not play,
// and the watch mode beginning and ending.
namespace zelmo::ui::announcetexts {

// «37 партий: компьютер 49 %, ничьи 24 %», «3 тысячи партий: …»: "%1" the games with their noun,
// then the computer's wins and the draws in per cent.
inline const QString kSummary = QStringLiteral("%1: компьютер %2 %, ничьи %3 %");
// Before every summary after the first while the window plays: each counts the games since the
// last, so «84 тысячи партий…» followed by «ещё 55 тысяч партий…» is not heard as a count going
// down.
inline const QString kMore = QStringLiteral("ещё ");
inline const QString kRoundedGames = QStringLiteral("%1 партий");
inline constexpr engine::RussianForms kGames{"партия", "партии", "партий"};
inline constexpr engine::RussianForms kThousands{"тысяча", "тысячи", "тысяч"};
inline constexpr engine::RussianForms kMillions{"миллион", "миллиона", "миллионов"};

// The board on demand: «Ряд 1: крестик, пусто, нолик; Ряд 2: …», whose move it is and the score.
inline const QString kRow = QStringLiteral("Ряд %1: %2");
inline const QString kRowCells = QStringLiteral(", ");
inline const QString kRows = QStringLiteral("; ");
inline const QString kYourMove = QStringLiteral("Ваш ход");
inline const QString kComputerMovesFirst = QStringLiteral("Первым ходит компьютер");
inline const QString kYouBegin = QStringLiteral("Следующую партию начинаете вы");
inline const QString kComputerBegins = QStringLiteral("Следующую партию начинает компьютер");
inline const QString kScore = QStringLiteral("Счёт: игрок %1, компьютер %2, ничьих %3");

// A digit that plays nothing says why.
inline const QString kCellTaken = QStringLiteral("Клетка %1 занята");
inline const QString kNoGame = QStringLiteral("Партия не начата: нажмите «играть» или F2");

// An arrow step of a grade: «Поражение: 3», and at a bound which one.
inline const QString kGradeStep = QStringLiteral("%1: %2");
inline const QString kHighestGrade = QStringLiteral(", высшая оценка");
inline const QString kLowestGrade = QStringLiteral(", низшая оценка");

// The window begins and stops playing "X" by itself.
inline const QString kWatchStarted = QStringLiteral("Окно само играет за «X»; F5 останавливает");
inline const QString kWatchStopped = QStringLiteral("Окно больше не играет за «X»");

}  // namespace zelmo::ui::announcetexts
