// SPDX-License-Identifier: GPL-3.0-or-later
// The help's home-page link: opened through the window's opener by a click or by Enter on it,
// never inside the help.
#include <gtest/gtest.h>

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>

#include <vector>

#include "tests/ui/printers.h"
#include "ui/help.h"
#include "ui/widgets/links.h"

namespace {

TEST(HelpWindow, HomePageLinkOpensByClickAndByEnter) {
    std::vector<QUrl> opened;
    zelmo::ui::HelpWindow help(nullptr, {}, [&opened](const QUrl& url) { opened.push_back(url); });
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    auto* text = help.findChild<QTextEdit*>(QStringLiteral("HelpText"));
    ASSERT_NE(text, nullptr);
    const QUrl home = zelmo::ui::links::homepageUrl();
    const QTextCursor link = text->document()->find(home.toString());
    ASSERT_FALSE(link.isNull());

    QTextCursor caret = link;
    caret.setPosition(link.selectionStart() + 2);
    text->setTextCursor(caret);
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(opened, std::vector<QUrl>{home});

    text->ensureCursorVisible();
    const QPoint inside = text->cursorRect(caret).center();
    QTest::mouseClick(text->viewport(), Qt::LeftButton, Qt::NoModifier, inside);
    EXPECT_EQ(opened, (std::vector<QUrl>{home, home}));

    // Enter anywhere else is no link (it presses the help's button).
    text->moveCursor(QTextCursor::Start);
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(opened.size(), 2U);
}

}  // namespace
