// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "train/trainflow.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace zelmo::train {

// What one run of zelmo-train is asked to do (the command line, parsed).
struct TrainOptions {
    std::int64_t games = 10000;
    std::string player = "random";
    Grades grades;
    std::uint64_t seed = 1;
    // The computer's clock: the system's time of day unless a fixed start is given.
    std::optional<std::uint32_t> clockStart;
    std::uint32_t clockStep = 1777;
    std::string loadPath;
    std::string savePath;
    std::string csvPath;
    std::int64_t block = 1000;
};

// Exit codes of the command line.
enum ExitCode { kExitOk = 0, kExitIoError = 1, kExitUsage = 2 };

// Plays the run: one line per block of games on `out` (and in the CSV file), errors and the
// progress bar (when `progress` is set) on `err`. Returns the exit code.
int runTraining(const TrainOptions& options, std::ostream& out, std::ostream& err, bool progress);

}  // namespace zelmo::train
