// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/plural.h"
#include "engine/game/texts.h"

#include <cerrno>
#include <string>
#include <string_view>

// The fixed texts (UTF-8) of the memory file and of the safe replacement of files: why a file
// was not read or not written. "%1".."%3" stand for the values filled in.
namespace zelmo::engine::fileTexts {

// The backup made before a wipe that could not be kept: "…в файл «B»: REASON …".
inline constexpr const char* kBackupNotKept =
    "Не удалось сохранить копию памяти компьютера в файл «";
inline constexpr const char* kBackupCause = "»: ";
inline constexpr const char* kBackupEnd =
    " Файл памяти не перезаписан, чтобы прежняя память не пропала.";

inline constexpr std::string_view kFileNotRead =
    "Не удалось прочитать память компьютера из файла «";
inline constexpr std::string_view kLearnerNotRead =
    "Не удалось прочитать память ученика за «X» из файла «";
inline constexpr std::string_view kFileNotSaved = "Не удалось сохранить память компьютера в файл «";
inline constexpr std::string_view kFileSavedNotFlushed = "Память компьютера сохранена в файл «";
inline constexpr std::string_view kFileMissing = "Файла памяти «";
inline constexpr std::string_view kFileMissingEnd = "» нет";
inline constexpr std::string_view kQuoteEnd = "»: ";

// Reading the format.
inline constexpr std::string_view kEmpty = "файл пуст.";
inline constexpr std::string_view kTruncatedHeader = "файл обрезан, в нём нет даже заголовка.";
inline constexpr std::string_view kTruncated = "файл обрезан: в нём %1, а нужно %2.";
inline constexpr std::string_view kHeaderCrc =
    "файл повреждён: контрольная сумма заголовка не сходится.";
inline constexpr std::string_view kBodyCrc =
    "файл повреждён: контрольная сумма данных не сходится.";
inline constexpr std::string_view kBadHeader = "файл повреждён: неверный заголовок.";
inline constexpr std::string_view kExtraBytes = "файл повреждён: после данных ещё %1.";
inline constexpr std::string_view kForeign = "это не файл памяти Zelmo.";
inline constexpr std::string_view kNewer =
    "файл записан более новой версией Zelmo (формат %1, эта версия читает формат %2).";
inline constexpr std::string_view kBadCount =
    "число позиций в файле — %1, а может быть от 0 до %2.";
inline constexpr std::string_view kBadCell = "позиция %1: в клетке %2 недопустимый знак.";
inline constexpr std::string_view kNoFreeCell = "позиция %1: в ней нет свободной клетки.";
inline constexpr std::string_view kBadBalance =
    "позиция %1: в ней %2 и %3, а компьютер ходит, только когда крестиков столько же, сколько "
    "ноликов, или на один больше.";
inline constexpr std::string_view kBadBalanceCross =
    "позиция %1: в ней %2 и %3, а ученик за «X» ходит, только когда ноликов столько же, сколько "
    "крестиков, или на один больше.";
inline constexpr std::string_view kCrossMemory =
    "это память ученика, который играет за «X» (zelmo-train --opponent learner:ФАЙЛ); компьютер "
    "играет за «0», и с этой памятью играть не может.";
inline constexpr std::string_view kNoughtMemory =
    "это память компьютера, который играет за «0»; ученику за «X» нужен свой файл памяти "
    "(новый создаётся сам).";
inline constexpr std::string_view kFinished =
    "позиция %1: в ней уже три в ряд, после такого хода игра окончена.";
inline constexpr std::string_view kDuplicate =
    "позиция %1 повторяет позицию %2 (с учётом поворотов доски).";
inline constexpr std::string_view kNoFirstAnswer = "позиция %1: нет ни одного ответа.";
inline constexpr std::string_view kBadAnswer = "позиция %1, ответ %2: такой клетки нет.";
inline constexpr std::string_view kTakenAnswer = "позиция %1, ответ %2: клетка уже занята.";
inline constexpr std::string_view kRepeatedAnswer = "позиция %1, ответ %2: эта клетка уже есть.";
inline constexpr std::string_view kGap = "позиция %1, ответ %2: ответы идут с пропуском.";
inline constexpr std::string_view kBadUsed = "позиция %1, ответ %2: неверная отметка хода.";
inline constexpr std::string_view kDirtyFree = "позиция %1, ответ %2: свободное место не пусто.";

// Reading the history of the learning and the plays of the positions (format 2).
inline constexpr std::string_view kTruncatedAtLeast =
    "файл обрезан: в нём %1, а нужно не меньше %2.";
inline constexpr std::string_view kNothingBeyondFirst =
    "файл повреждён: в файле формата 2 нет ни числа ответов в позициях, ни истории обучения.";
inline constexpr std::string_view kHistoryNumber =
    "файл повреждён: история обучения, блок %1: неверная запись числа.";
inline constexpr std::string_view kHistoryCut =
    "файл повреждён: история обучения обрывается в блоке %1.";
inline constexpr std::string_view kHistoryExtra =
    "файл повреждён: после истории обучения лишние байты.";
inline constexpr std::string_view kHistoryEmptyBlock =
    "история обучения, блок %1: в нём нет ни одной партии.";
inline constexpr std::string_view kHistoryBegan =
    "история обучения, блок %1: компьютер начал больше партий, чем в блоке сыграно.";
inline constexpr std::string_view kHistoryGrade =
    "история обучения, блок %1: оценка не умещается в 32-битное целое.";
inline constexpr std::string_view kHistoryPositions =
    "история обучения, блок %1: позиций больше %2.";
inline constexpr std::string_view kHistoryGames = "история обучения: в ней больше %1 партий.";

inline constexpr RussianForms kBytes = {"байт", "байта", "байт"};
inline constexpr RussianForms kExtraBytesForms = {"лишний байт", "лишних байта", "лишних байт"};
inline constexpr RussianForms kCrosses = {"крестик", "крестика", "крестиков"};
inline constexpr RussianForms kNoughts = {"нолик", "нолика", "ноликов"};

// Reading and replacing files.
inline constexpr std::string_view kReadError = "ошибка чтения (%1).";
inline constexpr std::string_view kNotRegular =
    "это не обычный файл (заменяется только обычный файл или создаётся новый).";
inline constexpr std::string_view kNotRegularRead =
    "это не обычный файл (память читается только из обычного файла).";
inline constexpr std::string_view kTooLarge = "файл больше %1 байт.";
inline constexpr std::string_view kNotWritable = "нет права записи в этот файл (%1).";
inline constexpr std::string_view kLinkError = "не удаётся пройти по символьной ссылке (%1).";
inline constexpr std::string_view kCreateTemp = "не создаётся временный файл (%1).";
inline constexpr std::string_view kWriteError = "ошибка записи (%1).";
inline constexpr std::string_view kSyncError = "ошибка сброса на диск (%1).";
inline constexpr std::string_view kCloseError = "ошибка закрытия (%1).";
inline constexpr std::string_view kRenameError = "файл не заменяется новым (%1).";
inline constexpr std::string_view kDirSyncError =
    "файл заменён, но каталог не сброшен на диск (%1); при сбое питания замена может пропасть.";
inline constexpr std::string_view kOwnerError =
    "у нового файла не сохраняются владелец и группа прежнего (%1), поэтому он не заменён.";
// "%1" the attribute's name, "%2" the system's reason.
inline constexpr std::string_view kAttributeError =
    "у нового файла не сохраняется расширенный атрибут прежнего «%1» (права доступа ACL и "
    "другие: %2), поэтому он не заменён.";
inline constexpr std::string_view kModeError =
    "у нового файла не сохраняются права доступа прежнего (%1), поэтому он не заменён.";
inline constexpr std::string_view kHardLinks =
    "у файла несколько жёстких ссылок (%1): замена разделила бы их, и под другими именами "
    "осталась бы старая память. Скопируйте файл (cp), чтобы у копии было одно имя, и укажите "
    "копию.";
inline constexpr std::string_view kNotOurName =
    "на этом месте не обычный файл (символьная ссылка, папка, канал или устройство); он не "
    "тронут.";
inline constexpr std::string_view kNoFreeName = "не найдено свободное имя рядом с файлом (%1).";

// A file changed by another program since this one last read or wrote it.
inline constexpr std::string_view kChangedUnder =
    "Файл памяти «%1» изменила другая программа после того, как эта его прочитала или "
    "сохранила. Чтобы ничья память не пропала, он не перезаписан: память сохранена в новый "
    "файл «%2».";
inline constexpr std::string_view kChangedUnderNotSaved =
    "Файл памяти «%1» изменила другая программа после того, как эта его прочитала или "
    "сохранила, поэтому он не перезаписан; сохранить память в новый файл рядом тоже не "
    "удалось: %2";
// The name of that new file: FILE without ".zelmo", then this, a number and ".zelmo".
inline constexpr std::string_view kConflictInfix = ".conflict-";
inline constexpr std::string_view kMemoryExtension = ".zelmo";

// The lock of a memory file: who writes to it.
inline constexpr std::string_view kHeld = "Файл памяти «%1» занят: в него пишет %2.";
inline constexpr std::string_view kHolderWindow = "окно Zelmo";
inline constexpr std::string_view kHolderTrainer = "тренировка zelmo-train";
inline constexpr std::string_view kHolderOther = "другая программа";
inline constexpr std::string_view kHolderProcess = " (процесс %1)";
inline constexpr std::string_view kLockFailed =
    "Не удалось занять файл памяти «%1» (файл блокировки «%2»): %3";
inline constexpr std::string_view kLockNotRegular =
    "на месте файла блокировки не обычный файл (символьная ссылка, папка, канал или "
    "устройство); он не тронут.";
inline constexpr std::string_view kLockLinked =
    "на месте файла блокировки файл с другими именами (жёсткими ссылками), может быть, чужой; "
    "он не тронут. Удалите это имя, если файл блокировки там не нужен.";
inline constexpr std::string_view kLockForeign =
    "файл блокировки принадлежит другому пользователю; он не тронут.";
// "%1" the system's reason.
inline constexpr std::string_view kLockUnsupported =
    "файловая система этого файла не поддерживает блокировки (%1), поэтому нельзя помешать "
    "другому окну или тренировке писать в него одновременно.";

// System errors by name; others by number (kOtherSystemError).
struct SystemErrorText {
    int error;
    std::string_view text;
};
inline constexpr SystemErrorText kSystemErrors[] = {
    {ENOENT, "нет такого файла или папки"},
    {EACCES, "доступ запрещён"},
    {EPERM, "операция не позволена"},
    {EROFS, "файловая система только для чтения"},
    {ENOSPC, "на диске нет места"},
    {EDQUOT, "превышена дисковая квота"},
    {EISDIR, "это папка"},
    {ENOTDIR, "часть пути — не папка"},
    {ELOOP, "символьная ссылка там, где её не ждут, или слишком много ссылок подряд"},
    {EEXIST, "такое имя уже есть"},
    {EIO, "ошибка ввода-вывода"},
    {EBUSY, "устройство или ресурс занят"},
    {ENAMETOOLONG, "слишком длинное имя"},
    {EXDEV, "файлы на разных файловых системах"},
    {EFBIG, "файл слишком велик"},
    {EMFILE, "открыто слишком много файлов"},
    {ENFILE, "в системе открыто слишком много файлов"},
    {ENOMEM, "не хватает памяти"},
    {EINVAL, "недопустимый аргумент"},
    {EINTR, "вызов прерван сигналом"},
    {EAGAIN, "ресурс временно недоступен"},
    {ENXIO, "нет такого устройства или адреса"},
    {ENODEV, "нет такого устройства"},
    {ETXTBSY, "файл занят"},
    {EMLINK, "слишком много ссылок"},
    {EPIPE, "канал закрыт с другой стороны"},
    {ESTALE, "устаревший дескриптор сетевого файла"},
    {ENOLCK, "блокировки недоступны"},
    {EOPNOTSUPP, "операция не поддерживается"},
    {EOVERFLOW, "значение слишком велико"},
    {ENOTEMPTY, "папка не пуста"},
};
inline constexpr std::string_view kOtherSystemError = "системная ошибка %1";

// "%1", "%2", "%3" in a pattern replaced by the arguments: the engine's own.
using texts::format;

}  // namespace zelmo::engine::fileTexts
