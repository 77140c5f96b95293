// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "engine/plural.h"

// The fixed texts (UTF-8) of the memory file's place and of the memory view.
namespace zelmo::ui::memorytexts {

// A folder where the memory cannot be saved: "%1" the file, then why.
inline const QString kNotSaved =
    QStringLiteral("Память компьютера не удастся сохранить в файл «%1»: ");
inline const QString kFolderNotCreated = QStringLiteral("папка «%1» не создаётся (%2).");

inline const QString kTitle = QStringLiteral("Память компьютера");
// "235 позиций из 1000 · 120 ответов с плюсом · сыграно 5 партий"
inline const QString kSummary = QStringLiteral("%1 из %2 · %3 с плюсом · сыграно: %4");
// The summary at its longest, for the window's smallest size.
inline const QString kLongestSummary =
    QStringLiteral("1000 позиций из 1000 · 8000 ответов с плюсом · сыграно: 2147483647 партий");
inline constexpr engine::RussianForms kPositions{"позиция", "позиции", "позиций"};
inline constexpr engine::RussianForms kAnswers{"ответ", "ответа", "ответов"};
inline const QString kLegend = QStringLiteral(
    "Зелёная бусина: ответ с плюсом, компьютер сыграет его снова; жёлтая: ответ испробован, "
    "вес ноль; красная: ответ с минусом. Обведённая бусина: ход, который он выберет сейчас; "
    "синяя рамка: позиция текущей партии и сыгранный в ней ответ.");
// A bead's weight in thousands and in millions.
inline const QString kThousands = QStringLiteral("к");
inline const QString kMillions = QStringLiteral("М");
inline const QString kListName = QStringLiteral("Запомненные позиции");

// What a screen reader reads for one board.
inline const QString kBoxName = QStringLiteral("Позиция %1: %2");
inline const QString kCell = QStringLiteral("клетка %1 %2");
inline const QString kWeight = QStringLiteral(" вес %1");
inline const QString kChosen = QStringLiteral(". Сейчас сыграет клетку %1");
inline const QString kPlayed = QStringLiteral(". В этой партии сыграл клетку %1");

}  // namespace zelmo::ui::memorytexts
