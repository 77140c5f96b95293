#pragma once

#include <QString>

// The window's fixed texts (UTF-8): captions of the window and its controls.
namespace zelmo::ui::texts {

// The application's title: the task-bar text and the caption of the error box.
inline const QString kAppName = QStringLiteral("Zelmo");
// The title bar of the main window.
inline const QString kFormCaption = QStringLiteral("Зельмо");

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

// The stand-in chart's title.
inline const QString kScoreTitle = QStringLiteral("Счёт");

}  // namespace zelmo::ui::texts
