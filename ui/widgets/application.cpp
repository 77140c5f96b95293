// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/application.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include "ui/widgets/fonts.h"
#include "ui/widgets/icon.h"
#include "ui/widgets/texts.h"

namespace zelmo::ui {

void initApplication(QApplication& app) {
    // Only the application name is set: a display name would be appended to every window
    // title ("Зельмо — Zelmo") by the window system integration.
    QApplication::setApplicationName(texts::kAppName);
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows"))) {
        QApplication::setStyle(style);
        QApplication::setPalette(style->standardPalette());
    }
    QApplication::setFont(fonts::windowFont());
    QApplication::setWindowIcon(mainIcon());
    app.setQuitOnLastWindowClosed(true);
}

}  // namespace zelmo::ui
