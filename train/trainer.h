// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "train/trainflow.h"

#include <array>
#include <csignal>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace zelmo::train {

// What one run of zelmo-train is asked to do (the command line, parsed).
struct TrainOptions {
    std::int64_t games = 10000;
    std::string player = "random";
    // The grades; those not given (gradeGiven) are taken from the memory loaded, if any.
    Grades grades;
    std::array<bool, 3> gradeGiven{};
    std::uint64_t seed = 1;
    // The computer's clock: the system's time of day unless a fixed start is given.
    std::optional<std::uint32_t> clockStart;
    std::uint32_t clockStep = 1777;
    std::string loadPath;
    std::string savePath;
    // The --save file may replace a memory the run did not load (kept as FILE.bak).
    bool startOver = false;
    // The first games printed move by move with the reason of each of the computer's moves.
    std::int64_t trace = 0;
    std::string csvPath;
    std::int64_t block = 1000;
    // When set, the run only prints the history kept in this memory file (printHistory).
    std::string historyPath;

    // Gives `grade` the value `value` as --win, --loss or --draw does.
    void give(engine::Grade grade, std::int32_t value);
};

// Exit codes of the command line.
// kExitBusy: the --save file is held by another program (a window), nothing was played.
// kExitTaught: the --save file holds a memory that the run did not load and --start-over was
// not given, nothing was played.
enum ExitCode { kExitOk = 0, kExitIoError = 1, kExitUsage = 2, kExitBusy = 3, kExitTaught = 4 };

// Plays the run of options that parseArguments accepted (so the player's name is known to
// makePlayer): one line per block of games on `out` (and in the CSV file, flushed after
// every block), errors and the progress bar (when `progress` is set) on `err`. Every file is
// checked before the first game. When `stop` becomes non-zero (a signal number, set by a
// signal handler) the run ends after the current game as if it were the last one: the last
// line and the memory are written, and the exit code is 128 + that number when all was
// written. A failed write to `out` is reported once at the end (exit code 1); the games go
// on. The --save file is locked for the whole run (a file another program holds is refused
// before the first game, kExitBusy) and replaced at the end only if nobody changed it in
// between; otherwise the memory goes to a new file beside it (exit code 1). Returns the exit
// code.
int runTraining(const TrainOptions& options, std::ostream& out, std::ostream& err, bool progress,
                const volatile std::sig_atomic_t* stop = nullptr);

// Seconds in plain decimal notation with three significant digits at least: "0.0000657",
// "6.57", "1234.57"; never scientific.
std::string plainSeconds(double seconds);

}  // namespace zelmo::train
