// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/help.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>

#include "ui/memorylocation.h"
#include "ui/texts.h"

namespace zelmo::ui {

HelpWindow::HelpWindow(QWidget* parent, const QString& memoryFile, links::UrlOpener opener)
    : QDialog(parent) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(texts::kHelpTitle);
    setModal(false);

    auto* browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("HelpText"));
    browser->setHtml(text(memoryFile));
    // The link goes where the window's own home-page link goes, never inside the help.
    browser->setOpenLinks(false);
    connect(browser, &QTextBrowser::anchorClicked, this,
            [opener = std::move(opener)](const QUrl& url) { opener(url); });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(texts::kHelpClose, QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    // Measured in lines of the window's font, so the help scales with it: room for the first
    // three sections without scrolling; the player may resize it.
    const int line = fontMetrics().height();
    resize(line * 32, line * 44);
}

QString HelpWindow::text(const QString& memoryFile) {
    const QString inUse = memoryFile.isEmpty()
                              ? texts::kHelpNoFile
                              : QStringLiteral("<b>%1</b>").arg(memoryFile.toHtmlEscaped());
    const QString kept = keptMemoryPath();
    return texts::kHelpText.arg(kept.isEmpty() ? texts::kNoKeptFolder : kept.toHtmlEscaped(), inUse,
                                QStringLiteral(ZELMO_VERSION),
                                links::homepageUrl().toString(QUrl::FullyEncoded));
}

}  // namespace zelmo::ui
