// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The fixed texts (UTF-8) of the memory file's store and of the file's place.
namespace zelmo::ui::storetexts {

// What the memory file's store adds to a reported failure. "%1" in kKeptFile is the wipe button.
inline const QString kKeptFile = QStringLiteral(
    "\n\nИгра начинается с пустой памятью. Этот файл не будет "
    "перезаписан, пока вы не нажмёте «%1».");
inline const QString kSaveFailed = QStringLiteral(
    "\n\nИгра продолжается; память будет сохраняться после каждой партии, об ошибке больше не "
    "сообщается, пока сохранение не удастся.");
inline const QString kLostAtClose = QStringLiteral(
    "\n\nОкно закрывается: то, что компьютер выучил после последнего удачного сохранения, "
    "в файл не записано.");
inline const QString kHeld = QStringLiteral(
    "\n\nИгра идёт без этого файла: память из него не читается и в него не сохраняется.");
inline const QString kUnlocked = QStringLiteral(
    "\n\nИгра продолжается, память сохраняется, но другое окно или тренировка могут "
    "писать в этот файл одновременно с этим окном.");
inline const QString kDiverted = QStringLiteral("\n\nДальше память этого окна сохраняется туда.");
inline const QString kWipeStopped = QStringLiteral(
    "\n\nПамять компьютера не стёрта; игра и сохранение после каждой партии продолжаются.");
inline const QString kRestoreStopped = QStringLiteral(
    "\n\nПамять компьютера не восстановлена; игра и сохранение после каждой партии "
    "продолжаются.");
inline const QString kWipeStoppedKept =
    QStringLiteral("\n\nФайл памяти остаётся как был, игра продолжается.");

// A folder where the memory cannot be saved: "%1" the file, then why.
inline const QString kNotSaved =
    QStringLiteral("Память компьютера не удастся сохранить в файл «%1»: ");
inline const QString kFolderNotCreated = QStringLiteral("папка «%1» не создаётся (%2).");

}  // namespace zelmo::ui::storetexts
