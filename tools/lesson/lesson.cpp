// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the pictures of docs/lesson.md: the real window, off screen, plays the lesson's games as
// `zelmo-train --clock 0 --seed SEED --opponent random` plays them (the same player, the same
// clock for the computer, the same game flow), and saves the memory view (F3) after the games
// named and the history's window (F4) after the last. Prints the outcome of every game and the
// positions remembered, for the script to check against the trainer's trace.
// Usage: zelmo_lesson DIR GAMES SEED SNAPSHOT...
#include "engine/game/players.h"
#include "engine/game/playgame.h"
#include "train/trainflow.h"
#include "ui/form/unit1.h"
#include "ui/history/historywindow.h"
#include "ui/memoryview/memoryview.h"
#include "ui/session.h"
#include "ui/widgets/application.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <set>

namespace {

bool save(QWidget& window, const QString& path) {
    QApplication::processEvents();
    if (!window.grab().toImage().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

const char* outcomeName(const zelmo::ui::TForm1& form) {
    const auto outcome = zelmo::engine::detect(form.board(), form.moveCount());
    if (!outcome) {
        return "?";
    }
    switch (*outcome) {
        case zelmo::engine::Outcome::PlayerWin:
            return "player";
        case zelmo::engine::Outcome::ComputerWin:
            return "computer";
        case zelmo::engine::Outcome::Draw:
            break;
    }
    return "draw";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: zelmo_lesson DIR GAMES SEED [SNAPSHOT...]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    zelmo::ui::initApplication(app);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const int games = std::atoi(argv[2]);
    const auto seed = static_cast<std::uint64_t>(std::strtoull(argv[3], nullptr, 10));
    std::set<int> snapshots;
    for (int i = 4; i < argc; ++i) {
        snapshots.insert(std::atoi(argv[i]));
    }

    zelmo::ui::TForm1 form;
    zelmo::ui::Session session(form);
    form.setClock(zelmo::train::SteppingClock(0, 1777));
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "the window was not shown\n");
        return 1;
    }
    zelmo::engine::RandomPlayer player(seed);
    // Windows large enough for a page: the memory view shows its first groups whole.
    zelmo::ui::MemoryView& view = session.memoryView();
    view.resize(640, 760);
    for (int game = 1; game <= games; ++game) {
        zelmo::engine::playGame(form, player, zelmo::engine::entryPointsOf(form));
        std::printf("game %d: %s, positions %d\n", game, outcomeName(form), form.entryCount());
        if (snapshots.count(game) != 0) {
            view.open();
            view.refreshNow();
            if (!save(view, dir + QStringLiteral("/lesson-memory-%1.png").arg(game))) {
                return 1;
            }
        }
    }
    zelmo::ui::HistoryWindow& history = session.historyWindow();
    history.resize(640, 560);
    history.open();
    return save(history, dir + QStringLiteral("/lesson-history.png")) ? 0 : 1;
}
