// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
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
inline const QString kGameNumberDescription = QStringLiteral("Номер текущей партии");
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
// The score chart's title, and its name for a screen reader.
inline const QString kScoreName = QStringLiteral("Счёт");
inline const QString kSizeGripName = QStringLiteral("Размер окна");
inline const QString kScoreDescription = QStringLiteral("Игрок: %1, Компьютер: %2, Ничья: %3");
inline const QString kMailDescription = QStringLiteral("Написать письмо автору");
inline const QString kHomepageDescription = QStringLiteral("Открыть сайт автора в браузере");
inline const QString kStepUpName = QStringLiteral("Больше");
inline const QString kStepDownName = QStringLiteral("Меньше");

// The question before a wipe that would forget a kept memory. "%1" is the number of positions
// with its noun ("235 позиций"), "%2" the backup file.
inline const QString kWipeQuestion = QStringLiteral(
    "Компьютер забудет всё, что выучил: %1.\n\n"
    "Прежний файл памяти останется копией «%2».\n\n"
    "Промыть мозги?");
inline const QString kWipeUnreadableQuestion = QStringLiteral(
    "Файл памяти «%1» прочитать не удалось; вместо него будет записана пустая память.\n\n"
    "Прежний файл останется копией «%2».\n\n"
    "Промыть мозги?");
inline const QString kWipeConfirm = QStringLiteral("Промыть");
inline const QString kWipeKeep = QStringLiteral("Оставить память");
// The accusative forms after "забудет": 1 позицию, 2 позиции, 5 позиций.
inline constexpr const char* kPositionOne = "позицию";
inline constexpr const char* kPositionFew = "позиции";
inline constexpr const char* kPositionMany = "позиций";

// The help window (F1). "%1" the kept memory's file, "%2" the memory file in use now, "%3" the
// version, "%4" the home page's address, "%5" the keys (kHelpKeys).
inline const QString kHelpTitle = QStringLiteral("Зельмо: справка");
// The help's text as assistive technology names it.
inline const QString kHelpTextName = QStringLiteral("Справка");
inline const QString kHelpClose = QStringLiteral("Закрыть");
inline const QString kHelpNoFile =
    QStringLiteral("не используется, память живёт, пока открыто окно");
inline const QString kNoKeptMemory = QStringLiteral("Память компьютера сохраняться не будет: %1.");
// Where the kept memory would live when the user has no home folder.
inline const QString kNoKeptFolder =
    QStringLiteral("нет папки для неё: не заданы ни XDG_DATA_HOME, ни HOME");
inline const QString kHelpText = QStringLiteral(
    "<h3>Как играть</h3>"
    "<p>Нажмите «играть» (или F2, Ctrl+N) и ставьте «X» щелчком по клетке или цифрой 1–9: "
    "клетки пронумерованы по строкам, 1 2 3 сверху, 7 8 9 снизу. Компьютер отвечает «0» "
    "сразу. Первую партию начинаете вы, следующую компьютер, и так по очереди. Три в ряд "
    "по строке, столбцу или диагонали выигрывают; итог пишется в строке внизу.</p>"
    "<h3>Оценки</h3>"
    "<p>Компьютер учится по вашим оценкам от 2 до 5: за свою победу, за поражение и за ничью. "
    "Когда партия кончается, каждый его ход в ней получает оценку исхода: выше тройки он "
    "будет повторять такие ходы, ниже тройки будет их избегать. «Извилин» показывает, "
    "сколько позиций он запомнил; «промыть мозги» стирает всю память.</p>"
    "<h3>Клавиши</h3>"
    "%5"
    "<h3>Память</h3>"
    "<p>Запущенная без параметров, игра ничего не читает и не сохраняет. "
    "<b>zelmo --keep-memory</b> (так её запускает меню) хранит память компьютера в файле "
    "<b>%1</b>; <b>zelmo --memory ФАЙЛ</b> — в указанном файле. Память сохраняется после "
    "каждой партии. Прежде чем промыть мозги, игра спрашивает и оставляет прежний файл "
    "копией ФАЙЛ.bak: чтобы вернуть память, нажмите Ctrl+R или закройте игру и скопируйте "
    "ФАЙЛ.bak на место ФАЙЛА.</p>"
    "<p><b>zelmo --opponent ИГРОК --pace МС</b> сразу включает игру за «X», как F5: игроком "
    "random (случайные ходы), perfect (никогда не проигрывает), mixed:P (perfect с "
    "вероятностью P от 0 до 1) или learner:ФАЙЛ (ученик, который сам учится играть за «X» "
    "со своей памятью в ФАЙЛЕ), МС миллисекунд на ход (от 0 до 60000, без --pace 200).</p>"
    "<p>Файл памяти сейчас: %2.</p>"
    "<h3>О программе</h3>"
    "<p>Зельмо, версия %3. Свободная программа: её можно распространять и изменять на "
    "условиях GNU General Public License версии 3 или (на ваш выбор) любой более поздней "
    "(GPL-3.0-or-later). Никаких гарантий.</p>"
    "<p>Сайт: <a href='%4'>%4</a></p>");

// The window's actions, in its context menu.
inline const QString kActionNewGame = QStringLiteral("Новая партия");
inline const QString kActionOpen = QStringLiteral("Открыть память…");
inline const QString kActionSaveCopy = QStringLiteral("Сохранить копию памяти…");
inline const QString kActionRestore = QStringLiteral("Вернуть память до промывки мозгов…");
inline const QString kActionMemoryView = QStringLiteral("Память компьютера");
inline const QString kActionWatch = QStringLiteral("Игра за «X» сама: включить или остановить");
inline const QString kActionHistory = QStringLiteral("История обучения");
inline const QString kActionHelp = QStringLiteral("Справка");
inline const QString kActionQuit = QStringLiteral("Выход");
inline const QString kActionWinGrade = QStringLiteral("К оценке за победу");
inline const QString kActionLossGrade = QStringLiteral("К оценке за поражение");
inline const QString kActionDrawGrade = QStringLiteral("К оценке за ничью");
inline const QString kActionBackToGame = QStringLiteral("Назад к игре");
inline const QString kActionBoard = QStringLiteral("Прочитать доску, ход и счёт");
inline const QString kActionCell = QStringLiteral("Ход в клетку %1");
inline const QString kActionWhy = QStringLiteral("Почему компьютер так сыграл");
inline const QString kNoMoveYet = QStringLiteral("Компьютер в этой партии ещё не ходил");
// Said to a screen reader when the window is first active.
inline const QString kStartHint =
    QStringLiteral("F2: новая партия, цифры 1–9: ход, F1: справка и все клавиши");
// The window's context menu, as a screen reader names it when it opens.
inline const QString kContextMenuName = QStringLiteral("Меню окна");

inline const QString kHelpKeyLine = QStringLiteral("%1 — %2");

// The spin editor's context menu.
inline const QString kMenuUndo = QStringLiteral("&Отменить");
inline const QString kMenuCut = QStringLiteral("&Вырезать");
inline const QString kMenuCopy = QStringLiteral("&Копировать");
inline const QString kMenuPaste = QStringLiteral("Вст&авить");
inline const QString kMenuDelete = QStringLiteral("&Удалить");
inline const QString kMenuSelectAll = QStringLiteral("Выделить &все");

}  // namespace zelmo::ui::texts
