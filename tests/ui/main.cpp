// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry: one QApplication for all tests, on the offscreen platform unless told otherwise,
// with the program's own style, palette and font, so that the tests see the window as it is.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/widgets/application.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    zelmo::ui::initApplication(app);
    return RUN_ALL_TESTS();
}
