// SPDX-License-Identifier: GPL-3.0-or-later
#include "train/trainer.h"
#include "train/options.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace zelmo::train {
namespace {

using Kind = ParsedArguments::Kind;

TEST(ParseArgumentsTest, OptionsHelpAndUsageErrors) {
    const struct {
        std::vector<std::string> arguments;
        Kind kind;
        std::string error;
    } cases[] = {
        {{}, Kind::Run, ""},
        {{"-n", "5", "--player=perfect", "--win", "-2147483648", "--loss=2147483647"},
         Kind::Run,
         ""},
        {{"--clock=86399999:0", "-s", "18446744073709551615", "-b", "7", "--csv", "a.csv"},
         Kind::Run,
         ""},
        {{"--games", "7", "-h"}, Kind::Help, ""},
        {{"--help=1"}, Kind::Error, "неизвестный параметр: «--help=1»"},
        {{"--gmaes=5"}, Kind::Error, "неизвестный параметр: «--gmaes=5»"},
        {{"-x"}, Kind::Error, "неизвестный параметр: «-x»"},
        {{"games"}, Kind::Error, "лишний аргумент: «games»"},
        {{"--games"}, Kind::Error, "нет значения у параметра --games"},
        {{"-n", "0"}, Kind::Error, "неверное число для --games: «0»"},
        {{"-n", "2147483648"}, Kind::Error, "неверное число для --games: «2147483648»"},
        {{"-n", "12x"}, Kind::Error, "неверное число для --games: «12x»"},
        {{"--win=2147483648"}, Kind::Error, "неверное число для --win: «2147483648»"},
        {{"--draw="}, Kind::Error, "неверное число для --draw: «»"},
        {{"-s", "-1"}, Kind::Error, "неверное число для --seed: «-1»"},
        {{"--clock=86400000"}, Kind::Error, "неверное число для --clock: «86400000»"},
        {{"--clock=5:"}, Kind::Error, "неверное число для --clock: «5:»"},
        {{"-p", "mixed:2"}, Kind::Error, "неизвестный игрок: «mixed:2»"},
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

std::string slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class RunTrainingTest : public ::testing::Test {
  protected:
    std::string dir = [] {
        char path[] = "/tmp/zelmo-train-test-XXXXXX";
        return std::string(mkdtemp(path));
    }();
    ~RunTrainingTest() override {
        for (const char* name : {"/a.csv", "/memory", "/memory2"}) {
            std::remove((dir + name).c_str());
        }
        rmdir(dir.c_str());
    }
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
    const std::string csv = slurp(options.csvPath);
    EXPECT_EQ(run(options).out, first.out);  // the same seeds, the same games
    EXPECT_EQ(slurp(options.csvPath), csv);

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
    EXPECT_NE(r.err.find("дальнейшие ошибки не показываются"), std::string::npos);
    EXPECT_NE(r.err.find("ошибок за прогон: "), std::string::npos);
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
    EXPECT_NE(noCsv.err.find("не удалось записать " + options.csvPath), std::string::npos);
    options.csvPath.clear();
    options.savePath = dir + "/no/such/memory";
    EXPECT_EQ(run(options).code, kExitIoError);
}

}  // namespace
}  // namespace zelmo::train
