// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/widgets/links.h"

#include <QDialog>
#include <QString>

class QTextEdit;

// The short help that F1 opens beside the main window: how to play, the grades, the keys, the
// memory options and where the kept memory lives, the version, the licence and the home page.
// Not modal; the window keeps one and shows it again on the next F1. The text is a read-only
// document with a caret, named for assistive technology and focused first, so that a screen
// reader reads it line by line as Up and Down move: each line a whole sentence, every key a
// line of its own, however the window wraps them.
namespace zelmo::ui {

class HelpWindow : public QDialog {
    Q_OBJECT
  public:
    // `memoryFile` is the memory file in use ("" for none); the home-page link goes to `opener`.
    HelpWindow(QWidget* parent, const QString& memoryFile, links::UrlOpener opener);

    // The help as rich text.
    static QString text(const QString& memoryFile);

  protected:
    // Opens the link that is clicked, or that the caret stands on when Enter is pressed.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTextEdit* text_;
    links::UrlOpener opener_;
};

}  // namespace zelmo::ui
