// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// The trainer's fixed texts (UTF-8), Russian like the window's.
namespace zelmo::train::texts {

inline constexpr std::string_view kProgram = "zelmo-train";

inline constexpr std::string_view kUsage =
    R"(Использование: zelmo-train [ПАРАМЕТРЫ]
Играет партии обучающегося компьютера («0») без окна, против выбранного игрока за «X»,
по тем же правилам, что и окно Zelmo, и показывает, как компьютер учится.

  -n, --games=N        число партий (по умолчанию 10000)
  -p, --player=ИГРОК   кто играет за «X»: random (случайная свободная клетка),
                       perfect (никогда не проигрывает) или mixed:P (perfect с
                       вероятностью P от 0 до 1, иначе random); по умолчанию random
      --win=ОЦЕНКА     оценка за победу компьютера (по умолчанию 5)
      --loss=ОЦЕНКА    оценка за поражение компьютера (по умолчанию 2)
      --draw=ОЦЕНКА    оценка за ничью (по умолчанию 4)
                       оценка — любое 32-битное целое; вес ответа меняется на оценку − 3
  -s, --seed=N         зерно генератора игрока (по умолчанию 1)
      --clock=МС[:ШАГ] часы компьютера: начать с МС миллисекунд после полуночи и
                       прибавлять ШАГ (по умолчанию 1777) при каждом чтении; без этого
                       параметра — системное время UTC, как в окне (прогон не повторяется)
      --load=ФАЙЛ      начать с памяти из файла
      --save=ФАЙЛ      сохранить память в файл в конце
  -b, --block=N        число партий в строке отчёта (по умолчанию 1000)
      --csv=ФАЙЛ       записать строки отчёта в CSV-файл
  -h, --help           показать эту справку и выйти

Строка отчёта: номер последней партии блока, победы игрока, победы компьютера, ничьи и
ошибки в блоке, число запомненных позиций (извилин) в конце блока. Ошибка (например,
«Integer overflow» при огромной оценке) сообщается, и игра продолжается, как в окне.
Коды выхода: 0 — успех, 1 — ошибка ввода-вывода, 2 — неверные параметры.
)";

inline constexpr std::string_view kTableHeader = "партии\tигрок\tкомпьютер\tничьи\tошибки\tизвилин";
inline constexpr std::string_view kCsvHeader =
    "games,player_wins,computer_wins,draws,errors,positions";
inline constexpr std::string_view kTotal = "итого";
inline constexpr std::string_view kGame = "партия";
inline constexpr std::string_view kMoreErrors = "дальнейшие ошибки не показываются";
inline constexpr std::string_view kErrorCount = "ошибок за прогон";
inline constexpr std::string_view kGamesIn = "партий за";
inline constexpr std::string_view kSpeed = "партий в секунду";
inline constexpr std::string_view kSeconds = "с";
inline constexpr std::string_view kCannotWrite = "не удалось записать";
inline constexpr std::string_view kBadPlayer = "неизвестный игрок";
inline constexpr std::string_view kBadNumber = "неверное число для";
inline constexpr std::string_view kUnknownOption = "неизвестный параметр";
inline constexpr std::string_view kMissingValue = "нет значения у параметра";
inline constexpr std::string_view kExtraArgument = "лишний аргумент";
inline constexpr std::string_view kHelpHint = "Подробнее: zelmo-train --help";

}  // namespace zelmo::train::texts
