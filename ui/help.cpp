// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/help.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>

#include "ui/a11y/accessible.h"
#include "ui/a11y/spokenlines.h"
#include "ui/helpkeys.h"
#include "ui/store/memorylocation.h"
#include "ui/widgets/texts.h"

namespace zelmo::ui {

namespace {

// The keys, one paragraph each, without the space between paragraphs.
QString keyLines() {
    QString lines;
    for (const texts::HelpKey& key : texts::kHelpKeys) {
        lines += QStringLiteral("<p style='margin-top:0; margin-bottom:0'>") +
                 texts::kHelpKeyLine.arg(QStringLiteral("<b>%1</b>").arg(key.keys.toHtmlEscaped()),
                                         key.what.toHtmlEscaped()) +
                 QStringLiteral("</p>");
    }
    return lines;
}

// The link under the caret: the character after it, or before it at the end of the link.
QString linkAtCaret(const QTextEdit& text) {
    QTextCursor cursor = text.textCursor();
    cursor.clearSelection();
    const QString before = cursor.charFormat().anchorHref();
    cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    const QString after = cursor.charFormat().anchorHref();
    return after.isEmpty() ? before : after;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent, const QString& memoryFile, links::UrlOpener opener)
    : QDialog(parent), text_(new QTextEdit(this)), opener_(std::move(opener)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(texts::kHelpTitle);
    setModal(false);

    // A read-only editor rather than a text browser: assistive technology sees a text with a
    // caret that it reads line by line, where a browser shows one long label.
    text_->setObjectName(QStringLiteral("HelpText"));
    text_->setAccessibleName(texts::kHelpTextName);
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard |
                                   Qt::LinksAccessibleByMouse);
    text_->setTabChangesFocus(true);
    text_->setHtml(text(memoryFile));
    text_->moveCursor(QTextCursor::Start);
    // The link goes where the window's own home-page link goes, never inside the help.
    text_->viewport()->installEventFilter(this);
    text_->installEventFilter(this);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(texts::kHelpClose, QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    // The text first: it has the focus when the help opens, Tab goes on to the button.
    text_->setFocus();
    // Measured in lines of the window's font, so the help scales with it: room for the first
    // three sections without scrolling; the player may resize it.
    const int line = fontMetrics().height();
    resize(line * 32, line * 44);
    // An interface asked for before the text had its name is a plain editor's: dropped, the
    // factory gives the text its own.
    accessible::renew(this);
}

QString HelpWindow::text(const QString& memoryFile) {
    const QString inUse = memoryFile.isEmpty()
                              ? texts::kHelpNoFile
                              : QStringLiteral("<b>%1</b>").arg(memoryFile.toHtmlEscaped());
    const QString kept = keptMemoryPath();
    return texts::kHelpText.arg(kept.isEmpty() ? texts::kNoKeptFolder : kept.toHtmlEscaped(), inUse,
                                QStringLiteral(ZELMO_VERSION),
                                links::homepageUrl().toString(QUrl::FullyEncoded), keyLines());
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    QString link;
    if (watched == text_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            link = text_->anchorAt(mouse->position().toPoint());
        }
    } else if (watched == text_ && event->type() == QEvent::KeyPress) {
        const auto* press = static_cast<QKeyEvent*>(event);
        const int key = press->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            link = linkAtCaret(*text_);
        }
        // Up and Down go by the lines a screen reader reads, whole sentences and keys, rather
        // than by the lines of the picture, which end wherever the window's width falls.
        if ((key == Qt::Key_Up || key == Qt::Key_Down) &&
            (press->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) == 0) {
            QTextCursor cursor = text_->textCursor();
            const QTextDocument& document = *text_->document();
            const int to = key == Qt::Key_Down
                               ? spokenlines::nextLine(document, cursor.position())
                               : spokenlines::previousLine(document, cursor.position());
            cursor.setPosition(to, press->modifiers().testFlag(Qt::ShiftModifier)
                                       ? QTextCursor::KeepAnchor
                                       : QTextCursor::MoveAnchor);
            text_->setTextCursor(cursor);
            text_->ensureCursorVisible();
            return true;
        }
    }
    if (link.isEmpty()) {
        return QDialog::eventFilter(watched, event);
    }
    opener_(QUrl(link));
    return true;
}

}  // namespace zelmo::ui
