// SPDX-License-Identifier: GPL-3.0-or-later
// The memory view's model for a known memory, and the watch mode playing through the window.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QScopeGuard>
#include <QScrollArea>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>

#include "engine/game/explanation.h"
#include "engine/game/players.h"
#include "engine/store/memoryfile.h"
#include "tests/common/windowgame.h"
#include "tests/engine/recording_flow.h"
#include "tests/ui/printers.h"
#include "ui/a11y/announce.h"
#include "ui/form/unit1.h"
#include "ui/history/historykeeper.h"
#include "ui/history/historyplot.h"
#include "ui/history/historytable.h"
#include "ui/history/historywindow.h"
#include "ui/memoryview/memorymodel.h"
#include "ui/memoryview/memoryview.h"
#include "ui/session.h"
#include "ui/store/memorystore.h"
#include "ui/watch.h"
#include "ui/widgets/controls.h"

namespace {

using zelmo::engine::MoveSlot;
using zelmo::engine::Outcome;
using zelmo::engine::PositionMemory;
using zelmo::engine::test::remember;
using zelmo::ui::MatchBox;
using zelmo::ui::MemoryModel;
using zelmo::ui::Session;
using zelmo::ui::TForm1;
using Bead = MatchBox::Bead;

// Counts the games the window's game flow says have finished, and runs `then` after each.
struct FinishedGames : zelmo::engine::GameListener {
    explicit FinishedGames(TForm1& window) : form(window) { form.addListener(*this); }
    ~FinishedGames() { form.removeListener(*this); }
    void gameFinished(const zelmo::engine::FinishedGame&) override {
        ++count;
        if (then) {
            then();
        }
    }
    TForm1& form;
    int count = 0;
    std::function<void()> then;
};

TEST(MemoryViewTest, ModelShowsWeightsColoursAndTheAnswersChosenAndPlayed) {
    auto memory = std::make_unique<PositionMemory>();
    // 1: a positive, a negative and a zero answer; the positive one is chosen.
    remember(*memory, 1, "X        ", {{5, 2, false}, {9, -1, false}, {3, 0, false}});
    // 2: only a zero answer with free cells left: a new cell would be tried; marked as played.
    remember(*memory, 2, "    X    ", {{1, 0, true}});
    // 3: every free cell tried and all negative: the best of them is played anyway.
    remember(*memory, 3, "XX00X0X0 ", {{9, -3, false}});
    TForm1 form;
    form.restoreMemory(*memory, 3);
    MemoryModel model(form);
    model.refresh();

    // Two groups: the computer's first answer (entries 1 and 2), its fifth (entry 3).
    ASSERT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.box(0).stage, 1);
    EXPECT_EQ(model.box(0).groupSize, 2);
    EXPECT_EQ(model.box(3).stage, 5);
    const MatchBox& first = model.box(1);
    EXPECT_EQ(first.marks[0], 'X');
    EXPECT_EQ(first.beads[4], Bead::Positive);
    EXPECT_EQ(first.weights[4], 2);
    EXPECT_EQ(first.beads[8], Bead::Negative);
    EXPECT_EQ(first.weights[8], -1);
    EXPECT_EQ(first.beads[2], Bead::Zero);
    EXPECT_EQ(first.beads[1], Bead::None);
    EXPECT_EQ(first.chosen, 5);
    EXPECT_EQ(first.played, 0);
    EXPECT_EQ(model.box(2).chosen, 0);
    EXPECT_EQ(model.box(2).played, 0) << "the file's last game is not this window's";
    EXPECT_EQ(model.box(4).chosen, 9);
    EXPECT_EQ(MemoryModel::boxOf(form.memory()[2]).played, 1);

    // Bead numbers stay short enough to read.
    for (const auto& [weight, label] : {std::pair{-999, "-999"},
                                        {9999, "9999"},
                                        {12345, "12к"},
                                        {-945403, "-945к"},
                                        {1890000, "1,8М"},
                                        {INT32_MAX, "2147М"},
                                        {INT32_MIN, "-2147М"}}) {
        EXPECT_EQ(MemoryModel::beadLabel(weight), QString::fromUtf8(label)) << weight;
    }

