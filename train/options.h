// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "train/trainer.h"

#include <string>
#include <vector>

namespace zelmo::train {

// The command line read into options: either a run, the help, the version, or a usage error
// with its message (without the program name).
struct ParsedArguments {
    enum class Kind { Run, Help, Version, Error } kind = Kind::Run;
    TrainOptions options;
    std::string error;
};

// The conventions of getopt_long: --name=VALUE, --name VALUE, a unique abbreviation of a long
// name, -x VALUE and -xVALUE, options and other arguments in any order, "--" ends the options.
// Numbers are whole, in plain decimal digits and in range, or the parse fails with a message
// that names the option and what it allows.
ParsedArguments parseArguments(const std::vector<std::string>& arguments);

}  // namespace zelmo::train
