// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the trainer's command line. The input is an argument vector, the arguments
// separated by NUL bytes (which no real argument can hold). Whatever it holds, the parser
// answers with a run, the help, the version or an error with its message; parsed twice it
// answers the same (getopt_long keeps state between calls); a run's options lie in their
// ranges, name a player that exists, and mean the same when written back as a command line of
// their own and read again.
#include "engine/game/players.h"
#include "fuzzcheck.h"
#include "train/options.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using zelmo::fuzz::check;
using zelmo::train::ParsedArguments;
using zelmo::train::TrainOptions;

constexpr std::int64_t kInt32Max = 2147483647;
constexpr std::uint32_t kLastMillisecond = 86399999;

// The options written as the long forms with "=", one argument each, so that no value can be
// taken for an option.
std::vector<std::string> writeBack(const TrainOptions& o) {
    std::vector<std::string> args = {"--games=" + std::to_string(o.games),
                                     "--block=" + std::to_string(o.block),
                                     "--player=" + o.player,
                                     "--win=" + std::to_string(o.grades.win),
                                     "--loss=" + std::to_string(o.grades.loss),
                                     "--draw=" + std::to_string(o.grades.draw),
                                     "--seed=" + std::to_string(o.seed)};
    if (o.clockStart) {
        args.push_back("--clock=" + std::to_string(*o.clockStart) + ":" +
                       std::to_string(o.clockStep));
    }
    for (const auto& [name, path] : {std::pair{"--load=", &o.loadPath},
                                     {"--save=", &o.savePath},
                                     {"--csv=", &o.csvPath},
                                     {"--history=", &o.historyPath}}) {
        if (!path->empty()) {
            args.push_back(name + *path);
        }
    }
    return args;
}

bool same(const TrainOptions& a, const TrainOptions& b) {
    return a.games == b.games && a.block == b.block && a.player == b.player &&
           a.grades.win == b.grades.win && a.grades.loss == b.grades.loss &&
           a.grades.draw == b.grades.draw && a.seed == b.seed && a.clockStart == b.clockStart &&
           (!a.clockStart || a.clockStep == b.clockStep) && a.loadPath == b.loadPath &&
           a.savePath == b.savePath && a.csvPath == b.csvPath && a.historyPath == b.historyPath;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> args = zelmo::fuzz::splitArguments(data, size);
    const ParsedArguments parsed = zelmo::train::parseArguments(args);
    const ParsedArguments twice = zelmo::train::parseArguments(args);
    check(twice.kind == parsed.kind && twice.error == parsed.error &&
              (parsed.kind != ParsedArguments::Kind::Run || same(twice.options, parsed.options)),
          "the same line parsed twice reads differently");
    switch (parsed.kind) {
        case ParsedArguments::Kind::Error:
            check(!parsed.error.empty(), "an error without a message");
            return 0;
        case ParsedArguments::Kind::Help:
        case ParsedArguments::Kind::Version:
            return 0;
        case ParsedArguments::Kind::Run:
            break;
    }
    const TrainOptions& o = parsed.options;
    check(o.games >= 0 && o.games <= kInt32Max, "games out of range");
    check(o.block >= 1 && o.block <= kInt32Max, "block out of range");
    check(!o.clockStart || *o.clockStart <= kLastMillisecond, "clock start beyond the day");
    check(o.clockStep <= kLastMillisecond, "clock step beyond the day");
    check(zelmo::engine::makePlayer(o.player, 1) != nullptr, "a player that does not exist");
    const ParsedArguments again = zelmo::train::parseArguments(writeBack(o));
    check(again.kind == ParsedArguments::Kind::Run, "the options written back are refused");
    check(same(again.options, o), "the options written back mean something else");
    return 0;
}