    // Three clearly different bead colours.
    const QColor positive = MemoryModel::beadColour(Bead::Positive);
    const QColor zero = MemoryModel::beadColour(Bead::Zero);
    const QColor negative = MemoryModel::beadColour(Bead::Negative);
    EXPECT_GT(positive.green(), positive.red());
    EXPECT_GT(negative.red(), negative.green());
    EXPECT_GT(zero.red() + zero.green(), positive.red() + positive.green());

    EXPECT_EQ(model.data(model.index(1), Qt::AccessibleTextRole).toString(),
              QStringLiteral("Позиция 1: клетка 1 крестик, клетка 2 пусто, клетка 3 пусто вес 0, "
                             "клетка 4 пусто, клетка 5 пусто вес 2, клетка 6 пусто, клетка 7 "
                             "пусто, клетка 8 пусто, клетка 9 пусто вес -1. Сейчас сыграет "
                             "клетку 5"));
    // The memory's own games (its history) and this window's are told apart.
    model.setMemoryGames(2001);
    EXPECT_EQ(model.summary(), QStringLiteral("3 позиции из 1000 · 1 ответ с плюсом · сыграно: "
                                              "2001 партия с этой памятью, 0 партий в этом окне"));

    // A wipe empties it; the model never wrote to the memory it read.
    form.Button1->click();
    model.refresh();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(MemoryViewTest, FollowsTheGameWhileShownAndNotWhileHidden) {
    TForm1 form;
    Session session(form);
    form.show();
    zelmo::ui::MemoryView& view = session.memoryView();
    view.open();
    form.Button2->click();
    form.cellButton(5)->click();
    QTRY_COMPARE(view.model().rowCount(), 2);  // a heading and the position
    EXPECT_EQ(view.model().box(1).played, form.board().text().find('0') + 1);

    QTRY_VERIFY(!view.refreshPending());
    view.hide();
    form.cellButton(form.board().at(1).character() == ' ' ? 1 : 9)->click();
    EXPECT_FALSE(view.refreshPending());  // hidden: not read again
    EXPECT_EQ(view.model().rowCount(), 2);
    view.open();
    // The computer's first and second answers, each group under its heading.
    ASSERT_EQ(form.entryCount(), 2);
    ASSERT_EQ(view.model().rowCount(), 4);
    EXPECT_TRUE(view.model().box(2).heading());
    // The arrows move between boards.
    EXPECT_EQ(view.list().currentIndex().row(), 1);
    QTest::keyClick(&view.list(), Qt::Key_Down);
    EXPECT_EQ(view.list().currentIndex().row(), 3);
    // Each board reads as its position and weights; the headings are no items.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&view.list());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->childCount(), 2);
    EXPECT_TRUE(list->child(1)->text(QAccessible::Name).startsWith(QStringLiteral("Позиция 2: ")))
        << list->child(1)->text(QAccessible::Name).toStdString();
}

// A screen reader numbers the item with the focus by its index among the list's items («7 of
// 40»): the items are the positions alone, and the focused one is found at its place among
// them, whatever headings stand before it. (The focus events, which the offscreen platform does
// not send, are checked over AT-SPI in tests/a11y.)
TEST(MemoryViewTest, AssistiveTechnologyCountsPositionsNotHeadings) {
    TForm1 form;
    Session session(form);
    form.show();
    zelmo::engine::RandomPlayer player(5);
    for (int game = 0; game < 30; ++game) {
        form.setClock([game] { return static_cast<std::uint32_t>(104729 * (game + 1)); });
        zelmo::windowgame::playGame(form, player);
    }
    zelmo::ui::MemoryView& view = session.memoryView();
    view.open();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    QListView& list = view.list();
    list.setFocus();
    std::vector<int> positions;
    for (int r = 0; r < view.model().rowCount(); ++r) {
        if (!view.model().box(r).heading()) {
            positions.push_back(r);
        }
    }
    QAccessibleInterface* items = QAccessible::queryAccessibleInterface(&list);
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->childCount(), static_cast<int>(positions.size()));
    for (int i = 0; i < items->childCount(); ++i) {
        ASSERT_TRUE(items->child(i)->text(QAccessible::Name).startsWith(QStringLiteral("Позиция")))
            << i;
        ASSERT_EQ(items->indexOfChild(items->child(i)), i);
    }

