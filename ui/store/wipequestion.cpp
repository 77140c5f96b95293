// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/store/wipequestion.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "engine/game/plural.h"
#include "ui/widgets/texts.h"

namespace zelmo::ui {

QString wipeQuestionText(std::int32_t positions, const QString& backupPath) {
    const engine::RussianForms forms{texts::kPositionOne, texts::kPositionFew,
                                     texts::kPositionMany};
    return texts::kWipeQuestion.arg(QString::fromStdString(engine::countOf(positions, forms)),
                                    backupPath);
}

QString unreadableWipeQuestionText(const QString& path, const QString& backupPath) {
    return texts::kWipeUnreadableQuestion.arg(path, backupPath);
}

bool askWipeQuestion(QWidget* owner, const QString& caption, const QString& text) {
    return askKeepOrReplace(owner, caption, text, texts::kWipeConfirm);
}

bool askKeepOrReplace(QWidget* owner, const QString& caption, const QString& text,
                      const QString& confirm) {
    const QPointer<QWidget> previous = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, owner);
    QPushButton* wipe = box.addButton(confirm, QMessageBox::DestructiveRole);
    QPushButton* keep = box.addButton(texts::kWipeKeep, QMessageBox::RejectRole);
    // Enter, Space on the focused default and Escape all keep the memory.
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    if (previous != nullptr && previous->isVisible()) {
        previous->activateWindow();
    }
    return box.clickedButton() == wipe;
}

}  // namespace zelmo::ui
