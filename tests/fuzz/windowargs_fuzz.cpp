// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the window's command line. The input is an argument vector, the arguments
// separated by NUL bytes (which no real argument can hold), read as the program reads its
// arguments. Whatever it holds, the parser answers with a run, the help or an error with its
// text; a refused line names no memory file, and a run's memory file is the same when written back
// as "--memory=FILE" or "--memory FILE" and read again.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "ui/memorystore.h"

namespace {

using zelmo::ui::CommandLine;

[[noreturn]] void fail(const char* what, const QStringList& arguments) {
    std::fprintf(stderr, "window's command line: %s:", what);
    for (const QString& argument : arguments) {
        std::fprintf(stderr, " «%s»", qPrintable(argument));
    }
    std::fprintf(stderr, "\n");
    std::abort();
}

void check(bool ok, const char* what, const QStringList& arguments) {
    if (!ok) {
        fail(what, arguments);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QStringList arguments;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size && arguments.size() <= 32; ++i) {
        if (i == size || data[i] == 0) {
            if (size > 0) {
                arguments.append(QString::fromLocal8Bit(reinterpret_cast<const char*>(data + start),
                                                        static_cast<qsizetype>(i - start)));
            }
            start = i + 1;
        }
    }
    const CommandLine line = zelmo::ui::parseCommandLine(arguments);
    switch (line.action) {
        case CommandLine::Action::Help:
            check(!line.text.isEmpty(), "help without a text", arguments);
            return 0;
        case CommandLine::Action::Error:
            check(!line.text.isEmpty(), "an error without a text", arguments);
            check(line.memoryPath.isEmpty(), "a refused line names a memory file", arguments);
            return 0;
        case CommandLine::Action::Run:
            break;
    }
    if (line.memoryPath.isEmpty()) {
        return 0;
    }
    for (const QStringList& again : {QStringList{QStringLiteral("--memory=") + line.memoryPath},
                                     QStringList{QStringLiteral("--memory"), line.memoryPath}}) {
        const CommandLine back = zelmo::ui::parseCommandLine(again);
        check(back.action == CommandLine::Action::Run && back.memoryPath == line.memoryPath,
              "the memory file written back reads differently", again);
    }
    return 0;
}