    ASSERT_TRUE(list.hasFocus());
    // The next position, Home, then the next group's first, which comes after a heading.
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Home, Qt::Key_Right, Qt::Key_Down}) {
        QTest::keyClick(&list, key);
        const auto place = std::find(positions.begin(), positions.end(), list.currentIndex().row());
        ASSERT_NE(place, positions.end());
        const int index = static_cast<int>(place - positions.begin());
        QAccessibleInterface* focused = items->focusChild();
        ASSERT_NE(focused, nullptr);
        EXPECT_EQ(items->indexOfChild(focused), index) << "key " << key;
        EXPECT_TRUE(focused->state().focused);
        EXPECT_EQ(focused->text(QAccessible::Name),
                  view.model().data(view.model().index(list.currentIndex().row()),
                                    Qt::AccessibleTextRole));
    }
    EXPECT_EQ(items->indexOfChild(items->focusChild()), list.currentIndex().row() - 2)
        << "the two headings before it are not counted";
}

// The keys walk the positions as a tree's would, whatever the grid looks like: Down and Up one
// position (over the headings), Right and Left between groups, Home and End, Page Down and Page
// Up ten positions; entering another group says its heading.
TEST(MemoryViewTest, TheKeysWalkPositionsAndGroups) {
    TForm1 form;
    Session session(form);
    form.show();
    zelmo::engine::RandomPlayer player(11);
    for (int game = 0; game < 40; ++game) {
        form.setClock([game] { return static_cast<std::uint32_t>(7919 * (game + 1)); });
        zelmo::windowgame::playGame(form, player);
    }
    zelmo::ui::MemoryView& view = session.memoryView();
    view.open();
    QStringList said;
    view.setSpeaker([&said](const QString& heading) { said << heading; });
    const MemoryModel& model = view.model();
    const int rows = model.rowCount();
    std::vector<int> positions;
    std::vector<int> firsts;  // the first position of each group
    for (int r = 0; r < rows; ++r) {
        if (model.box(r).heading()) {
            firsts.push_back(r + 1);
        } else {
            positions.push_back(r);
        }
    }
    ASSERT_GE(firsts.size(), 3U);
    ASSERT_GE(positions.size(), 12U);
    QListView& list = view.list();
    const auto at = [&list] { return list.currentIndex().row(); };
    const auto press = [&list](Qt::Key key) { QTest::keyClick(&list, key); };
    press(Qt::Key_Home);
    EXPECT_EQ(at(), positions.front());
    press(Qt::Key_Down);
    EXPECT_EQ(at(), positions[1]);
    press(Qt::Key_Up);
    EXPECT_EQ(at(), positions.front());
    said.clear();
    press(Qt::Key_Right);
    EXPECT_EQ(at(), firsts[1]) << "the next group's first position";
    ASSERT_EQ(said.size(), 1);
    EXPECT_EQ(said.front(), MemoryModel::headingText(model.box(firsts[1] - 1).stage,
                                                     model.box(firsts[1] - 1).groupSize)
                                .replace(QStringLiteral(" · "), QStringLiteral(", ")))
        << "the heading, said with a comma for its dot";
    press(Qt::Key_Down);
    press(Qt::Key_Left);
    EXPECT_EQ(at(), firsts[1]) << "back to the group's first position";
    press(Qt::Key_Left);
    EXPECT_EQ(at(), firsts[0]) << "then the group before";
    press(Qt::Key_PageDown);
    EXPECT_EQ(at(), positions[10]);
    press(Qt::Key_PageUp);
    EXPECT_EQ(at(), positions.front());
    press(Qt::Key_End);
    EXPECT_EQ(at(), positions.back());
    press(Qt::Key_Down);
    EXPECT_EQ(at(), positions.back()) << "the last stays";
    // Tab reaches the summary and the lesson, which a screen reader then reads line by line.
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Tab);
    const auto* summary = qobject_cast<const QLabel*>(QApplication::focusWidget());
    ASSERT_NE(summary, nullptr);
    EXPECT_TRUE(summary->text().contains(QStringLiteral("позиц"))) << summary->text().toStdString();
}

