// SPDX-License-Identifier: GPL-3.0-or-later
#include "train/trainer.h"
#include "engine/store/memoryfile.h"
#include "engine/store/memorylock.h"
#include "engine/store/systemerrors.h"
#include "tests/common/faultysteps.h"
#include "tests/engine/tempdir.h"
#include "train/options.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace zelmo::train {
namespace {

using Kind = ParsedArguments::Kind;

TEST(ParseArgumentsTest, OptionsHelpAndUsageErrors) {
    const std::string games = "у параметра --games (-n): нужно целое число от 0 до 2147483647";
    const std::string player =
        "у параметра --player (-p): нужно random, perfect, mixed:P, где P — десятичное число "
        "от 0 до 1, learner или learner:ФАЙЛ";
    const struct {
        std::vector<std::string> arguments;
        Kind kind;
        std::string error;
    } cases[] = {
        {{}, Kind::Run, ""},
        {{"-n", "5", "--player=perfect", "--win", "-2147483648", "--loss=2147483647"},
         Kind::Run,
         ""},
        {{"--clock=86399999:0", "-s", "18446744073709551615", "-b7", "--csv", "a.csv"},
         Kind::Run,
         ""},
        {{"-n100", "--gam=0", "--pl", "mixed:0.25", "--"}, Kind::Run, ""},
        {{"-p", "mixed:1", "--bl=1", "-n", "2147483647"}, Kind::Run, ""},
        {{"--games", "7", "-h"}, Kind::Help, ""},
        {{"--vers"}, Kind::Version, ""},
        {{"--help=1"}, Kind::Error, "значение не нужно параметру --help (-h)"},
        {{"--gmaes=5"}, Kind::Error, "неизвестный параметр «--gmaes=5»"},
        {{"--s=5"}, Kind::Error, "неоднозначный параметр «--s=5»: --seed, --save, --start-over"},
        {{"-x"}, Kind::Error, "неизвестный параметр «-x»"},
        {{"--games=5", "-xn"}, Kind::Error, "неизвестный параметр «-x»"},
        {{"games"}, Kind::Error, "лишний аргумент «games»"},
        {{"-n1", "--", "-n2"}, Kind::Error, "лишний аргумент «-n2»"},
        {{"--games"}, Kind::Error, "нет значения у параметра --games (-n)"},
        {{"-n", "-1"}, Kind::Error, "неверное значение «-1» " + games},
        {{"-n", "-0"}, Kind::Error, "неверное значение «-0» " + games},
        {{"-n", "2147483648"}, Kind::Error, "неверное значение «2147483648» " + games},
        {{"-n", "12x"}, Kind::Error, "неверное значение «12x» " + games},
        {{"-n", "\t5"}, Kind::Error, "неверное значение «\t5» " + games},
        {{"-n", " 5"}, Kind::Error, "неверное значение « 5» " + games},
        {{"-n+5"}, Kind::Error, "неверное значение «+5» " + games},
        {{"-b", "0"},
         Kind::Error,
         "неверное значение «0» у параметра --block (-b): нужно целое число от 1 до 2147483647"},
        {{"--win=2147483648"},
         Kind::Error,
         "неверное значение «2147483648» у параметра --win: нужно целое число от -2147483648 до "
         "2147483647"},
        {{"--draw="},
         Kind::Error,
         "неверное значение «» у параметра --draw: нужно целое число от -2147483648 до "
         "2147483647"},
        {{"-s", "-1"},
         Kind::Error,
         "неверное значение «-1» у параметра --seed (-s): нужно целое число от 0 до "
         "18446744073709551615"},
        {{"--clock=86400000"},
         Kind::Error,
         "неверное значение «86400000» у параметра --clock: нужно МС или МС:ШАГ, целые числа от 0 "
         "до 86399999"},
        {{"--clock=5:"},
         Kind::Error,
         "неверное значение «5:» у параметра --clock: нужно МС или МС:ШАГ, целые числа от 0 до "
         "86399999"},
        {{"--save="}, Kind::Error, "неверное значение «» у параметра --save: нужно имя файла"},
        {{"--hist", "a.zelmo"}, Kind::Run, ""},
        {{"--h"}, Kind::Error, "неоднозначный параметр «--h»: --help, --history"},
        {{"--history="},
         Kind::Error,
         "неверное значение «» у параметра --history: нужно имя файла"},
        {{"-p", "mixed:2"}, Kind::Error, "неверное значение «mixed:2» " + player},
        {{"-p", "mixed:1.5"}, Kind::Error, "неверное значение «mixed:1.5» " + player},
        {{"-p", "mixed:1.000000000000000000001"},
         Kind::Error,
         "неверное значение «mixed:1.000000000000000000001» " + player},
        {{"-p", "mixed:01.000"}, Kind::Run, ""},
        {{"-p", "mixed: 0.5"}, Kind::Error, "неверное значение «mixed: 0.5» " + player},
        {{"-p", "mixed:0x1p-1"}, Kind::Error, "неверное значение «mixed:0x1p-1» " + player},
        {{"-p", "mixed:5e-1"}, Kind::Error, "неверное значение «mixed:5e-1» " + player},
        {{"-p", "mixed:-0"}, Kind::Error, "неверное значение «mixed:-0» " + player},
        {{"-p", "Perfect"}, Kind::Error, "неверное значение «Perfect» " + player},
        // The window's name of the option.
        {{"--opponent=perfect"}, Kind::Run, ""},
        {{"--opp", "mixed:0.5"}, Kind::Run, ""},
        {{"--opponent", "nobody"}, Kind::Error, "неверное значение «nobody» " + player},
    };
    for (const auto& c : cases) {
        const ParsedArguments parsed = parseArguments(c.arguments);
        EXPECT_EQ(parsed.kind, c.kind) << c.error;
        EXPECT_EQ(parsed.error, c.error);
    }
    const TrainOptions o = parseArguments(cases[1].arguments).options;
    EXPECT_EQ(o.games, 5);
    EXPECT_EQ(o.player, "perfect");
    EXPECT_EQ(o.grades.win, INT32_MIN);
    EXPECT_EQ(o.grades.loss, INT32_MAX);
    EXPECT_EQ(o.grades.draw, 4);
    EXPECT_FALSE(o.clockStart.has_value());
    const TrainOptions p = parseArguments(cases[2].arguments).options;
    EXPECT_EQ(p.clockStart, 86399999u);
    EXPECT_EQ(p.clockStep, 0u);
    EXPECT_EQ(p.seed, UINT64_MAX);
    EXPECT_EQ(p.block, 7);
    EXPECT_EQ(p.csvPath, "a.csv");
    EXPECT_EQ(parseArguments({"--opp", "mixed:0.5"}).options.player, "mixed:0.5");
    const TrainOptions q = parseArguments(cases[3].arguments).options;
    EXPECT_EQ(q.games, 0);
    EXPECT_EQ(q.player, "mixed:0.25");
    EXPECT_EQ(parseArguments({"--hist", "a.zelmo"}).options.historyPath, "a.zelmo");
}

struct RunResult {
    int code;
    std::string out, err;
};

RunResult run(const TrainOptions& options) {
    std::ostringstream out, err;
    const int code = runTraining(options, out, err, false);
    return {code, out.str(), err.str()};
}

using engine::test::readText;

// Each test writes its files into a folder of its own.
class RunTrainingTest : public ::testing::Test {
  protected:
    engine::test::TempDir folder;
    const std::string dir = folder.path();
};

TEST_F(RunTrainingTest, BlocksAreReproducibleAndAddUp) {
    TrainOptions options;
    options.games = 2500;
    options.block = 1000;
    options.clockStart = 4242;
    options.csvPath = dir + "/a.csv";
    const RunResult first = run(options);
    ASSERT_EQ(first.code, kExitOk) << first.err;
    EXPECT_EQ(first.err, "");
    const std::string csv = readText(options.csvPath);
    EXPECT_EQ(run(options).out, first.out);  // the same seeds, the same games
    EXPECT_EQ(readText(options.csvPath), csv);

    // Three blocks (the last one short) whose counts add up to the games and the total line.
    std::istringstream lines(csv);
    std::string header, line;
    std::getline(lines, header);
    EXPECT_EQ(header, "games,player_wins,computer_wins,draws,errors,positions");
    long games[3] = {}, sums[3] = {}, blocks = 0, positions = 0;
    while (std::getline(lines, line)) {
        long played = 0, errors = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%ld,%ld,%ld,%ld,%ld,%ld", &played, &games[0],
                              &games[1], &games[2], &errors, &positions),
                  6)
            << line;
        EXPECT_EQ(played, ++blocks == 3 ? 2500 : blocks * 1000);
        EXPECT_EQ(games[0] + games[1] + games[2], blocks == 3 ? 500 : 1000);
        EXPECT_EQ(errors, 0);
        for (int i = 0; i < 3; ++i) {
            sums[i] += games[i];
        }
    }
    EXPECT_EQ(blocks, 3);
    std::ostringstream total;
    total << "итого\t" << sums[0] << '\t' << sums[1] << '\t' << sums[2] << "\t0\t" << positions
          << '\n';
    EXPECT_NE(first.out.find(total.str()), std::string::npos) << first.out;

    options.seed = 2;  // another player seed, other games
    EXPECT_NE(run(options).out, first.out);
}

