// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The texts of opening a memory file, saving a copy and restoring the backup (UTF-8).
namespace zelmo::ui::memoryfilestexts {

inline const QString kOpenCaption = QStringLiteral("Открыть память компьютера");
inline const QString kSaveCaption = QStringLiteral("Сохранить копию памяти компьютера");
// The file dialogs' filter: memory files first, then any file.
inline const QString kFilter = QStringLiteral("Память Зельмо (*.zelmo);;Все файлы (*)");
inline const QString kSuffix = QStringLiteral("zelmo");

// A file that cannot be opened: the cause (naming the file) comes first.
inline const QString kNotOpened = QStringLiteral("\n\nОкно продолжает с прежней памятью.");
// Opening a file in a window whose memory is kept in no file. "%1" the positions with their
// noun ("235 позиций"), "%2" the file.
inline const QString kUnsavedQuestion = QStringLiteral(
    "Память этого окна не хранится в файле: выученное (%1) пропадёт, его заменит память из "
    "файла «%2».\n\n"
    "Чтобы его сохранить, сначала сохраните копию (Ctrl+Shift+S).\n\n"
    "Открыть файл?");
inline const QString kOpenConfirm = QStringLiteral("Открыть");
// "%1" and "%3" the positions with their noun ("235 позиций"), "%2" the backup.
inline const QString kRestoreQuestion = QStringLiteral(
    "Вернуть память, какой она была перед последней промывкой мозгов: %1 из копии «%2»?\n\n"
    "Нынешняя память (%3) останется копией «%2», так что повторное восстановление вернёт её.");
inline const QString kRestoreConfirm = QStringLiteral("Восстановить");
// A window without a file: "%1" and "%2" the positions with their noun.
inline const QString kRestoreKeptQuestion = QStringLiteral(
    "Вернуть память, какой она была перед последней промывкой мозгов: %1?\n\n"
    "Нынешняя память (%2) останется у этого окна, так что повторное восстановление вернёт её.");
inline const QString kNothingWiped =
    QStringLiteral("Восстанавливать нечего: мозги этого окна ещё не промывали.");
inline const QString kNoBackup =
    QStringLiteral("Восстанавливать нечего: копии «%1» нет, мозги этой памяти ещё не промывали.");
inline const QString kBackupUnreadable = QStringLiteral("\n\nПамять компьютера не восстановлена.");
inline const QString kCopyNotSaved = QStringLiteral("\n\nКопия не сохранена.");
// The memory view's line naming the file in use; "%1" its name.
inline const QString kFileLine = QStringLiteral("Файл памяти: %1");

}  // namespace zelmo::ui::memoryfilestexts