// F6 says why the computer played its last move; the memory view tells every move of the game so.
TEST(MemoryViewTest, TheComputersMovesAreExplainedOnF6AndInTheView) {
    TForm1 form;
    Session session(form);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QStringList heard;
    zelmo::ui::Announcer::setListener([&heard](const QString& message) { heard << message; });
    const auto stopListening = qScopeGuard([] { zelmo::ui::Announcer::setListener(nullptr); });
    QTest::keyClick(&form, Qt::Key_F6);
    QCoreApplication::processEvents();
    ASSERT_FALSE(heard.isEmpty());
    EXPECT_TRUE(heard.back().endsWith(QStringLiteral("Компьютер в этой партии ещё не ходил")))
        << heard.back().toStdString();
    form.Button2->click();
    form.cellButton(5)->click();
    QTest::keyClick(&form, Qt::Key_F6);
    QCoreApplication::processEvents();
    const QString why =
        QString::fromStdString(zelmo::engine::explanationText(form.moveExplanations().back()));
    EXPECT_TRUE(heard.back().endsWith(why)) << heard.back().toStdString();
    EXPECT_TRUE(why.startsWith(QStringLiteral("клетка "))) << why.toStdString();
    zelmo::ui::MemoryView& view = session.memoryView();
    view.open();
    view.refreshNow();
    bool shown = false;
    for (const QLabel* label : view.findChildren<QLabel*>()) {
        shown = shown || (label->isVisible() && label->text().contains(why));
    }
    EXPECT_TRUE(shown) << "the view tells the move too";

    // A learner for "X" in the watch mode: its moves are told beside the computer's, marked,
    // in the order played.
    ASSERT_TRUE(session.watch(QStringLiteral("learner"), 0));
    QTRY_VERIFY_WITH_TIMEOUT(form.gameNumber() >= 5, 60000);
    session.watchMode().stop();
    view.refreshNow();
    QString account;
    for (const QLabel* label : view.findChildren<QLabel*>()) {
        if (label->isVisible() && label->text().contains(QStringLiteral("ученик X, клетка "))) {
            account = label->text();
        }
    }
    const QStringList lines = account.split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 4) << account.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Почему компьютер и ученик за «X» так сыграли:"));
    for (int i = 2; i < lines.size(); ++i) {
        EXPECT_NE(lines[i].startsWith(QStringLiteral("ученик")),
                  lines[i - 1].startsWith(QStringLiteral("ученик")))
            << "the sides take turns:\n"
            << account.toStdString();
    }
    // However long, the account is never cut: beyond its share of the window it scrolls, and
    // the positions keep the rest.
    view.resize(560, 480);
    QCoreApplication::processEvents();
    for (const QLabel* label : view.findChildren<QLabel*>()) {
        if (label->isVisible()) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width()))
                << label->text().toStdString();
        }
    }
    const auto* notes = view.findChild<QScrollArea*>();
    ASSERT_NE(notes, nullptr);
    EXPECT_GE(view.list().height(), notes->height());
}

