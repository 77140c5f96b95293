// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/errorbox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace zelmo::ui {

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.') {
        return message + QLatin1Char('.');
    }
    return message;
}

void showErrorBox(QWidget* owner, const QString& caption, const QString& text) {
    // All the program's windows wait for the box; afterwards the window that was active takes
    // the keyboard again at once, whether or not the window system gives it back.
    const QPointer<QWidget> previous = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    if (previous != nullptr && previous->isVisible()) {
        previous->activateWindow();
    }
}

}  // namespace zelmo::ui
