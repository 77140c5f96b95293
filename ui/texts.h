// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The window's fixed texts (UTF-8): captions of the window, its controls and the spin editor's
// context menu.
namespace zelmo::ui::texts {

// The application's title: the task-bar text and the caption of the error box.
inline const QString kAppName = QStringLiteral("Zelmo");
// The title bar of the main window.
inline const QString kFormCaption = QStringLiteral("Зельмо");
// The error box's text for a failure that carries no message of its own.
inline const QString kUnknownError = QStringLiteral("Unknown error");

inline const QString kGameLabel = QStringLiteral("Партия:");
inline const QString kMemoryLabel = QStringLiteral("Извилин:");
inline const QString kFeedbackLabel = QStringLiteral("Ваши отзывы:");
inline const QString kSiteLabel = QStringLiteral("Сайт автора:");
inline const QString kGradesHeading = QStringLiteral("Оценки");
inline const QString kWinGrade = QStringLiteral("Победа");
inline const QString kLossGrade = QStringLiteral("Поражение");
inline const QString kDrawGrade = QStringLiteral("Ничья");
inline const QString kWipeButton = QStringLiteral("промыть мозги");
inline const QString kPlayButton = QStringLiteral("играть");
inline const QString kZero = QStringLiteral("0");
inline const QString kEmptyCell = QStringLiteral(" ");

// What assistive technology reads out: names and descriptions of the controls. "%1" and "%2"
// are filled in with numbers or marks.
inline const QString kCellName = QStringLiteral("Клетка %1: %2");
inline const QString kCellEmpty = QStringLiteral("пусто");
inline const QString kCellCross = QStringLiteral("крестик");
inline const QString kCellNought = QStringLiteral("нолик");
inline const QString kCellDescription =
    QStringLiteral("Строка %1, столбец %2. Во время партии ход сюда делает клавиша %3");
inline const QString kGameNumberName = QStringLiteral("Партия: %1");
inline const QString kGameNumberDescription = QStringLiteral("Номер текущей партии");
inline const QString kEntryCountName = QStringLiteral("Извилин: %1");
inline const QString kEntryCountDescription = QStringLiteral("Сколько позиций запомнил компьютер");
inline const QString kStatusName = QStringLiteral("Строка состояния");
inline const QString kStatusDescription = QStringLiteral("Итог партии и сообщения игры");
inline const QString kPlayDescription = QStringLiteral("Начать новую партию");
inline const QString kWipeDescription = QStringLiteral("Стереть всё, что запомнил компьютер");
inline const QString kWinGradeName = QStringLiteral("Оценка за победу компьютера");
inline const QString kLossGradeName = QStringLiteral("Оценка за поражение компьютера");
inline const QString kDrawGradeName = QStringLiteral("Оценка за ничью");
inline const QString kGradeDescription = QStringLiteral(
    "Школьная оценка от 2 до 5, которую получают ходы компьютера в конце партии: выше тройки "
    "поощряет их, ниже тройки наказывает");
inline const QString kGradesPanelName = QStringLiteral("Оценки");
inline const QString kScoreName = QStringLiteral("Счёт");
inline const QString kScoreDescription = QStringLiteral("Игрок: %1, Компьютер: %2, Ничья: %3");
inline const QString kMailDescription = QStringLiteral("Написать письмо автору");
inline const QString kHomepageDescription = QStringLiteral("Открыть сайт автора в браузере");
inline const QString kStepUpName = QStringLiteral("Больше");
inline const QString kStepDownName = QStringLiteral("Меньше");

// The spin editor's context menu.
inline const QString kMenuUndo = QStringLiteral("&Отменить");
inline const QString kMenuCut = QStringLiteral("&Вырезать");
inline const QString kMenuCopy = QStringLiteral("&Копировать");
inline const QString kMenuPaste = QStringLiteral("Вст&авить");
inline const QString kMenuDelete = QStringLiteral("&Удалить");
inline const QString kMenuSelectAll = QStringLiteral("Выделить &все");

}  // namespace zelmo::ui::texts