TEST(MemoryViewTest, TheGameInProgressIsShownAsOnTheBoardTheOthersAsKept) {
    TForm1 form;
    zelmo::windowgame::OrderPlayer firstFree;
    // Begins a game in which the player moves first (finishing one the computer began).
    const auto beginByPlayer = [&form, &firstFree] {
        form.Button2->click();
        if (form.board().text().find('0') != std::string::npos) {
            zelmo::windowgame::finishGame(form, firstFree);
            form.Button2->click();
        }
    };
    MemoryModel model(form);
    const auto boxOfEntry = [&model](int entry) {
        for (int row = 0; row < model.rowCount(); ++row) {
            if (model.box(row).entry == entry) {
                return model.box(row);
            }
        }
        return MatchBox{};
    };
    // The first game keeps "X in a corner" with X in cell 1.
    beginByPlayer();
    form.cellButton(1)->click();
    const int entry = form.entryCount();
    zelmo::windowgame::finishGame(form, firstFree);
    // X in another corner: the same kept position, met turned.
    beginByPlayer();
    form.cellButton(3)->click();
    model.refresh();
    const MatchBox met = boxOfEntry(entry);
    EXPECT_TRUE(met.onBoard);
    EXPECT_EQ(met.marks[2], 'X') << "the X where the player put it";
    EXPECT_EQ(met.marks[0], ' ');
    EXPECT_EQ(met.played, static_cast<int>(form.board().text().find('0')) + 1)
        << "the answer in the board's cell";
    // In the next game, until it is met, it is shown as kept.
    zelmo::windowgame::finishGame(form, firstFree);
    beginByPlayer();
    model.refresh();
    const MatchBox kept = boxOfEntry(entry);
    EXPECT_FALSE(kept.onBoard);
    EXPECT_EQ(kept.marks[0], 'X');
    EXPECT_EQ(kept.played, 0);
}

TEST(WatchModeTest, PlaysWholeGamesThroughTheWindowAndStopsOnACellClick) {
    TForm1 form;
    Session session(form);
    form.setErrorBox([](QWidget*, const QString&, const QString&) { FAIL(); });
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    FinishedGames ended(form);
    QStringList heard;
    zelmo::ui::Announcer::setListener([&heard](const QString& message) { heard << message; });
    const auto stopListening = qScopeGuard([] { zelmo::ui::Announcer::setListener(nullptr); });
    EXPECT_FALSE(session.watch(QStringLiteral("nobody"), 0));
    ASSERT_TRUE(session.watch(QStringLiteral("perfect"), 0));
    EXPECT_TRUE(session.watchMode().watching());
    QTRY_VERIFY_WITH_TIMEOUT(form.gameNumber() >= 200, 60000);
    // At full speed a screen reader hears that watching began, then summaries of the games
    // rather than their moves.
    QTRY_VERIFY_WITH_TIMEOUT(heard.size() >= 2, 60000);
    EXPECT_TRUE(heard[1].contains(QStringLiteral("партий: компьютер")) &&
                !heard[1].contains(QStringLiteral("Клетка")))
        << heard.join(QLatin1Char('|')).left(300).toStdString();

    QTest::mouseClick(form.cellButton(5), Qt::LeftButton);
    EXPECT_FALSE(session.watchMode().watching());
    const int games = form.gameNumber();
    // Not begun again once the events waiting have run, and each finished game was told once
    // and counted by the chart.
    QCoreApplication::processEvents();
    const auto& scores = form.scores();
    EXPECT_EQ(form.gameNumber(), games);
    EXPECT_EQ(scores[1], 0);  // the perfect player never loses
    EXPECT_EQ(ended.count, scores[0] + scores[2]);
    EXPECT_GE(ended.count, games - 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(form.Series1->GetYValue(i), scores[static_cast<std::size_t>(i)]);
    }
    // The window shows the flow's state again once watching stops.
    EXPECT_EQ(form.Label2->text(), QString::number(form.gameNumber()));
    EXPECT_EQ(form.Label8->text(), QString::number(form.entryCount()));
    for (int k = 1; k <= 9; ++k) {
        EXPECT_EQ(form.cellButton(k)->text(), QString::fromStdString(form.board().at(k).text()));
    }
    EXPECT_EQ(form.Button2->isEnabled(), !form.acceptingMoves());

    // F5 starts it again at a pace; a digit key stops it.
    session.watchMode().setPace(1);
    QTest::keyClick(&form, Qt::Key_F5);
    EXPECT_TRUE(session.watchMode().watching());
    QTest::keyClick(&form, Qt::Key_5);
    EXPECT_FALSE(session.watchMode().watching());
}

