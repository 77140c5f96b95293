// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/plural.h"
#include "engine/game/texts.h"

#include <string_view>

// The trainer's fixed texts (UTF-8), Russian like the window's.
namespace zelmo::train::texts {

inline constexpr std::string_view kProgram = "zelmo-train";

inline constexpr std::string_view kUsage =
    R"(Использование: zelmo-train [ПАРАМЕТРЫ]
Играет партии обучающегося компьютера («0») без окна, против выбранного игрока за «X»,
по тем же правилам, что и окно Zelmo, и показывает, как компьютер учится.

  -n, --games=N        число партий, от 0 до 2147483647 (по умолчанию 10000)
  -p, --player=ИГРОК,
      --opponent=ИГРОК кто играет за «X»: random (случайная свободная клетка),
                       perfect (никогда не проигрывает), mixed:P (perfect с
                       вероятностью P от 0 до 1, например mixed:0.25, иначе random),
                       learner (ученик: учится за «X» по тем же правилам, что и
                       компьютер, с пустой памятью на один прогон) или learner:ФАЙЛ
                       (ученик со своей памятью в ФАЙЛЕ: берётся из него, если он
                       есть, и сохраняется в него в конце); по умолчанию random
      --win=ОЦЕНКА     оценка за победу компьютера (по умолчанию 5 или из --load)
      --loss=ОЦЕНКА    оценка за поражение компьютера (по умолчанию 2 или из --load)
      --draw=ОЦЕНКА    оценка за ничью (по умолчанию 4 или из --load)
                       оценка — любое 32-битное целое; вес ответа меняется на оценку − 3
  -s, --seed=N         зерно генератора игрока, от 0 до 18446744073709551615
                       (по умолчанию 1)
      --clock=МС[:ШАГ] часы компьютера: начать с МС миллисекунд после полуночи и
                       прибавлять ШАГ (по умолчанию 1777) при каждом чтении; МС и ШАГ
                       от 0 до 86399999; без этого параметра — системное время UTC,
                       как в окне (прогон не повторяется)
      --load=ФАЙЛ      начать с памяти из файла (и её оценок, если они не заданы)
      --save=ФАЙЛ      сохранить память в файл в конце (с историей и оценками)
      --start-over     заменить файл --save, хотя в нём память, которую прогон не
                       загружал; прежний файл останется копией ФАЙЛ.bak
  -b, --block=N        число партий в строке отчёта, от 1 до 2147483647
                       (по умолчанию 1000)
      --csv=ФАЙЛ       записать строки отчёта в CSV-файл
      --trace=N        вывести первые N партий ход за ходом: почему компьютер сыграл
                       каждый свой ход (строки «партия K, ход M: клетка …») и, если
                       за «X» играет ученик, почему сыграл он («партия K, ход M (X): …»)
      --history=ФАЙЛ   вывести историю обучения памяти из файла (компьютера или
                       ученика) в формате CSV и выйти, не играя
  -h, --help           показать эту справку и выйти
      --version        показать версию и выйти

Длинные параметры можно сокращать, пока сокращение однозначно; «--» заканчивает параметры.
Файлы проверяются до первой партии. Строка отчёта: номер последней партии блока, победы
игрока, победы компьютера, ничьи и ошибки в блоке, число запомненных позиций (извилин) в
конце блока; если за «X» играет ученик, ещё и число его позиций. Ошибка (например,
«Integer overflow» при огромной оценке) сообщается, и игра продолжается, как в окне.
Ctrl+C (SIGINT), SIGTERM или SIGHUP останавливают прогон после
текущей партии: последняя строка отчёта и память (--save) записываются; следующие сигналы
(например, второй SIGHUP закрытого терминала) этому не мешают.
Пока идёт прогон, файл --save (и файл ученика) занят им: окно Zelmo не пишет в него, а
файл, занятый окном, прогон не берёт. Если файл всё же изменила другая программа, он не
перезаписывается: память сохраняется в новый файл рядом (ИМЯ.conflict-N.zelmo).
Коды выхода: 0 — успех, 1 — ошибка ввода-вывода (или память сохранена в новый файл рядом),
2 — неверные параметры, 3 — файл --save занят другой программой (прогон не начат),
4 — в файле --save память, которую прогон не загружал, без --start-over (прогон не начат),
128 + номер сигнала — прогон остановлен сигналом, и всё записано.
)";

inline constexpr std::string_view kVersionLine = "zelmo-train (Zelmo) ";
inline constexpr std::string_view kLicenceLine = "Лицензия GPL-3.0-or-later.";