TEST_F(RunTrainingTest, OverflowIsReportedAndPlayGoesOn) {
    TrainOptions options;
    options.games = 30;
    options.block = 30;
    options.clockStart = 0;
    options.grades = {INT32_MAX, INT32_MAX, INT32_MAX};
    const RunResult r = run(options);
    EXPECT_EQ(r.code, kExitOk);
    // Game 1 raises its answers to INT32_MAX - 3 + ...; the first later game that plays one of
    // them again overflows. Each error is reported as the window's message box would show it.
    EXPECT_EQ(r.err.rfind("zelmo-train: партия ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(": Integer overflow.\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Дальнейшие ошибки не показываются."), std::string::npos);
    EXPECT_NE(r.err.find(" ошибок\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("zelmo-train: за прогон "), std::string::npos) << r.err;
    // Every game was still played to its end.
    long games = 0, sums[3] = {}, errors = 0, positions = 0;
    ASSERT_EQ(std::sscanf(r.out.c_str() + r.out.find('\n') + 1, "%ld\t%ld\t%ld\t%ld\t%ld\t%ld",
                          &games, &sums[0], &sums[1], &sums[2], &errors, &positions),
              6);
    EXPECT_EQ(sums[0] + sums[1] + sums[2], 30);
    EXPECT_GT(errors, 10);
}

TEST_F(RunTrainingTest, MemoryFilesAndIoFailures) {
    TrainOptions options;
    options.games = 300;
    options.clockStart = 7;
    options.savePath = dir + "/memory";
    const RunResult saved = run(options);
    ASSERT_EQ(saved.code, kExitOk) << saved.err;
    const std::string savedCount = saved.out.substr(saved.out.rfind('\t') + 1);

    // Loaded and saved again after one more game: the memory went on from the saved one.
    options.games = 1;
    options.loadPath = dir + "/memory";
    options.savePath = dir + "/memory2";
    const RunResult resumed = run(options);
    ASSERT_EQ(resumed.code, kExitOk) << resumed.err;
    EXPECT_GE(std::stol(resumed.out.substr(resumed.out.rfind('\t') + 1)), std::stol(savedCount));

    options.loadPath = dir + "/missing";
    options.savePath.clear();
    EXPECT_EQ(run(options).code, kExitIoError);
    options.loadPath.clear();
    options.csvPath = dir + "/no/such/dir.csv";
    const RunResult noCsv = run(options);
    EXPECT_EQ(noCsv.code, kExitIoError);
    EXPECT_NE(noCsv.err.find("не удалось записать CSV-файл «" + options.csvPath + "» ("),
              std::string::npos)
        << noCsv.err;
    options.csvPath.clear();
    // A save that cannot succeed is found before the first game: nothing is played.
    options.games = 2000000000;
    options.savePath = dir + "/no/such/memory";
    const RunResult noSave = run(options);
    EXPECT_EQ(noSave.code, kExitIoError);
    EXPECT_EQ(noSave.out, "");
    EXPECT_EQ(noSave.err, "zelmo-train: Не удалось сохранить память компьютера в файл «" +
                              options.savePath +
                              "»: не создаётся временный файл (нет такого файла или папки).\n");
}

// A run never replaces a memory it did not load by accident: it refuses before the first game
// (exit code 4), naming the file, what it holds and the two ways on; --start-over replaces it
// and keeps it as FILE.bak; an empty memory or a missing file is simply written. A loaded file's
// grades stand where none are given, and the run records its own with the memory.
TEST_F(RunTrainingTest, ATaughtMemoryIsNotReplacedAndItsGradesAreKept) {
    TrainOptions options;
    options.games = 300;
    options.clockStart = 5;
    options.savePath = dir + "/memory.zelmo";
    options.give(engine::Grade::Loss, 3);
    ASSERT_EQ(run(options).code, kExitOk);
    const std::string taught = readText(options.savePath);

    TrainOptions again;
    again.games = 10;
    again.savePath = options.savePath;
    const RunResult refused = run(again);
    EXPECT_EQ(refused.code, kExitTaught);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("«" + options.savePath + "» уже есть обученная память: "),
              std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find(" 300 партий в истории"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--load=" + options.savePath), std::string::npos);
    EXPECT_NE(refused.err.find("--start-over"), std::string::npos);
    EXPECT_EQ(readText(options.savePath), taught);
    EXPECT_FALSE(std::ifstream(options.savePath + ".bak").good());

    // Not a memory at all is refused the same way (a mistyped --save).
    const std::string notes = dir + "/notes.txt";
    std::ofstream(notes) << "precious";
    again.savePath = notes;
    EXPECT_EQ(run(again).code, kExitTaught);
    EXPECT_EQ(readText(notes), "precious");

    // Going on from it takes its grades (loss 3) unless given, and keeps them in the file.
    again.savePath = options.savePath;
    again.loadPath = options.savePath;
    ASSERT_EQ(run(again).code, kExitOk);
    auto document = std::make_unique<engine::MemoryDocument>();
    ASSERT_EQ(engine::loadMemoryFile(options.savePath, *document).status,
              engine::MemoryFileStatus::Ok);
    EXPECT_EQ(document->grades, (engine::Grades{5, 3, 4}));
    EXPECT_EQ(document->history.games(), 310u);
    EXPECT_EQ(document->history.blocks().back().grades, (engine::HistoryGrades{5, 3, 4}));

    // Starting over keeps the old file as the backup.
    const std::string before = readText(options.savePath);
    again.loadPath.clear();
    again.startOver = true;
    ASSERT_EQ(run(again).code, kExitOk);
    EXPECT_EQ(readText(options.savePath + ".bak"), before);
    ASSERT_EQ(engine::loadMemoryFile(options.savePath, *document).status,
              engine::MemoryFileStatus::Ok);
    EXPECT_EQ(document->history.games(), 10u);
    EXPECT_EQ(parseArguments({"--start-over"}).options.startOver, true);
}

// A history one game short of the largest count the format allows takes that game and then
// stays as it is; the run goes on and is saved (the trainer aborted here, the window did not).
TEST_F(RunTrainingTest, AHistoryAtItsLargestCountStaysAsItIs) {
    const std::string path = dir + "/full.zelmo";
    auto document = std::make_unique<engine::MemoryDocument>();
    document->history.assign(
        {engine::HistoryBlock{engine::LearningHistory::kMaxGames - 1, 0, 0, 0, {5, 2, 4}, 0}});
    ASSERT_EQ(engine::saveMemoryFile(path, engine::encodeMemory(*document)), "");
    TrainOptions options;
    options.games = 5;
    options.clockStart = 1;
    options.loadPath = options.savePath = path;
    const RunResult result = run(options);
    EXPECT_EQ(result.code, kExitOk) << result.err;
    ASSERT_EQ(engine::loadMemoryFile(path, *document).status, engine::MemoryFileStatus::Ok);
    EXPECT_EQ(document->history.games(), engine::LearningHistory::kMaxGames);
    EXPECT_GT(document->positions.entryCount, 0);
}

// --trace=N prints the first N games move by move, each move of the computer with its reason,
// in a form a script can read, before the report goes on as always.
TEST_F(RunTrainingTest, TheFirstGamesAreTracedMoveByMove) {
    TrainOptions options;
    options.games = 5;
    options.block = 5;
    options.clockStart = 0;
    options.trace = 3;
    const RunResult traced = run(options);
    ASSERT_EQ(traced.code, kExitOk) << traced.err;
    const std::regex move("^партия ([1-3]), ход [1-9]: клетка [1-9]: позиция (новая|найдена).*");
    const std::regex end("^партия ([1-3]): (выиграл игрок|выиграл компьютер|ничья)$");
    std::istringstream lines(traced.out);
    std::string line;
    int moves = 0;
    int ends = 0;
    std::string report;
    while (std::getline(lines, line)) {
        if (std::regex_match(line, move)) {
            ++moves;
        } else if (std::regex_match(line, end)) {
            ++ends;
        } else {
            report += line + "\n";
        }
    }
    EXPECT_EQ(ends, 3);
    EXPECT_GE(moves, 3 * 3);
    EXPECT_NE(traced.out.find("партия 1, ход 2: клетка "), std::string::npos) << traced.out;
    // Without it the report is the same, line for line.
    options.trace = 0;
    EXPECT_EQ(run(options).out, report);
    EXPECT_EQ(parseArguments({"--trace=7"}).options.trace, 7);
}

// A learner for "X" plays as any player: seeded, the same run move for move; with a file it
// starts from it, keeps its positions, history and side there, and the report, the CSV and the
// trace name it. Its memory is not the computer's.
TEST_F(RunTrainingTest, ALearnerForXLearnsInItsOwnFile) {
    TrainOptions options;
    options.games = 300;
    options.block = 100;
    options.clockStart = 5;
    options.trace = 1;
    options.player = "learner";
    const RunResult alone = run(options);
    ASSERT_EQ(alone.code, kExitOk) << alone.err;
    EXPECT_EQ(run(options).out, alone.out);
    EXPECT_EQ(alone.out.rfind("партии\tигрок\tкомпьютер\tничьи\tошибки\tизвилин\tизвилин X\n", 0),
              0u)
        << alone.out;
    EXPECT_NE(alone.out.find("партия 1, ход 1 (X): клетка "), std::string::npos) << alone.out;
    EXPECT_NE(alone.out.find("партия 1, ход 2: клетка "), std::string::npos) << alone.out;

    const std::string file = dir + "/x.zelmo";
    options.player = "learner:" + file;
    options.csvPath = dir + "/x.csv";
    const RunResult first = run(options);
    ASSERT_EQ(first.code, kExitOk) << first.err;
    EXPECT_EQ(first.out, alone.out) << "a missing file is a new memory";
    EXPECT_EQ(readText(options.csvPath).substr(0, readText(options.csvPath).find('\n')),
              "games,player_wins,computer_wins,draws,errors,positions,learner_positions");
    TrainOptions print;
    print.historyPath = file;
    const RunResult history = run(print);
    ASSERT_EQ(history.code, kExitOk) << history.err;
    EXPECT_NE(history.out.find("\n300,100,"), std::string::npos) << history.out;

    // The last column of the first block line after the header, and of the total line.
    const auto learnerPositions = [](const std::string& out, bool total) {
        const std::size_t line = total ? out.rfind('\n', out.size() - 2) : out.find('\n');
        const std::size_t end = out.find('\n', line + 1);
        return std::stol(out.substr(out.rfind('\t', end) + 1, end));
    };
    options.trace = 0;
    const RunResult second = run(options);
    ASSERT_EQ(second.code, kExitOk) << second.err;
    EXPECT_GE(learnerPositions(second.out, false), learnerPositions(first.out, true))
        << "it goes on with the positions it had:\n"
        << second.out;
    TrainOptions fresh = options;
    fresh.player = "learner";
    fresh.csvPath.clear();
    EXPECT_NE(second.out, run(fresh).out) << "not the games of a new learner";
    EXPECT_NE(run(print).out.find("\n600,100,"), std::string::npos);

    TrainOptions computer;
    computer.games = 1;
    computer.loadPath = file;
    const RunResult refused = run(computer);
    EXPECT_EQ(refused.code, kExitIoError);
    EXPECT_NE(refused.err.find("«X»"), std::string::npos) << refused.err;
    EXPECT_EQ(parseArguments({"--opponent=learner:" + file, "--save", file}).kind,
              ParsedArguments::Kind::Error);

    // The learner's own grades, kept in its file, may overflow a weight as the computer's may:
    // reported, and the run goes on to its end.
    auto document = std::make_unique<engine::MemoryDocument>();
    ASSERT_EQ(engine::loadMemoryFile(file, *document, engine::MemorySide::Cross).status,
              engine::MemoryFileStatus::Ok);
    document->grades = engine::Grades{INT32_MAX, INT32_MAX, INT32_MAX};
    ASSERT_EQ(engine::saveMemoryFile(file, engine::encodeMemory(*document)), "");
    options.csvPath.clear();
    const RunResult overflowing = run(options);
    EXPECT_EQ(overflowing.code, kExitOk) << overflowing.err;
    EXPECT_NE(overflowing.err.find(": Integer overflow.\n"), std::string::npos) << overflowing.err;
    EXPECT_NE(overflowing.out.find("\n300\t"), std::string::npos) << overflowing.out;
}

// The history of a memory goes on from run to run in its file, in blocks of 100 games that a
// change of grades ends early, and prints as CSV; a file without one prints the header alone.
TEST_F(RunTrainingTest, TheHistoryGoesOnAcrossRunsAndPrintsAsCsv) {
    const std::string header =
        "games,block_games,computer_began,player_wins,computer_wins,draws,win_grade,loss_grade,"
        "draw_grade,positions\n";
    TrainOptions options;
    options.games = 0;
    options.savePath = dir + "/memory";
    ASSERT_EQ(run(options).code, kExitOk);
    TrainOptions print;
    print.historyPath = options.savePath;
    EXPECT_EQ(run(print).out, header);

    options.games = 250;
    options.clockStart = 11;
    const RunResult first = run(options);
    ASSERT_EQ(first.code, kExitOk) << first.err;
    options.games = 30;
    options.give(zelmo::engine::Grade::Draw, 3);
    options.loadPath = options.savePath;
    const RunResult second = run(options);
    ASSERT_EQ(second.code, kExitOk) << second.err;
    const RunResult printed = run(print);
    ASSERT_EQ(printed.code, kExitOk) << printed.err;

    std::istringstream lines(printed.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line + "\n", header);
    const long ends[] = {100, 200, 250, 280};
    long sums[3] = {}, blocks = 0, positions = 0;
    while (std::getline(lines, line)) {
        long games = 0, size = 0, began = 0, counts[3] = {}, grades[3] = {};
        ASSERT_EQ(std::sscanf(line.c_str(), "%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld", &games,
                              &size, &began, &counts[0], &counts[1], &counts[2], &grades[0],
                              &grades[1], &grades[2], &positions),
                  10)
            << line;
        ASSERT_LT(blocks, 4) << line;
        EXPECT_EQ(games, ends[blocks]);
        EXPECT_EQ(size, ends[blocks] - (blocks > 0 ? ends[blocks - 1] : 0));
        EXPECT_EQ(counts[0] + counts[1] + counts[2], size);
        EXPECT_EQ(began, size / 2);  // the computer begins every second game
        EXPECT_EQ(grades[2], ++blocks == 4 ? 3 : 4);
        for (int i = 0; i < 3 && blocks < 4; ++i) {
            sums[i] += counts[i];
        }
    }
    EXPECT_EQ(blocks, 4);
    // The first run's blocks add up to its total line; the last block ends at the last count.
    std::ostringstream total;
    total << "итого\t" << sums[0] << '\t' << sums[1] << '\t' << sums[2] << "\t0\t";
    EXPECT_NE(first.out.find(total.str()), std::string::npos) << first.out;
    EXPECT_EQ(second.out.substr(second.out.rfind('\t') + 1), std::to_string(positions) + "\n");

    print.historyPath = dir + "/missing";
    const RunResult missing = run(print);
    EXPECT_EQ(missing.code, kExitIoError);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("«" + print.historyPath + "»"), std::string::npos) << missing.err;
}

// A stop request (a signal) ends the run after the game in progress: the last block line, the
// total and the memory are written and the exit code tells the signal.
TEST_F(RunTrainingTest, AStopRequestEndsAfterTheCurrentGameAndSaves) {
    TrainOptions options;
    options.games = 2000000000;
    options.block = 1000;
    options.clockStart = 1;
    options.csvPath = dir + "/a.csv";
    options.savePath = dir + "/memory";
    const volatile std::sig_atomic_t stop = SIGTERM;
    std::ostringstream out, err;
    EXPECT_EQ(runTraining(options, out, err, false, &stop), 128 + SIGTERM);
    EXPECT_EQ(
        readText(options.csvPath).substr(readText(options.csvPath).find('\n') + 1).substr(0, 2),
        "1,");
    EXPECT_NE(out.str().find("\nитого\t"), std::string::npos) << out.str();
    EXPECT_NE(err.str().find("остановлено сигналом SIGTERM после 1 партии"), std::string::npos)
        << err.str();
    options.games = 0;
    options.loadPath = options.savePath;
    options.savePath.clear();
    options.csvPath.clear();
    EXPECT_EQ(run(options).code, kExitOk);  // the saved memory loads
}

TEST_F(RunTrainingTest, AFileAWindowHoldsIsRefusedBeforeTheFirstGame) {
    TrainOptions options;
    options.games = 3;
    options.clockStart = 1;
    options.savePath = dir + "/memory.zelmo";
    ASSERT_EQ(run(options).code, kExitOk);
    const std::string before = readText(options.savePath);
    engine::MemoryLock window = engine::MemoryLock::acquire(options.savePath, "zelmo");
    ASSERT_TRUE(window.locked());
    options.games = 2000000000;  // never played to its end
    const RunResult refused = run(options);
    EXPECT_EQ(refused.code, kExitBusy);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "zelmo-train: Файл памяти «" + options.savePath +
                               "» занят: в него пишет окно Zelmo (процесс " +
                               std::to_string(::getpid()) +
                               "). Прогон не начат: закройте окно или сохраните прогон в другой "
                               "файл (--save).\n");
    EXPECT_EQ(readText(options.savePath), before);
    // Reading it is no writing.
    options.games = 3;
    options.loadPath = options.savePath;
    options.savePath = dir + "/other.zelmo";
    EXPECT_EQ(run(options).code, kExitOk);
    window.release();
    options.savePath = dir + "/memory.zelmo";
    EXPECT_EQ(run(options).code, kExitOk);
    EXPECT_EQ(folder.names(), (std::set<std::string>{"memory.zelmo", "other.zelmo"}))
        << "the run lets its lock go";

    // A learner's file held too: refused before the first game, with the learner's advice, and
    // the --save file it would start over on is left without a backup.
    const std::string learnerFile = dir + "/x.zelmo";
    engine::MemoryLock learnerHeld = engine::MemoryLock::acquire(learnerFile, "zelmo");
    ASSERT_TRUE(learnerHeld.locked());
    options.player = "learner:" + learnerFile;
    options.loadPath.clear();
    options.startOver = true;
    const RunResult learner = run(options);
    EXPECT_EQ(learner.code, kExitBusy);
    EXPECT_NE(learner.err.find("(--opponent learner:ФАЙЛ)"), std::string::npos) << learner.err;
    EXPECT_EQ(folder.names().count("memory.zelmo.bak"), 0u);
}

TEST_F(RunTrainingTest, AFileChangedDuringTheRunIsNotOverwritten) {
    TrainOptions options;
    options.games = 50;
    options.clockStart = 2;
    options.savePath = dir + "/memory.zelmo";
    ASSERT_EQ(run(options).code, kExitOk);
    options.loadPath = options.savePath;
    // Another program (which takes no lock) saves just as the run saves.
    struct Intruding : engine::SaveSteps {
        std::string path;
        int createNew(const std::string& temporary, mode_t mode) override {
            if (temporary.find(".memory.zelmo.") != std::string::npos) {
                engine::test::writeText(path + ".theirs", "theirs");
                std::rename((path + ".theirs").c_str(), path.c_str());
            }
            return SaveSteps::createNew(temporary, mode);
        }
    } intruding;
    intruding.path = options.savePath;
    RunResult r;
    {
        const engine::ScopedSaveSteps installed(intruding);
        r = run(options);
    }
    EXPECT_EQ(r.code, kExitIoError);
    const std::string kept = dir + "/memory.conflict-1.zelmo";
    EXPECT_EQ(r.err, "zelmo-train: Файл памяти «" + options.savePath +
                         "» изменила другая программа после того, как эта его прочитала или "
                         "сохранила. Чтобы ничья память не пропала, он не перезаписан: память "
                         "сохранена в новый файл «" +
                         kept + "».\n");
    EXPECT_EQ(readText(options.savePath), "theirs");
    options.games = 0;
    options.loadPath = kept;
    options.savePath.clear();
    EXPECT_EQ(run(options).code, kExitOk) << "the run's memory is in the new file";
}

// Each system call of the save fails in turn with each error: the file holds the old or the
// new memory, the error is told once in Russian, and the next run saves.
TEST_F(RunTrainingTest, EveryFailingCallOfTheSaveIsToldOnceAndTheNextSaveWorks) {
    TrainOptions options;
    options.games = 200;
    options.clockStart = 3;
    options.savePath = dir + "/memory.zelmo";
    ASSERT_EQ(run(options).code, kExitOk);
    const std::string oldBytes = readText(options.savePath);
    options.loadPath = options.savePath;
    faults::FaultySteps recording(0, EIO, false, 4096);
    {
        const engine::ScopedSaveSteps installed(recording);
        ASSERT_EQ(run(options).code, kExitOk);
    }
    const std::string newBytes = readText(options.savePath);
    ASSERT_NE(newBytes, oldBytes);
    ASSERT_GE(recording.calls().size(), 10U) << "a save of several writes";
    for (std::size_t k = 1; k <= recording.calls().size(); ++k) {
        for (const int error : faults::kFaultErrors) {
            engine::test::writeText(options.savePath, oldBytes);
            faults::FaultySteps faulty(static_cast<int>(k), error, false, 4096);
            RunResult r;
            {
                const engine::ScopedSaveSteps installed(faulty);
                r = run(options);
            }
            const faults::AfterFault expected = faults::afterFault(faulty.failed());
            const std::string what = faulty.failed() + " #" + std::to_string(k) + ", " +
                                     std::strerror(error) + ": " + r.err;
            EXPECT_EQ(readText(options.savePath), expected.replaced ? newBytes : oldBytes) << what;
            if (expected.message.empty()) {
                EXPECT_EQ(r.code, kExitOk) << what;
                EXPECT_EQ(r.err, "") << what;
            } else {
                EXPECT_EQ(r.code, kExitIoError) << what;
                EXPECT_EQ(r.err.find("zelmo-train: "), 0U) << what;
                EXPECT_NE(r.err.find("«" + options.savePath + "»: "), std::string::npos) << what;
                EXPECT_NE(r.err.find(expected.message), std::string::npos) << what;
                EXPECT_NE(r.err.find("(" + engine::systemErrorText(error) + ")"), std::string::npos)
                    << what;
                EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "told once: " << what;
            }
            EXPECT_EQ(folder.names(), std::set<std::string>{"memory.zelmo"}) << what;
            const RunResult next = run(options);
            EXPECT_EQ(next.code, kExitOk) << what << next.err;
            EXPECT_EQ(next.err, "") << what;
        }
    }
}

TEST(PlainSecondsTest, DecimalNotationWithThreeSignificantDigits) {
    EXPECT_EQ(plainSeconds(6.5653e-05), "0.0000657");
    EXPECT_EQ(plainSeconds(0.5), "0.500");
    EXPECT_EQ(plainSeconds(6.5653), "6.57");
    EXPECT_EQ(plainSeconds(123456.0), "123456.00");
    EXPECT_EQ(plainSeconds(1e-12), "0.000000000");
    EXPECT_EQ(plainSeconds(0), "0");
}

}  // namespace
}  // namespace zelmo::train
