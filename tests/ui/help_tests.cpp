// SPDX-License-Identifier: GPL-3.0-or-later
// The help's home-page link: opened through the window's opener by a click or by Enter on it,
// never inside the help; the help's lines as a screen reader reads them.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QUrl>

#include <vector>

#include "tests/ui/printers.h"
#include "ui/a11y/accessible.h"
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

// A screen reader reads the help line by line as Up and Down move the caret. Each line it is
// given ends where a sentence or a paragraph (a heading, a key) ends, never where the window
// wraps the text, and Down goes from the start of one such line to the next.
TEST(HelpWindow, SpokenLinesEndWithASentenceOrAParagraph) {
    zelmo::ui::accessible::installFactory();  // as the main window does
    zelmo::ui::HelpWindow help(nullptr, {}, [](const QUrl&) {});
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    auto* text = help.findChild<QTextEdit*>(QStringLiteral("HelpText"));
    ASSERT_NE(text, nullptr);
    int wrapped = 0;  // paragraphs the picture breaks into lines
    for (QTextBlock b = text->document()->begin(); b.isValid(); b = b.next()) {
        wrapped += b.layout()->lineCount() > 1 ? 1 : 0;
    }
    ASSERT_GT(wrapped, 3);

    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(text);
    ASSERT_NE(reader, nullptr);
    QAccessibleTextInterface* lines = reader->textInterface();
    ASSERT_NE(lines, nullptr);
    const int count = lines->characterCount();
    const QString whole = lines->text(0, count);
    text->moveCursor(QTextCursor::Start);
    QStringList spoken;
    std::vector<int> starts;
    for (int offset = 0; offset < count && spoken.size() < 500;) {
        int start = -1;
        int end = -1;
        const QString line = lines->textAtOffset(offset, QAccessible::LineBoundary, &start, &end);
        ASSERT_EQ(start, offset) << spoken.size();
        ASSERT_GT(end, start) << spoken.size();
        EXPECT_EQ(lines->cursorPosition(), start)
            << "Down reaches the line «" << line.toStdString() << "»";
        const bool paragraphEnds = end == count || whole.at(end - 1) == QLatin1Char('\n');
        const QString said = line.trimmed();
        EXPECT_TRUE(paragraphEnds || said.endsWith(QLatin1Char('.')) ||
                    said.endsWith(QLatin1Char('!')) || said.endsWith(QLatin1Char('?')))
            << "a line ends mid-sentence: «" << said.toStdString() << "»";
        spoken << said;
        starts.push_back(start);
        QTest::keyClick(text, Qt::Key_Down);
        offset = end;
    }
    EXPECT_TRUE(spoken.contains(QStringLiteral("F1 — эта справка")));
    const auto board = std::find_if(spoken.begin(), spoken.end(), [](const QString& line) {
        return line.contains(QStringLiteral("1 2 3 сверху"));
    });
    ASSERT_NE(board, spoken.end());
    EXPECT_TRUE(board->endsWith(QStringLiteral("7 8 9 снизу."))) << board->toStdString();
    ASSERT_GE(starts.size(), 2U);
    EXPECT_EQ(lines->cursorPosition(), starts.back()) << "Down stays on the last line";
    QTest::keyClick(text, Qt::Key_Up);
    EXPECT_EQ(lines->cursorPosition(), starts[starts.size() - 2]) << "Up goes back a line";
}

}  // namespace
