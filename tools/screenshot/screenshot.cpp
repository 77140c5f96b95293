// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the README's picture of the window: builds the real window off screen, plays a few
// games by simulated clicks and saves the window's image. Usage: zelmo_screenshot FILE.png [GAMES]
#include "engine/game/playgame.h"
#include "ui/form/unit1.h"
#include "ui/widgets/application.h"
#include "ui/widgets/controls.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using zelmo::ui::TForm1;

void click(QWidget* control) {
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, control->rect().center());
}

// The player takes the first free cell of a fixed order until the game ends; the clock moves
// on before every move, so the computer's random choices vary.
void playOneGame(TForm1& form, std::uint32_t& clockTicks) {
    zelmo::engine::OrderPlayer player({5, 1, 9, 3, 7, 2, 8, 4, 6});
    const zelmo::engine::GameInput clicks{[&form] { click(form.Button2); },
                                          [&](int cell) {
                                              clockTicks += 7919;
                                              click(form.cellButton(cell));
                                          }};
    zelmo::engine::playGame(form, player, clicks);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    zelmo::ui::initApplication(app);
    const QString path =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshot.png");
    const int games = argc > 2 ? std::max(0, std::atoi(argv[2])) : 5;

    TForm1 form;
    std::uint32_t clockTicks = 36000000;
    form.setClock([&clockTicks] { return clockTicks; });
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "the window was not shown\n");
        return 1;
    }
    // By default five games, the last one begun by the computer; its final position stays on
    // the board with the outcome in the status line.
    for (int game = 0; game < games; ++game) {
        playOneGame(form, clockTicks);
    }
    QApplication::processEvents();

    if (!form.grab().toImage().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}
