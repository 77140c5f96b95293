// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "engine/game/plural.h"

// The learning history's window texts (UTF-8).
namespace zelmo::ui::historytexts {

inline const QString kTitle = QStringLiteral("История обучения");
inline const QString kPlayerWins = QStringLiteral("победы игрока");
inline const QString kComputerWins = QStringLiteral("победы компьютера");
inline const QString kDraws = QStringLiteral("ничьи");
inline const QString kGamesAxis = QStringLiteral("сыграно партий");
// The games axis's units: "2,5 тыс.", "40 млн".
inline const QString kThousands = QStringLiteral("тыс.");
inline const QString kMillions = QStringLiteral("млн");
inline const QString kBillions = QStringLiteral("млрд");
inline const QString kTrillions = QStringLiteral("трлн");
inline const QString kQuadrillions = QStringLiteral("квадрлн");
inline const QString kEmpty = QStringLiteral("Сыгранных партий пока нет");
// The accessible description: the last block. "%1" and "%2" its first and last game, then the
// three shares in per cent, then all the games.
inline const QString kSummary = QStringLiteral(
    "Партии с %1 по %2: победы игрока %3 %, победы компьютера %4 %, ничьи %5 %. Всего "
    "сыграно партий: %6.");

// The table of blocks under the plot: its headers, a block's games («1–100»), a share.
inline const QString kGamesColumn = QStringLiteral("партии");
inline const QString kPositionsColumn = QStringLiteral("позиции");
inline const QString kGameRange = QStringLiteral("%1–%2");
inline const QString kShare = QStringLiteral("%1 %");
inline const QString kTableName = QStringLiteral("Блоки партий");
// The whole course: "%1" the games, then how each share went from the first block to the last.
inline const QString kCourse =
    QStringLiteral("За %1 победы игрока %2, победы компьютера %3, ничьи %4.");
inline constexpr engine::RussianForms kGamesAfterFor{"партию", "партии", "партий"};
inline const QString kFell = QStringLiteral("упали с %1 % до %2 %");
inline const QString kRose = QStringLiteral("выросли с %1 % до %2 %");
inline const QString kStayed = QStringLiteral("остались на %1 %");

}  // namespace zelmo::ui::historytexts
