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

// The spin editor's context menu.
inline const QString kMenuUndo = QStringLiteral("&Отменить");
inline const QString kMenuCut = QStringLiteral("&Вырезать");
inline const QString kMenuCopy = QStringLiteral("&Копировать");
inline const QString kMenuPaste = QStringLiteral("Вст&авить");
inline const QString kMenuDelete = QStringLiteral("&Удалить");
inline const QString kMenuSelectAll = QStringLiteral("Выделить &все");

}  // namespace zelmo::ui::texts
