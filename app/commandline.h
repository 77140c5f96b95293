// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The command line of `zelmo`, read before the window system starts so that --help, --version
// and a refused line need no display. Long options take their value as "--opt=V" or
// "--opt V", and may be abbreviated while the abbreviation is unique; "--" ends the options.
namespace zelmo::app {

// The most milliseconds per move of the watch mode that --pace takes.
inline constexpr int kMaxPace = 60000;

// What the command line asks for: run the game (with a memory file, if one is chosen), print
// the help or the version, or refuse (the text says why).
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString memoryPath;       // --memory FILE
    bool keepMemory = false;  // --keep-memory: the memory file in the per-user data folder
    QString opponent;         // --opponent NAME: watch this player play "X"; empty: do not
    std::optional<int> pace;  // --pace MS, with --opponent; empty: the watch mode's own pace
    QString text;             // the help, the version or the error message, for the terminal
};

// Reads the program's arguments, without the program name. Qt's own options (-platform,
// -style...) are accepted and left for QApplication. The help names `defaultPace` as the pace
// without --pace.
CommandLine parseCommandLine(const QStringList& arguments, int defaultPace);

// The program's arguments as given to main, without the program name.
QStringList argumentsOf(int argc, const char* const* argv);

}  // namespace zelmo::app
