// SPDX-License-Identifier: GPL-3.0-or-later
#include "train/options.h"
#include "engine/game/players.h"
#include "train/texts.h"

#include <getopt.h>

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <system_error>

namespace zelmo::train {

namespace {

// Values of the options without a short name, beyond every character.
enum LongOnly : int {
    kWin = 256,
    kLoss,
    kDraw,
    kClock,
    kLoad,
    kSave,
    kCsv,
    kVersion,
    kHistory,
    kStartOver,
    kTrace
};

constexpr option kOptions[] = {
    {"games", required_argument, nullptr, 'n'},
    {"player", required_argument, nullptr, 'p'},
    {"win", required_argument, nullptr, kWin},
    {"loss", required_argument, nullptr, kLoss},
    {"draw", required_argument, nullptr, kDraw},
    {"seed", required_argument, nullptr, 's'},
    {"clock", required_argument, nullptr, kClock},
    {"load", required_argument, nullptr, kLoad},
    {"save", required_argument, nullptr, kSave},
    {"block", required_argument, nullptr, 'b'},
    {"csv", required_argument, nullptr, kCsv},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},
    {"history", required_argument, nullptr, kHistory},
    {"start-over", no_argument, nullptr, kStartOver},
    {"trace", required_argument, nullptr, kTrace},
    // The window's name for the same choice, so that one command line suits both programs.
    {"opponent", required_argument, nullptr, 'p'},
    {nullptr, 0, nullptr, 0},
};
// A leading ':' makes getopt_long tell a missing value (':') from an unknown option ('?').
constexpr char kShortOptions[] = ":n:p:s:b:h";

// The option as the messages name it: "--games (-n)" or "--win".
std::string nameOf(int value) {
    for (const option& o : kOptions) {
        if (o.name != nullptr && o.val == value) {
            std::string name = std::string("--") + o.name;
            if (value < 256) {
                name += std::string(" (-") + static_cast<char>(value) + ")";
            }
            return name;
        }
    }
    return "-" + std::string(1, static_cast<char>(value));
}

// A whole decimal number within [low, high] and nothing else: no blanks, no sign "+", no
// other base.
template <typename T>
std::optional<T> parseWhole(const std::string& text, T low, T high) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, 10);
    if (text.empty() || error != std::errc() || stop != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::string quoted(const std::string& text) {
    return "«" + text + "»";
}

// Why getopt_long refused a long option "--name[=value]": unknown, ambiguous, or given a value
// it does not take.
std::string longOptionError(const std::string& argument) {
    const std::string name = argument.substr(2, argument.find('=') - 2);
    std::string candidates;
    int matches = 0;
    for (const option& o : kOptions) {
        if (o.name == nullptr || std::string(o.name).rfind(name, 0) != 0) {
            continue;
        }
        if (name == o.name) {
            return std::string(texts::kNoValueTaken) + " " + nameOf(o.val);
        }
        candidates += (matches++ == 0 ? " " : ", ") + std::string("--") + o.name;
    }
    if (matches > 1) {
        return std::string(texts::kAmbiguousOption) + " " + quoted(argument) + ":" + candidates;
    }
    if (matches == 1) {
        return std::string(texts::kNoValueTaken) + candidates;
    }
    return std::string(texts::kUnknownOption) + " " + quoted(argument);
}

}  // namespace

void TrainOptions::give(engine::Grade grade, std::int32_t value) {
    grades.set(grade, value);
    gradeGiven[static_cast<std::size_t>(grade)] = true;
}

