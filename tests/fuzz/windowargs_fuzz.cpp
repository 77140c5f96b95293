// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the window's command line. The input is an argument vector, the arguments
// separated by NUL bytes (which no real argument can hold), decoded as the program decodes its
// arguments. Whatever it holds, the parser answers with a run, the help, the version or an
// error with its text; a refused line names no memory file; a run's choices are consistent (not
// both a file and the kept memory, a pace only with a real opponent and in range) and read the
// same when written back, the file as "--memory=FILE" or as "--memory FILE".
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/commandline.h"
#include "engine/game/players.h"
#include "fuzzcheck.h"

namespace {

using zelmo::app::CommandLine;

// The pace the help names; the parser only prints it.
constexpr int kDefaultPace = 200;

// A failed check names the arguments it was broken on.
void check(bool ok, const char* what, const QStringList& arguments) {
    if (!ok) {
        zelmo::fuzz::fail(what, (QStringLiteral("«") + arguments.join(QStringLiteral("» «")) +
                                 QStringLiteral("»"))
                                    .toStdString());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The argument vector as main receives it, decoded by the program's own function.
    const std::vector<std::string> words = zelmo::fuzz::splitArguments(data, size);
    std::vector<const char*> argv = {"zelmo"};
    for (const std::string& word : words) {
        argv.push_back(word.c_str());
    }
    const QStringList arguments =
        zelmo::app::argumentsOf(static_cast<int>(argv.size()), argv.data());
    const CommandLine line = zelmo::app::parseCommandLine(arguments, kDefaultPace);
    switch (line.action) {
        case CommandLine::Action::Help:
        case CommandLine::Action::Version:
            check(!line.text.isEmpty(), "help or version without a text", arguments);
            return 0;
        case CommandLine::Action::Error:
            check(!line.text.isEmpty(), "an error without a text", arguments);
            check(line.memoryPath.isEmpty(), "a refused line names a memory file", arguments);
            return 0;
        case CommandLine::Action::Run:
            break;
    }
    check(line.memoryPath.isEmpty() || !line.keepMemory, "--memory and --keep-memory at once",
          arguments);
    check(!line.pace || (*line.pace >= 0 && *line.pace <= zelmo::app::kMaxPace),
          "a pace out of range", arguments);
    check(line.opponent.isEmpty()
              ? !line.pace
              : zelmo::engine::makePlayer(line.opponent.toStdString(), 0) != nullptr,
          "a pace without an opponent, or an opponent who does not exist", arguments);
    // The run written back, with the file once as "--memory=FILE" and once as "--memory FILE".
    for (const bool joined : {true, false}) {
        QStringList again;
        if (!line.memoryPath.isEmpty()) {
            again += joined ? QStringList{QStringLiteral("--memory=") + line.memoryPath}
                            : QStringList{QStringLiteral("--memory"), line.memoryPath};
        }
        if (line.keepMemory) {
            again += QStringLiteral("--keep-memory");
        }
        if (!line.opponent.isEmpty()) {
            again += QStringLiteral("--opponent=") + line.opponent;
        }
        if (line.pace) {
            again += QStringLiteral("--pace=") + QString::number(*line.pace);
        }
        const CommandLine back = zelmo::app::parseCommandLine(again, kDefaultPace);
        check(back.action == CommandLine::Action::Run && back.memoryPath == line.memoryPath &&
                  back.keepMemory == line.keepMemory && back.opponent == line.opponent &&
                  back.pace == line.pace,
              "the run written back reads differently", again);
    }
    return 0;
}
