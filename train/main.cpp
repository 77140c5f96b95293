// SPDX-License-Identifier: GPL-3.0-or-later
// zelmo-train: plays the learning computer against a chosen player without a window.
#include "train/options.h"
#include "train/texts.h"
#include "train/trainer.h"

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace zelmo::train;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ParsedArguments parsed = parseArguments(arguments);
    switch (parsed.kind) {
        case ParsedArguments::Kind::Help:
            std::cout << texts::kUsage << std::flush;
            return std::cout ? kExitOk : kExitIoError;
        case ParsedArguments::Kind::Error:
            std::cerr << texts::kProgram << ": " << parsed.error << '\n'
                      << texts::kHelpHint << '\n';
            return kExitUsage;
        case ParsedArguments::Kind::Run:
            break;
    }
    std::ios::sync_with_stdio(false);
    return runTraining(parsed.options, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
