// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up floor: the least a Qt window that shows text costs. A bare QWidget with the
// size, place and title of the Zelmo window, holding one QLabel, measured by the same probe
// as the game (see bench/startup/measure.py).
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "app/startupprobe.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral(u"Зельмо"));
    window.resize(380, 303);
    window.move(298, 153);
    QLabel label(QStringLiteral(u"Зельмо"), &window);
    label.move(8, 8);
    zelmo::app::watchStartup(window);
    window.show();
    return app.exec();
}
