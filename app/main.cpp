// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry: the command line, the application, its title "Zelmo", the main window,
// the event loop. The command line is read first, so that --help, --version and a refused
// line print and exit without a display.
#include <QApplication>

#include <cstdio>
#include <memory>

#include "app/commandline.h"
#include "app/displayguard.h"
#include "app/fontwarmup.h"
#include "app/startupprobe.h"
#include "engine/store/stdstreams.h"
#include "ui/desktop/shutdown.h"
#include "ui/desktop/singleinstance.h"
#include "ui/form/unit1.h"
#include "ui/session.h"
#include "ui/store/memorylocation.h"
#include "ui/watch.h"
#include "ui/widgets/application.h"

int main(int argc, char** argv) {
    zelmo::engine::openClosedStandardStreams();
    using zelmo::app::CommandLine;
    const CommandLine commandLine = zelmo::app::parseCommandLine(
        zelmo::app::argumentsOf(argc, argv), zelmo::ui::WatchMode::kDefaultPace);
    switch (commandLine.action) {
        case CommandLine::Action::Help:
        case CommandLine::Action::Version:
            // A help that could not be written (a full disk, a closed pipe) is a failure.
            return std::fputs(commandLine.text.toLocal8Bit().constData(), stdout) >= 0 &&
                           std::fflush(stdout) == 0
                       ? 0
                       : 1;
        case CommandLine::Action::Error:
            std::fputs(commandLine.text.toLocal8Bit().constData(), stderr);
            return 2;
        case CommandLine::Action::Run:
            break;
    }

    // Fontconfig reads its configuration while the application connects to the display.
    zelmo::app::FontConfigWarmUp fonts;
    // Without a display the program says so and exits 1, whatever the command line asked.
    auto guard = std::make_unique<zelmo::app::DisplayGuard>();
    QApplication app(argc, argv);
    guard.reset();
    fonts.finish();
    zelmo::ui::initApplication(app);

    // One window per memory file: when a window holds the file already, it comes forward and
    // this start ends here.
    const QString memoryPath =
        commandLine.keepMemory ? zelmo::ui::keptMemoryPath() : commandLine.memoryPath;
    if (!memoryPath.isEmpty() &&
        zelmo::ui::bringHolderForward(memoryPath, qEnvironmentVariable("XDG_ACTIVATION_TOKEN")) ==
            zelmo::ui::Forwarded::Raised) {
        return 0;
    }

    // The window runs FormCreate while it is built, before it is shown.
    zelmo::ui::TForm1 form1;
    // What the program adds around the window: the memory file, watching, the memory view.
    zelmo::ui::Session session(form1);
    // A request to end (a logout, Ctrl+C in the terminal) closes the window as Ctrl+Q does.
    const zelmo::ui::TerminationSignals endRequests(
        [&form1] { zelmo::ui::closeForShutdown(form1); });
    zelmo::app::watchStartup(form1);
    form1.show();
    // Another window that took the file a moment before this one (two starts at once) comes
    // forward, and this one ends as the start above would have.
    const bool ownWindow = commandLine.keepMemory ? session.useKeptMemory(true)
                           : commandLine.memoryPath.isEmpty()
                               ? true
                               : session.useMemoryFile(commandLine.memoryPath,
                                                       zelmo::ui::FolderPolicy::MustExist, true);
    if (!ownWindow) {
        form1.hide();
        return 0;
    }
    // The parser has checked the player's name, so the watch mode takes it.
    if (!commandLine.opponent.isEmpty()) {
        session.watch(commandLine.opponent,
                      commandLine.pace.value_or(zelmo::ui::WatchMode::kDefaultPace));
    }
    // A request to end that came during start-up (while a box waited) has closed the window.
    if (form1.isVisible()) {
        app.exec();
    }
    return 0;
}