inline constexpr std::string_view kTableHeader = "партии\tигрок\tкомпьютер\tничьи\tошибки\tизвилин";
inline constexpr std::string_view kCsvHeader =
    "games,player_wins,computer_wins,draws,errors,positions";
// The column added when a learner plays "X": its positions.
inline constexpr std::string_view kLearnerColumn = "\tизвилин X";
inline constexpr std::string_view kLearnerCsvColumn = ",learner_positions";
inline constexpr std::string_view kLearnerMove = " (X)";
inline constexpr std::string_view kHistoryCsvHeader =
    "games,block_games,computer_began,player_wins,computer_wins,draws,win_grade,loss_grade,"
    "draw_grade,positions";
inline constexpr std::string_view kHistoryStdout = "историю в стандартный вывод";
inline constexpr std::string_view kTotal = "итого";
inline constexpr std::string_view kGame = "партия";
inline constexpr std::string_view kMove = "ход";
inline constexpr std::string_view kPlayerWonGame = "выиграл игрок";
inline constexpr std::string_view kComputerWonGame = "выиграл компьютер";
inline constexpr std::string_view kDrawGame = "ничья";
inline constexpr std::string_view kMoreErrors = "Дальнейшие ошибки не показываются.";
inline constexpr std::string_view kErrorCount = "за прогон";
inline constexpr std::string_view kIn = "за";
inline constexpr std::string_view kPerSecond = "в секунду";
inline constexpr std::string_view kSeconds = "с";
inline constexpr std::string_view kCannotWrite = "не удалось записать";
inline constexpr std::string_view kWriteError = "ошибка записи";
inline constexpr std::string_view kCannotWriteCsv = "не удалось записать CSV-файл";
inline constexpr std::string_view kStdout =
    "в стандартный вывод (партии доиграны, вывод после ошибки пропущен)";
inline constexpr std::string_view kHeldAdvice =
    "Прогон не начат: закройте окно или сохраните прогон в другой файл (--save).";
// The learner's file held by another program.
inline constexpr std::string_view kLearnerHeldAdvice =
    "Прогон не начат: закройте окно или дайте ученику другой файл (--opponent learner:ФАЙЛ).";
// A --save file with a memory the run did not load: "%1" the file, "%2" its positions, "%3"
// its games; the advice's "%2" the backup.
inline constexpr std::string_view kTaughtMemory =
    "в файле «%1» уже есть обученная память: %2, %3 в истории. Прогон не начат, чтобы не "
    "заменить её.";
inline constexpr std::string_view kNotAMemory = "Прогон не начат, чтобы не заменить этот файл.";
inline constexpr std::string_view kTaughtAdvice =
    "Чтобы продолжить с этой памятью, добавьте --load=%1; чтобы начать заново, добавьте "
    "--start-over (прежний файл останется копией «%2»).";
inline constexpr std::string_view kUnlocked = "Прогон идёт без блокировки.";
inline constexpr std::string_view kStopped = "остановлено сигналом";
inline constexpr std::string_view kAfter = "после";

inline constexpr engine::RussianForms kGamesAfter = {"партии", "партий", "партий"};
inline constexpr engine::RussianForms kErrors = {"ошибка", "ошибки", "ошибок"};

// Command-line errors: what is wrong and what the option allows.
inline constexpr std::string_view kBadValue = "неверное значение";
inline constexpr std::string_view kOfOption = "у параметра";
inline constexpr std::string_view kGamesRange = "нужно целое число от 0 до 2147483647";
inline constexpr std::string_view kBlockRange = "нужно целое число от 1 до 2147483647";
inline constexpr std::string_view kGradeRange = "нужно целое число от -2147483648 до 2147483647";
inline constexpr std::string_view kSeedRange = "нужно целое число от 0 до 18446744073709551615";
inline constexpr std::string_view kClockRange = "нужно МС или МС:ШАГ, целые числа от 0 до 86399999";
inline constexpr std::string_view kPlayerRange = engine::texts::kPlayerNames;
inline constexpr std::string_view kFileRange = "нужно имя файла";
inline constexpr std::string_view kUnknownOption = "неизвестный параметр";
inline constexpr std::string_view kAmbiguousOption = "неоднозначный параметр";
inline constexpr std::string_view kNoValueTaken = "значение не нужно параметру";
inline constexpr std::string_view kMissingValue = "нет значения у параметра";
inline constexpr std::string_view kExtraArgument = "лишний аргумент";
inline constexpr std::string_view kLearnerOwnFile =
    "у ученика за «X» (--opponent learner:ФАЙЛ) своя память: его файл не может быть файлом "
    "--load или --save компьютера";
inline constexpr std::string_view kHelpHint = "Подробнее: zelmo-train --help";

}  // namespace zelmo::train::texts
