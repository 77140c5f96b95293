// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>

#include "engine/game/plural.h"
#include "engine/game/texts.h"

// The fixed texts (UTF-8) of the memory view.
namespace zelmo::ui::memorytexts {

inline const QString kTitle = QStringLiteral("Память компьютера");
// "235 позиций из 1000 · 120 ответов с плюсом · сыграно: 2001 партия с этой памятью, 5 партий
// в этом окне": the games of the memory's history, then those since this window started.
inline const QString kSummary =
    QStringLiteral("%1 из %2 · %3 с плюсом · сыграно: %4 с этой памятью, %5 в этом окне");
// The summary at its longest, for the window's smallest size.
inline const QString kLongestSummary = QStringLiteral(
    "1000 позиций из 1000 · 8000 ответов с плюсом · сыграно: 9007199254740992 партии с этой "
    "памятью, 2147483647 партий в этом окне");
inline constexpr engine::RussianForms kPositions = engine::texts::kPositions;
inline constexpr engine::RussianForms kAnswers{"ответ", "ответа", "ответов"};
inline const QString kLegend = QStringLiteral(
    "Зелёная бусина: ответ с плюсом, компьютер сыграет его снова; жёлтая: ответ испробован, "
    "вес ноль; красная: ответ с минусом. Обведённая бусина: ход, который он выберет сейчас; "
    "синяя рамка: позиция текущей партии и сыгранный в ней ответ, как они стоят на доске; "
    "остальные позиции показаны так, как компьютер их запомнил (возможно, повёрнутыми). "
    "В каждой группе первыми идут позиции, сыгранные чаще всего.");
// The one line of an empty memory.
inline const QString kNothingRemembered = QStringLiteral("Компьютер ещё ничего не запомнил");
// A group's heading: "Первый ход компьютера · 1 позиция".
inline const QString kHeading = QStringLiteral("%1 · %2");
inline const std::array<QString, 5> kStages = {
    QStringLiteral("Первый ход компьютера"), QStringLiteral("Второй ход компьютера"),
    QStringLiteral("Третий ход компьютера"), QStringLiteral("Четвёртый ход компьютера"),
    QStringLiteral("Пятый ход компьютера")};
// A bead's weight in thousands and in millions.
inline const QString kThousands = QStringLiteral("к");
inline const QString kMillions = QStringLiteral("М");
inline const QString kListName = QStringLiteral("Запомненные позиции");
// The list as a screen reader names it: "%1" its name, "%2" the summary, read with commas
// where it shows dots.
inline const QString kListSummary = QStringLiteral("%1: %2");
inline const QString kShownSeparator = QStringLiteral(" · ");
inline const QString kSpokenSeparator = QStringLiteral(", ");

// What a screen reader reads for one board.
inline const QString kBoxName = QStringLiteral("Позиция %1: %2");
inline const QString kCell = QStringLiteral("клетка %1 %2");
inline const QString kWeight = QStringLiteral(" вес %1");
inline const QString kChosen = QStringLiteral(". Сейчас сыграет клетку %1");
inline const QString kPlayed = QStringLiteral(". В этой партии сыграл клетку %1");
inline const QString kOnBoard = QStringLiteral(". Показана так, как стоит на доске");

// The last game's lesson: "%1" the outcome, "%2" the answers.
inline const QString kLesson = QStringLiteral("Урок партии (%1): %2");
// Why the computer played each of its moves in the game: "%1" the moves, one a line.
inline const QString kAccount = QStringLiteral("Почему компьютер так сыграл:\n%1");
inline const QString kAccountSeparator = QStringLiteral("\n");
// With a learner for "X" in the game: both sides' moves, the learner's marked.
inline const QString kAccountWithCross =
    QStringLiteral("Почему компьютер и ученик за «X» так сыграли:\n%1");
inline const QString kCrossMove = QStringLiteral("ученик X, ");
inline const QString kLessonNone = QStringLiteral("Урок партии (%1): ни один ответ не оценён");
inline const QString kLessonPlayerWin = QStringLiteral("победа игрока");
inline const QString kLessonComputerWin = QStringLiteral("победа компьютера");
inline const QString kLessonDraw = QStringLiteral("ничья");
// An answer: its cell, its weight before and after, the grade's name and value, the change.
inline const QString kLessonAnswer = QStringLiteral("клетка %1: %2 → %3 (%4 %5: %6)");
inline const QString kLessonUngraded =
    QStringLiteral("клетка %1: %2 (не изменён: вес переполнился бы)");

}  // namespace zelmo::ui::memorytexts
