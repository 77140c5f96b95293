// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry: the application, its title "Zelmo", the main window, the event loop.
// One option, `--memory FILE`, keeps what the computer learnt in a file between runs.
#include <QApplication>
#include <QStringList>

#include <cstdio>

#include "app/startupprobe.h"
#include "engine/stdstreams.h"
#include "ui/application.h"
#include "ui/memorystore.h"
#include "ui/unit1.h"

int main(int argc, char** argv) {
    zelmo::engine::openClosedStandardStreams();
    QApplication app(argc, argv);
    // Qt has taken its own options (-platform, -style...) out of argv by now.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const zelmo::ui::CommandLine commandLine = zelmo::ui::parseCommandLine(arguments);
    if (commandLine.action == zelmo::ui::CommandLine::Action::Help) {
        std::fputs(commandLine.text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (commandLine.action == zelmo::ui::CommandLine::Action::Error) {
        std::fputs(commandLine.text.toLocal8Bit().constData(), stderr);
        return 2;
    }
    zelmo::ui::initApplication(app);

    // The window runs FormCreate while it is built, before it is shown.
    zelmo::ui::TForm1 form1;
    zelmo::app::watchStartup(form1);
    form1.show();
    if (!commandLine.memoryPath.isEmpty()) {
        form1.useMemoryFile(commandLine.memoryPath);
    }
    app.exec();
    return 0;
}
