// SPDX-License-Identifier: GPL-3.0-or-later
#include "train/options.h"
#include "engine/players.h"
#include "train/texts.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>

namespace zelmo::train {

namespace {

// A whole decimal number within [low, high], nothing before or after it.
std::optional<std::int64_t> parseWhole(const std::string& text, std::int64_t low,
                                       std::int64_t high) {
    if (text.empty() || text.front() == ' ' || text.front() == '+') {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint64_t> parseSeed(const std::string& text) {
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string badNumber(const std::string& option, const std::string& value) {
    return std::string(texts::kBadNumber) + " " + option + ": «" + value + "»";
}

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string>& arguments) {
    ParsedArguments parsed;
    TrainOptions& options = parsed.options;
    auto fail = [&parsed](std::string message) {
        parsed.kind = ParsedArguments::Kind::Error;
        parsed.error = std::move(message);
        return parsed;
    };
    constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (name.rfind("--", 0) == 0) {
            const std::size_t equals = name.find('=');
            if (equals != std::string::npos) {
                value = name.substr(equals + 1);
                name = name.substr(0, equals);
            }
        } else if (name.size() != 2 || name[0] != '-') {
            return fail(std::string(texts::kExtraArgument) + ": «" + name + "»");
        }
        static const std::string shortNames = "npsbh";
        static const char* const longNames[] = {"--games", "--player", "--seed", "--block",
                                                "--help"};
        if (name.size() == 2) {
            const std::size_t at = shortNames.find(name[1]);
            if (at == std::string::npos) {
                return fail(std::string(texts::kUnknownOption) + ": «" + name + "»");
            }
            name = longNames[at];
        }
        if (name == "--help") {
            if (value) {
                return fail(std::string(texts::kUnknownOption) + ": «" + arguments[i] + "»");
            }
            parsed.kind = ParsedArguments::Kind::Help;
            return parsed;
        }
        static const char* const withValue[] = {"--games", "--player", "--win",   "--loss",
                                                "--draw",  "--seed",   "--clock", "--load",
                                                "--save",  "--block",  "--csv"};
        bool known = false;
        for (const char* option : withValue) {
            known = known || name == option;
        }
        if (!known) {
            return fail(std::string(texts::kUnknownOption) + ": «" + arguments[i] + "»");
        }
        if (!value) {
            if (i + 1 >= arguments.size()) {
                return fail(std::string(texts::kMissingValue) + " " + name);
            }
            value = arguments[++i];
        }
        const std::string& v = *value;
        if (name == "--games" || name == "--block") {
            // The game number shown in the window is a signed 32-bit counter.
            const auto number = parseWhole(v, 1, kInt32Max);
            if (!number) {
                return fail(badNumber(name, v));
            }
            (name == "--games" ? options.games : options.block) = *number;
        } else if (name == "--player") {
            if (!engine::makePlayer(v, 0)) {
                return fail(std::string(texts::kBadPlayer) + ": «" + v + "»");
            }
            options.player = v;
        } else if (name == "--win" || name == "--loss" || name == "--draw") {
            const auto grade = parseWhole(v, kInt32Min, kInt32Max);
            if (!grade) {
                return fail(badNumber(name, v));
            }
            std::int32_t& target = name == "--win"    ? options.grades.win
                                   : name == "--loss" ? options.grades.loss
                                                      : options.grades.draw;
            target = static_cast<std::int32_t>(*grade);
        } else if (name == "--seed") {
            const auto seed = parseSeed(v);
            if (!seed) {
                return fail(badNumber(name, v));
            }
            options.seed = *seed;
        } else if (name == "--clock") {
            const std::size_t colon = v.find(':');
            const auto start = parseWhole(v.substr(0, colon), 0, 86399999);
            const auto step = colon == std::string::npos
                                  ? std::optional<std::int64_t>(options.clockStep)
                                  : parseWhole(v.substr(colon + 1), 0, 86399999);
            if (!start || !step) {
                return fail(badNumber(name, v));
            }
            options.clockStart = static_cast<std::uint32_t>(*start);
            options.clockStep = static_cast<std::uint32_t>(*step);
        } else if (name == "--load") {
            options.loadPath = v;
        } else if (name == "--save") {
            options.savePath = v;
        } else {
            options.csvPath = v;
        }
    }
    return parsed;
}

}  // namespace zelmo::train