ParsedArguments parseArguments(const std::vector<std::string>& arguments) {
    ParsedArguments parsed;
    TrainOptions& options = parsed.options;
    auto fail = [&parsed](std::string message) {
        parsed.kind = ParsedArguments::Kind::Error;
        parsed.error = std::move(message);
        return parsed;
    };
    auto badValue = [&fail](int option, const std::string& value, std::string_view allowed) {
        return fail(std::string(texts::kBadValue) + " " + quoted(value) + " " +
                    std::string(texts::kOfOption) + " " + nameOf(option) + ": " +
                    std::string(allowed));
    };

    // getopt_long permutes its vector, so it works on a copy; the program name comes first.
    std::vector<std::string> copies;
    copies.reserve(arguments.size() + 1);
    copies.emplace_back(texts::kProgram);
    copies.insert(copies.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    argv.reserve(copies.size() + 1);
    for (std::string& text : copies) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(copies.size());
    optind = 0;  // 0 starts a fresh scan (GNU), also after an earlier parse in this process
    opterr = 0;  // the messages are ours, in Russian

    constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
    for (;;) {
        const int c = getopt_long(argc, argv.data(), kShortOptions, kOptions, nullptr);
        if (c == -1) {
            break;
        }
        const std::string value = optarg != nullptr ? optarg : "";
        switch (c) {
            case 'n':
            case 'b': {
                // The game number shown in the window is a signed 32-bit counter; read as an
                // unsigned number, no sign is taken ("-0" included).
                const auto number = parseWhole<std::uint32_t>(
                    value, c == 'n' ? 0U : 1U, static_cast<std::uint32_t>(kInt32Max));
                if (!number) {
                    return badValue(c, value, c == 'n' ? texts::kGamesRange : texts::kBlockRange);
                }
                (c == 'n' ? options.games : options.block) = *number;
                break;
            }
            case 'p':
                if (engine::makePlayer(value, 0) == nullptr) {
                    return badValue(c, value, texts::kPlayerRange);
                }
                options.player = value;
                break;
            case kWin:
            case kLoss:
            case kDraw: {
                const auto grade = parseWhole<std::int32_t>(value, kInt32Min, kInt32Max);
                if (!grade) {
                    return badValue(c, value, texts::kGradeRange);
                }
                options.give(c == kWin    ? engine::Grade::Win
                             : c == kLoss ? engine::Grade::Loss
                                          : engine::Grade::Draw,
                             *grade);
                break;
            }
            case 's': {
                const auto seed = parseWhole<std::uint64_t>(value, 0, UINT64_MAX);
                if (!seed) {
                    return badValue(c, value, texts::kSeedRange);
                }
                options.seed = *seed;
                break;
            }
            case kClock: {
                const std::size_t colon = value.find(':');
                constexpr std::uint32_t kLastMs = 86399999;
                const auto start = parseWhole<std::uint32_t>(value.substr(0, colon), 0, kLastMs);
                const auto step =
                    colon == std::string::npos
                        ? std::optional<std::uint32_t>(options.clockStep)
                        : parseWhole<std::uint32_t>(value.substr(colon + 1), 0, kLastMs);
                if (!start || !step) {
                    return badValue(c, value, texts::kClockRange);
                }
                options.clockStart = *start;
                options.clockStep = *step;
                break;
            }
            case kLoad:
            case kSave:
            case kCsv:
            case kHistory:
                if (value.empty()) {
                    return badValue(c, value, texts::kFileRange);
                }
                (c == kLoad   ? options.loadPath
                 : c == kSave ? options.savePath
                 : c == kCsv  ? options.csvPath
                              : options.historyPath) = value;
                break;
            case kTrace: {
                const auto games =
                    parseWhole<std::uint32_t>(value, 0U, static_cast<std::uint32_t>(kInt32Max));
                if (!games) {
                    return badValue(c, value, texts::kGamesRange);
                }
                options.trace = *games;
                break;
            }
            case kStartOver:
                options.startOver = true;
                break;
            case 'h':
                parsed.kind = ParsedArguments::Kind::Help;
                return parsed;
            case kVersion:
                parsed.kind = ParsedArguments::Kind::Version;
                return parsed;
            case ':':
                return fail(std::string(texts::kMissingValue) + " " + nameOf(optopt));
            default: {
                const std::string bad = copies[static_cast<std::size_t>(optind - 1)];
                // A long option is unknown or ambiguous (optopt 0) or was given a value it does
                // not take (optopt is then its own value); a short one is simply unknown.
                if (optopt == 0 || optopt == 'h' || optopt == kVersion || optopt == kStartOver) {
                    return fail(longOptionError(bad));
                }
                return fail(std::string(texts::kUnknownOption) + " " +
                            quoted("-" + std::string(1, static_cast<char>(optopt))));
            }
        }
    }
    if (optind < argc) {
        return fail(std::string(texts::kExtraArgument) + " " +
                    quoted(copies[static_cast<std::size_t>(optind)]));
    }
    // The learner keeps a memory of its own: the computer's file is not it.
    if (const auto learnerFile = engine::learnerFileOf(options.player);
        learnerFile && (*learnerFile == options.savePath || *learnerFile == options.loadPath)) {
        return fail(std::string(texts::kLearnerOwnFile));
    }
    return parsed;
}

}  // namespace zelmo::train