TEST(WatchModeTest, AnErrorBoxStopsWatchingAndTheGameStillEnds) {
    // The computer's answer to the empty board is at the top of the weights: grading it at the
    // end of the second game (the computer's first) overflows.
    auto memory = std::make_unique<PositionMemory>();
    remember(*memory, 1, "         ", {{5, INT32_MAX, false}});
    TForm1 form;
    Session session(form);
    int boxes = 0;
    form.setErrorBox([&boxes](QWidget*, const QString&, const QString& text) {
        ++boxes;
        EXPECT_EQ(text, QStringLiteral("Integer overflow."));
    });
    form.restoreMemory(*memory, 1);
    form.show();
    ASSERT_TRUE(session.watch(QStringLiteral("perfect"), 0));
    QTRY_COMPARE_WITH_TIMEOUT(boxes, 1, 60000);
    EXPECT_FALSE(session.watchMode().watching());
    EXPECT_EQ(form.gameNumber(), 2);
    EXPECT_FALSE(form.acceptingMoves());
    EXPECT_TRUE(form.Button2->isEnabled());
    EXPECT_FALSE(form.Bar1->simpleText().isEmpty());
    EXPECT_EQ(form.scores()[0] + form.scores()[2], 2);
}

TEST(WatchModeTest, HeldSavesAreWrittenWhenWatchingStops) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("memory.zelmo"));
    TForm1 form;
    Session session(form);
    session.useMemoryFile(path);
    form.show();
    // Stopped between games well within the first second: only the stop can have saved.
    FinishedGames ended(form);
    ended.then = [&] {
        if (form.gameNumber() >= 20) {
            session.watchMode().stop();
        }
    };
    ASSERT_TRUE(session.watch(QStringLiteral("random"), 0));
    QTRY_VERIFY_WITH_TIMEOUT(!session.watchMode().watching(), 60000);
    ASSERT_EQ(form.gameNumber(), 20);
    session.memoryStore()->flush();  // waits for the saving thread; saves nothing held back

    auto document = std::make_unique<zelmo::engine::MemoryDocument>();
    ASSERT_EQ(
        zelmo::engine::loadMemoryFile(QFile::encodeName(path).toStdString(), *document).status,
        zelmo::engine::MemoryFileStatus::Ok);
    const zelmo::engine::MemorySnapshot* saved = &document->positions;
    ASSERT_EQ(saved->entryCount, form.entryCount());
    for (int j = 1; j <= form.entryCount(); ++j) {
        for (int k = 1; k <= 9; ++k) {
            EXPECT_EQ(saved->memory[j].Slots[k].Weight, form.memory()[j].Slots[k].Weight);
        }
    }
}

zelmo::engine::HistoryBlock blockOf(std::uint64_t player, std::uint64_t computer,
                                    std::uint64_t draws) {
    zelmo::engine::HistoryBlock block;
    block.playerWins = player;
    block.computerWins = computer;
    block.draws = draws;
    return block;
}

TEST(HistoryPlotTest, BlocksAreBinnedIntoColumnsOfSharesAgainstGamesPlayed) {
    using zelmo::ui::historyPoints;
    const std::vector<zelmo::engine::HistoryBlock> blocks = {
        blockOf(1, 0, 0), blockOf(0, 1, 0), blockOf(50, 30, 20), blockOf(0, 0, 100)};
    // Wide enough: a point per block.
    std::vector<zelmo::ui::HistoryPoint> points = historyPoints(blocks, 1000);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[0].playerWins, 1.0);
    EXPECT_EQ(points[2].games, 102.0);
    EXPECT_DOUBLE_EQ(points[2].computerWins, 0.3);
    EXPECT_EQ(points[3].draws, 1.0);
    // Two columns of about 101 games: the first three blocks, then the last.
    points = historyPoints(blocks, 2);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].games, 102.0);
    EXPECT_DOUBLE_EQ(points[0].playerWins, 51.0 / 102.0);
    EXPECT_EQ(points[1].games, 202.0);
    EXPECT_TRUE(historyPoints({}, 10).empty());
}

