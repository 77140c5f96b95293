// SPDX-License-Identifier: GPL-3.0-or-later
// zelmo-train: plays the learning computer against a chosen player without a window.
#include "engine/store/stdstreams.h"
#include "train/options.h"
#include "train/texts.h"
#include "train/trainer.h"

#include <unistd.h>

#include <clocale>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The signal that asked the run to stop, 0 while none has.
volatile std::sig_atomic_t stopSignal = 0;

// The first signal lets the current game end and everything be written. Later ones change
// nothing: a terminal that closes sends SIGHUP twice (the shell's and the hang-up's), and a
// second request must not lose the run whose save is a few milliseconds away.
void onStopSignal(int signal) {
    if (stopSignal == 0) {
        stopSignal = signal;
    }
}

void catchStopSignals() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action {};
        // A signal ignored from the start (a background job, nohup) stays ignored.
        if (sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN) {
            continue;
        }
        action = {};
        action.sa_handler = &onStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

}  // namespace

int main(int argc, char** argv) {
    zelmo::engine::openClosedStandardStreams();
    // The user's language for whatever the C library says; numbers stay as the reports and the
    // CSV file write them, whatever the language.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    using namespace zelmo::train;
    // A reader that goes away (`| head`) makes writes fail with EPIPE instead of killing the run
    // before its memory is saved.
    std::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ParsedArguments parsed = parseArguments(arguments);
    switch (parsed.kind) {
        case ParsedArguments::Kind::Help:
            std::cout << texts::kUsage << std::flush;
            return std::cout ? kExitOk : kExitIoError;
        case ParsedArguments::Kind::Version:
            std::cout << texts::kVersionLine << ZELMO_VERSION << '\n'
                      << texts::kLicenceLine << '\n'
                      << std::flush;
            return std::cout ? kExitOk : kExitIoError;
        case ParsedArguments::Kind::Error:
            std::cerr << texts::kProgram << ": " << parsed.error << '\n'
                      << texts::kHelpHint << '\n';
            return kExitUsage;
        case ParsedArguments::Kind::Run:
            break;
    }
    catchStopSignals();
    std::ios::sync_with_stdio(false);
    return runTraining(parsed.options, std::cout, std::cerr, isatty(STDERR_FILENO) == 1,
                       &stopSignal);
}
