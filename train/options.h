// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "train/trainer.h"

#include <string>
#include <vector>

namespace zelmo::train {

// The command line read into options: either a run, the help, or a usage error with its
// message (without the program name).
struct ParsedArguments {
    enum class Kind { Run, Help, Error } kind = Kind::Run;
    TrainOptions options;
    std::string error;
};

// Long options as --name=VALUE or --name VALUE, short ones as -x VALUE; numbers in decimal,
// whole and in range, or the parse fails.
ParsedArguments parseArguments(const std::vector<std::string>& arguments);

}  // namespace zelmo::train