// The games axis's labels keep to the room between two ticks (8 lines) at any count the
// history allows, where plain digits were cut at about 10^15 games.
TEST(HistoryPlotTest, AxisLabelsFitAtAnyCount) {
    EXPECT_EQ(zelmo::ui::axisLabel(9999), QStringLiteral("9\u00A0999"));
    EXPECT_EQ(zelmo::ui::axisLabel(25000), QStringLiteral("25 тыс."));
    EXPECT_EQ(zelmo::ui::axisLabel(2.5e6), QStringLiteral("2,5 млн"));
    const QFontMetricsF metrics(QApplication::font());
    for (double games = 1; games <= 9007199254740992.0; games *= 7) {
        EXPECT_LE(metrics.horizontalAdvance(zelmo::ui::axisLabel(games)), 8 * metrics.height())
            << zelmo::ui::axisLabel(games).toStdString();
    }
    EXPECT_EQ(zelmo::ui::axisLabel(9007199254740992.0), QStringLiteral("9 квадрлн"));
}

// F4 in words: the whole course in one sentence, and the blocks as a table a screen reader walks
// row by row, which has the focus when the window opens.
TEST(HistoryPlotTest, TheHistoryIsToldInWordsAndAsATable) {
    zelmo::engine::LearningHistory history;
    history.assign({blockOf(48, 30, 22), blockOf(4, 0, 96)});
    EXPECT_EQ(zelmo::ui::courseSummary(history),
              QStringLiteral("За 200 партий победы игрока упали с 48 % до 4 %, победы компьютера "
                             "упали с 30 % до 0 %, ничьи выросли с 22 % до 96 %."));
    EXPECT_EQ(zelmo::ui::courseSummary({}), QString());

    TForm1 form;
    Session session(form);
    form.show();
    zelmo::windowgame::OrderPlayer firstFree;
    for (int game = 0; game < 3; ++game) {
        form.Button2->click();
        zelmo::windowgame::finishGame(form, firstFree);
    }
    zelmo::ui::HistoryWindow& window = session.historyWindow();
    window.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QAbstractItemModel* table = window.table().model();
    ASSERT_EQ(table->rowCount(), 3) << "a block a game played by hand";
    EXPECT_EQ(table->headerData(0, Qt::Horizontal).toString(), QStringLiteral("партии"));
    EXPECT_EQ(table->index(2, 0).data().toString(), QStringLiteral("3–3"));
    EXPECT_TRUE(table->index(2, 1).data().toString().endsWith(QStringLiteral(" %")));
    EXPECT_TRUE(window.course().text().startsWith(QStringLiteral("За 3 партии ")))
        << window.course().text().toStdString();
    EXPECT_EQ(window.table().currentIndex().row(), 2) << "the last block is current";
}

TEST(HistoryPlotTest, TheWindowIsMadeOnF4AndDescribesTheLastBlockAsGamesEnd) {
    TForm1 form;
    Session session(form);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.findChild<zelmo::ui::HistoryWindow*>(), nullptr) << "nothing before F4";
    QTest::keyClick(&form, Qt::Key_F4);
    zelmo::ui::HistoryWindow* window = form.findChild<zelmo::ui::HistoryWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    const QString empty = window->accessibleDescription();
    zelmo::windowgame::OrderPlayer firstFree;
    form.Button2->click();
    zelmo::windowgame::finishGame(form, firstFree);
    const QString described = zelmo::ui::historySummary(session.historyKeeper().history());
    EXPECT_NE(described, empty);
    QTRY_COMPARE(window->accessibleDescription(), described);
}

}  // namespace
