// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven by mouse and key events: games, counters, status texts, the play
// button, the wipe, the keyboard, the cell buttons' click rule, the error box and the links.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "engine/game/errors.h"
#include "tests/ui/modalbox.h"
#include "tests/ui/printers.h"
#include "tests/ui/sessionform.h"
#include "ui/a11y/announce.h"
#include "ui/form/unit1.h"
#include "ui/help.h"
#include "ui/history/historyplot.h"
#include "ui/history/historywindow.h"
#include "ui/memoryview/memoryview.h"
#include "ui/spin/spinedit.h"
#include "ui/widgets/controls.h"

namespace {

using zelmo::ui::TForm1;

const QString kX = QStringLiteral("X");
const QString kO = QStringLiteral("0");
const QString kFree = QStringLiteral(" ");
const QString kPlayerWon = QStringLiteral("вы выиграли");
const QString kWiped = QStringLiteral("промыл");

// Mouse events are given to the window, at the middle of a control, as the window system would
// give them: the pressed widget keeps the mouse until the release, and a quick second press
// arrives as a double click.
void mouse(QTest::MouseAction action, QWidget* control, Qt::MouseButton button = Qt::LeftButton,
           std::optional<QPoint> at = {}) {
    QWindow* window = control->window()->windowHandle();
    QTest::mouseEvent(
        action, window, button, Qt::NoModifier,
        window->mapFromGlobal(control->mapToGlobal(at.value_or(control->rect().center()))));
}
void click(QWidget* control) {
    mouse(QTest::MouseClick, control);
}

// A shown, active window whose clock, error box and URL opener are replaced by recorders.
class Form1Test : public ::testing::Test {
  protected:
    void SetUp() override {
        form->setClock([this] { return clock; });
        form->setErrorBox([this](QWidget*, const QString& caption, const QString& text) {
            boxes.push_back({caption, text});
        });
        form->setUrlOpener([this](const QUrl& url) { urls.push_back(url); });
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    QString caption(int k) const { return form->cellButton(k)->text(); }
    QString status() const { return form->Bar1->simpleText(); }
    int count(const QString& mark) const {
        int n = 0;
        for (int k = 1; k <= 9; ++k) {
            n += caption(k) == mark ? 1 : 0;
        }
        return n;
    }
    double score(int point) const { return form->Series1->GetYValue(point); }
    void clickAllCells() {
        for (int k = 1; k <= 9; ++k) {
            click(form->cellButton(k));
        }
    }

    // The player takes the centre, else a corner, else an edge.
    int playerChoice() const {
        for (const int k : {5, 1, 3, 7, 9, 2, 4, 6, 8}) {
            if (caption(k) == kFree) {
                return k;
            }
        }
        return 0;
    }

    // A free cell that completes a line of `mark`, or 0.
    int completing(const QString& mark) const {
        static constexpr int kLines[8][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {1, 4, 7},
                                             {2, 5, 8}, {3, 6, 9}, {1, 5, 9}, {3, 5, 7}};
        for (const auto& line : kLines) {
            int own = 0;
            int free = 0;
            for (const int c : line) {
                own += caption(c) == mark ? 1 : 0;
                free = caption(c) == kFree ? c : free;
            }
            if (own == 2 && free != 0) {
                return free;
            }
        }
        return 0;
    }

    // Clicks cells until the game is over; checks the buttons and the counter after every move.
    void playToTheEnd() {
        while (form->acceptingMoves()) {
            const int k = playerChoice();
            ASSERT_NE(k, 0) << "no free cell while the game runs";
            clock += 7919;
            click(form->cellButton(k));
            EXPECT_EQ(caption(k), kX);
            for (int c = 1; c <= 9; ++c) {
                EXPECT_EQ(caption(c), QString::fromStdString(form->board().at(c).text()));
            }
            EXPECT_EQ(form->moveCount(), count(kX) + count(kO));
            EXPECT_EQ(form->Label8->text(), QString::number(form->entryCount()));
        }
    }

    std::uint32_t clock = 43200000;
    std::vector<std::pair<QString, QString>> boxes;  // caption, text
    std::vector<QUrl> urls;
    // The window with its session, as the program makes it (the session binds the desktop keys).
    std::unique_ptr<TForm1> form = std::make_unique<zelmo::ui::test::SessionForm>();
};

TEST_F(Form1Test, PlaysTwoGamesByClicks) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Зельмо"));
    EXPECT_EQ(form->SpinEdit1->value(), 5);
    EXPECT_EQ(form->SpinEdit2->value(), 2);
    EXPECT_EQ(form->SpinEdit3->value(), 4);
    ASSERT_EQ(form->Series1->Count(), 3);
    EXPECT_EQ(form->Series1->PointLabel(1), QStringLiteral("Компьютер"));
    clickAllCells();
    EXPECT_EQ(count(kFree), 9) << "cell clicks before the first game are ignored";
    EXPECT_EQ(form->Label8->text(), "0");

    click(form->Button2);
    EXPECT_EQ(form->Label2->text(), "1");
    EXPECT_FALSE(form->Button2->isEnabled());
    click(form->SpeedButton5);
    EXPECT_EQ(caption(5), kX) << "the player begins the first game";
    EXPECT_EQ(count(kO), 1) << "the computer answers at once";
    EXPECT_EQ(form->Label8->text(), "1");
    click(form->SpeedButton5);
    EXPECT_EQ(count(kFree), 7) << "a click on an occupied cell changes nothing";

    playToTheEnd();
    EXPECT_TRUE(form->Button2->isEnabled());
    const QString outcome = status();
    const QString outcomes[] = {kPlayerWon, QStringLiteral("компьютер выиграл"),
                                QStringLiteral("ничья")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(score(i), outcome == outcomes[i] ? 1.0 : 0.0) << outcome.toStdString();
    }
    const int free = count(kFree);
    clickAllCells();
    EXPECT_EQ(count(kFree), free) << "cell clicks after the end are ignored";
    EXPECT_EQ(status(), outcome);

    const std::int32_t entries = form->entryCount();
    click(form->Button2);
    EXPECT_EQ(form->Label2->text(), "2");
    EXPECT_EQ(count(kO), 1) << "the computer begins the second game";
    EXPECT_EQ(count(kFree), 8);
    EXPECT_EQ(status(), QString());
    EXPECT_EQ(form->Label8->text(), QString::number(entries + 1));
}

TEST_F(Form1Test, FinishedGameRaisesOneBarInOneDrawingPass) {
    // Paints the chart now: a change waiting for the next paint is drawn at once.
    const auto settle = [this] { form->Chart1->repaint(); };
    click(form->Button2);
    settle();
    const long passesBefore = form->Chart1->DrawPasses();
    playToTheEnd();
    settle();
    // The score changed once, at the end of the game, and the chart drew once for it; the
    // moves before it left the cached picture alone.
    EXPECT_EQ(form->Chart1->DrawPasses(), passesBefore + 1);
    EXPECT_EQ(score(0) + score(1) + score(2), 1.0);
    settle();
    EXPECT_EQ(form->Chart1->DrawPasses(), passesBefore + 1) << "no change, no new pass";
}

TEST_F(Form1Test, WipeEmptiesTheMemoryAndTheGameGoesOn) {
    click(form->Button2);
    click(form->SpeedButton1);
    ASSERT_EQ(form->Label8->text(), "1");
    click(form->Button1);
    EXPECT_EQ(form->Label8->text(), "0");
    EXPECT_EQ(status(), kWiped);
    EXPECT_EQ(caption(1), kX);
    EXPECT_FALSE(form->Button2->isEnabled()) << "the game is still running";
    playToTheEnd();
    EXPECT_TRUE(form->Button2->isEnabled());
}

TEST_F(Form1Test, KeyboardReachesOnlyThePushButtons) {
    // Space right after start-up clicks the wipe button, which holds the focus.
    ASSERT_EQ(QApplication::focusWidget(), form->Button1);
    QTest::keyClick(form->Button1, Qt::Key_Space);
    EXPECT_EQ(status(), kWiped);
    QTest::keyClick(form->Button1, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form->Button2);
    QTest::keyClick(form->Button2, Qt::Key_Return);
    EXPECT_EQ(form->Label2->text(), "1") << "Enter clicks the focused button";

    // The disabled play button leaves the focus with the window: keys do nothing, and neither a
    // cell click nor Tab gives the focus to anything but the two buttons.
    EXPECT_EQ(QApplication::focusWidget(), form.get());
    QTest::keyClick(form.get(), Qt::Key_Space);
    QTest::keyClick(form.get(), Qt::Key_Return);
    EXPECT_EQ(status(), QString());
    EXPECT_EQ(form->Label2->text(), "1");
    click(form->SpeedButton9);
    EXPECT_EQ(QApplication::focusWidget(), form.get());
    for (int i = 0; i < 4; ++i) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : form.get(), Qt::Key_Tab);
        focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == form->Button1 || focus == form->Button2)
            << "Tab reached " << (focus ? focus->objectName().toStdString() : "nothing");
    }
}

TEST_F(Form1Test, CellClicksOnlyOnReleaseOverTheSameCell) {
    click(form->Button2);
    QWidget* first = form->SpeedButton1;
    QWidget* other = form->SpeedButton2;
    mouse(QTest::MousePress, first);
    EXPECT_TRUE(form->SpeedButton1->isDown()) << "drawn pushed in while held";
    mouse(QTest::MouseMove, other);
    EXPECT_FALSE(form->SpeedButton1->isDown()) << "drawn raised with the pointer off it";
    mouse(QTest::MouseMove, first);
    EXPECT_TRUE(form->SpeedButton1->isDown());
    mouse(QTest::MouseMove, other);
    mouse(QTest::MouseRelease, other);
    EXPECT_EQ(count(kX), 0) << "released over another cell: no move";

    // The right button opens the window's menu of actions, on a cell too; it plays nothing. Each
    // row's name carries its keys after a tab (shown in the menu's key column, and read with the
    // row by a screen reader); its opening is said, and its first row is current.
    QStringList menu;
    QString current;
    QTimer::singleShot(0, [&menu, &current] {
        if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : popup->actions()) {
                menu << action->text();
            }
            current = popup->activeAction() != nullptr ? popup->activeAction()->text() : QString();
            popup->close();
        }
    });
    mouse(QTest::MouseClick, first, Qt::RightButton);
    EXPECT_EQ(current, QStringLiteral("Новая партия\tF2, Ctrl+N"));
    EXPECT_EQ(
        menu,
        (QStringList{
            QStringLiteral("Новая партия\tF2, Ctrl+N"), QStringLiteral("Открыть память…\tCtrl+O"),
            QStringLiteral("Сохранить копию памяти…\tCtrl+Shift+S"),
            QStringLiteral("Вернуть память до промывки мозгов…\tCtrl+R"),
            QStringLiteral("Память компьютера\tF3"), QStringLiteral("История обучения\tF4"),
            QStringLiteral("Игра за «X» сама: включить или остановить\tF5"),
            QStringLiteral("К оценке за победу\tAlt+1"),
            QStringLiteral("К оценке за поражение\tAlt+2"),
            QStringLiteral("К оценке за ничью\tAlt+3"), QStringLiteral("Назад к игре\tEsc"),
            QStringLiteral("Прочитать доску, ход и счёт\t0"),
            QStringLiteral("Почему компьютер так сыграл\tF6"), QStringLiteral("Справка\tF1"),
            QStringLiteral("Выход\tCtrl+Q")}));
    mouse(QTest::MouseClick, first, Qt::MiddleButton);
    EXPECT_EQ(count(kX), 0) << "other mouse buttons do nothing";

    // A double click is two clicks; the second falls on the new "X" and does nothing.
    mouse(QTest::MouseDClick, first);
    EXPECT_EQ(caption(1), kX);
    EXPECT_EQ(count(kX) + count(kO), 2);
}

TEST_F(Form1Test, OverflowingWeightIsReportedAndTheWindowGoesOn) {
    // A huge loss grade, typed before every game ends; it is read as typed while the spinner
    // keeps the focus, so two player wins with the same answers overflow a weight.
    int games = 0;
    while (boxes.empty() && games < 40) {
        ++games;
        click(form->Button2);
        mouse(QTest::MouseClick, form->SpinEdit2, Qt::LeftButton, QPoint(6, 10));  // the text
        ASSERT_TRUE(form->SpinEdit2->hasFocus());
        form->SpinEdit2->selectAll();
        QTest::keyClicks(form->SpinEdit2, QStringLiteral("2000000000"));
        ASSERT_EQ(form->SpinEdit2->value(), 2000000000);
        playToTheEnd();
    }
    ASSERT_EQ(boxes.size(), 1u) << "no overflow after " << games << " games";
    EXPECT_GE(games, 2) << "one win cannot overflow a weight";
    EXPECT_EQ(boxes[0].first, QStringLiteral("Zelmo"));
    EXPECT_EQ(boxes[0].second, QStringLiteral("Integer overflow."));
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);

    // The game ended all the same, and the window still answers.
    EXPECT_EQ(status(), kPlayerWon);
    EXPECT_TRUE(form->Button2->isEnabled());
    EXPECT_FALSE(form->acceptingMoves());
    click(form->Button2);
    EXPECT_EQ(form->Label2->text(), QString::number(games + 1));
    EXPECT_EQ(status(), QString());
    click(form->Button1);
    EXPECT_EQ(status(), kWiped);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(Form1Test, GuardEndsTheHandlerAndCancelsTheMouseCapture) {
    form->SpeedButton3->grabMouse();
    form->guarded([] { throw zelmo::engine::ERangeError(); });
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].second, QStringLiteral("Range check error."));

    // Whatever is thrown, the handler ends in the box and never reaches the event loop.
    form->guarded([] { throw 42; });
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].first, QStringLiteral("Zelmo"));
    EXPECT_EQ(boxes[1].second, QStringLiteral("Unknown error."));
}

TEST_F(Form1Test, ContactLinksOpenOncePerClick) {
    click(form->Label10);
    click(form->Label9);
    ASSERT_EQ(urls.size(), 2u);
    EXPECT_EQ(urls[0].scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(urls[0].path(), form->Label10->text());
    EXPECT_EQ(urls[1].scheme(), QStringLiteral("https"));
    EXPECT_EQ(urls[1].host(), form->Label9->text());
    mouse(QTest::MouseDClick, form->Label9);
    EXPECT_EQ(urls.size(), 3u) << "a double click opens the link once";
    mouse(QTest::MousePress, form->Label10);
    mouse(QTest::MouseMove, form->Chart1);
    mouse(QTest::MouseRelease, form->Chart1);
    EXPECT_EQ(urls.size(), 3u) << "released outside the label: no click";
}

TEST_F(Form1Test, PlayButtonTakesClicksOnItsWholeRectangle) {
    // Its bottom row lies over the top row of cells: a click there starts a game.
    const QRect r = form->Button2->rect();
    mouse(QTest::MouseClick, form->Button2, Qt::LeftButton,
          QPoint(form->SpeedButton2->geometry().center().x() - form->Button2->x(), r.bottom()));
    EXPECT_EQ(form->Label2->text(), "1");
    EXPECT_EQ(count(kFree), 9);
    click(form->Button2);
    EXPECT_EQ(form->Label2->text(), "1");
    mouse(QTest::MouseClick, form->Button1, Qt::LeftButton, form->Button1->rect().topLeft());
    EXPECT_EQ(status(), kWiped);
}

TEST_F(Form1Test, DesktopKeysOpenTheHelpStartAGameAndQuit) {
    const auto key = [](int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : QApplication::activeWindow(),
                        static_cast<Qt::Key>(k), modifiers);
    };
    // Shift+F10 opens the window's menu as the Menu key does (a keyboard without one has it).
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            opened = popup->accessibleName();
            popup->close();
        }
    });
    key(Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(opened, QStringLiteral("Меню окна"));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    key(Qt::Key_F2);
    EXPECT_EQ(form->Label2->text(), QStringLiteral("1"));
    key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(form->Label2->text(), QStringLiteral("1")) << "no new game while one runs";
    clickAllCells();
    ASSERT_TRUE(form->Button2->isEnabled());
    key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(form->Label2->text(), QStringLiteral("2"));

    // F1 works from a spinner too.
    form->SpinEdit2->setFocus();
    key(Qt::Key_F1);
    auto* help = form->findChild<zelmo::ui::HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    const QString text = zelmo::ui::HelpWindow::text({});
    for (const char* part : {"--keep-memory", "--opponent", "GPL-3.0-or-later", "https://"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    }
    // Every key of the window is in the help, as the context menu writes it.
    for (const QAction* action : form->actions()) {
        for (const QKeySequence& keys : action->shortcuts()) {
            EXPECT_TRUE(text.contains(keys.toString(QKeySequence::NativeText)))
                << keys.toString().toStdString();
        }
    }
    // As it says, the memory's and the history's windows have all of them but the grades' keys
    // and Esc, which closes them instead.
    QStringList formOnly;
    for (const QAction* action : form->actions()) {
        const QString keys = action->shortcut().toString();
        if (keys.startsWith(QStringLiteral("Alt+")) || keys == QStringLiteral("Esc") ||
            keys == QStringLiteral("Shift+F10")) {
            formOnly << keys;
            continue;
        }
        zelmo::ui::Session& session = static_cast<zelmo::ui::test::SessionForm&>(*form).session;
        for (const QWidget* window : {static_cast<QWidget*>(&session.memoryView()),
                                      static_cast<QWidget*>(&session.historyWindow())}) {
            EXPECT_TRUE(window->actions().contains(action)) << keys.toStdString();
        }
    }
    EXPECT_EQ(formOnly, (QStringList{"Alt+1", "Alt+2", "Alt+3", "Esc", "Shift+F10"}));
    help->close();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Form1Test, WholeGamesFromTheKeyboard) {
    const auto focus = [this] {
        QWidget* widget = QApplication::focusWidget();
        return widget != nullptr ? widget : form.get();
    };
    const auto press = [&](int k, bool keypad) {
        QTest::keyClick(focus(), static_cast<Qt::Key>(Qt::Key_0 + k),
                        keypad ? Qt::KeypadModifier : Qt::NoModifier);
    };
    press(5, false);
    EXPECT_EQ(count(kFree), 9) << "no game runs yet";
    QTest::keyClick(focus(), Qt::Key_Tab);
    QTest::keyClick(focus(), Qt::Key_Return);
    ASSERT_TRUE(form->acceptingMoves());
    // A digit typed into a spinner stays there.
    mouse(QTest::MouseClick, form->SpinEdit2, Qt::LeftButton, QPoint(6, 10));
    ASSERT_TRUE(form->SpinEdit2->hasFocus());
    press(3, false);
    EXPECT_EQ(count(kFree), 9);
    EXPECT_EQ(form->SpinEdit2->text(), QStringLiteral("23"));
    QTest::keyClick(focus(), Qt::Key_Backspace);
    QTest::keyClick(focus(), Qt::Key_Tab);
    ASSERT_EQ(focus(), form->Button1) << "Tab leaves the spinner";
    QTest::keyClick(focus(), Qt::Key_5, Qt::ControlModifier);
    QTest::keyClick(focus(), Qt::Key_5, Qt::AltModifier);
    EXPECT_EQ(count(kFree), 9) << "a digit with Ctrl or Alt is no move";

    // Two games, the player beginning the first and the computer the second, alternately on the
    // main keys and the keypad; the focus rests on a push button or on the window.
    for (int game = 1; game <= 2; ++game) {
        bool keypad = game == 2;
        for (int moves = 0; moves < 9 && form->acceptingMoves(); ++moves) {
            const int k = playerChoice();
            ASSERT_NE(k, 0);
            clock += 7919;
            const int free = count(kFree);
            press(k, keypad);
            keypad = !keypad;
            EXPECT_EQ(caption(k), kX);
            EXPECT_LT(count(kFree), free);
            press(k, keypad);  // the occupied cell again: nothing
        }
        ASSERT_FALSE(form->acceptingMoves());
        EXPECT_NE(status(), QString());
        EXPECT_TRUE(form->Button2->isEnabled());
        if (game == 1) {
            while (focus() != form->Button2) {
                QTest::keyClick(focus(), Qt::Key_Tab);
            }
            QTest::keyClick(focus(), Qt::Key_Space);
            EXPECT_EQ(count(kO), 1) << "the computer begins the second game";
        }
    }
    EXPECT_EQ(form->Label2->text(), "2");
    EXPECT_EQ(score(0) + score(1) + score(2), 2.0);
}

TEST_F(Form1Test, ClampAndFocusSurviveAClickOnTheInactiveWindow) {
    mouse(QTest::MouseClick, form->SpinEdit3, Qt::LeftButton, QPoint(6, 10));
    ASSERT_TRUE(form->SpinEdit3->hasFocus());
    form->SpinEdit3->selectAll();
    QTest::keyClicks(form->SpinEdit3, QStringLiteral("9"));
    ASSERT_EQ(form->SpinEdit3->value(), 9);

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    click(form->Button2);
    ASSERT_EQ(form->Label2->text(), "1") << "the click on the inactive window starts a game";
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));

    EXPECT_EQ(form->SpinEdit3->text(), "5") << "the grade is clamped when the focus left";
    EXPECT_NE(QApplication::focusWidget(), form->Button1);
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : form.get(), Qt::Key_Space);
    EXPECT_NE(status(), kWiped) << "Space during the game wiped the memory";
}

TEST_F(Form1Test, RealErrorBoxIsModalAndGivesTheKeyboardBack) {
    form->setErrorBox(nullptr);  // the real box
    struct Seen {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title, text;
        int buttons = 0;
        bool ok = false;
        Qt::WindowModality modality = Qt::NonModal;
    } seen;
    const auto poll = whenMessageBoxShows([&](QMessageBox* box) {
        seen = {box->icon(),
                box->windowTitle(),
                box->text(),
                static_cast<int>(box->buttons().size()),
                box->button(QMessageBox::Ok) != nullptr,
                box->windowModality()};
        // The form takes no clicks while the box is up.
        click(form->Button2);
        box->button(QMessageBox::Ok)->click();
    });
    form->guarded([] { throw zelmo::engine::ERangeError(); });
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.title, QStringLiteral("Zelmo"));
    EXPECT_EQ(seen.text, QStringLiteral("Range check error."));
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_TRUE(seen.ok);
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
    EXPECT_EQ(form->Label2->text(), "0") << "a click reached the window behind the box";

    // The window is active again and the keyboard works without a click.
    EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == form.get(); }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(status(), kWiped);
}

// The weight of every filled slot of the memory.
std::map<std::pair<int, int>, std::int32_t> weights(const TForm1& form) {
    std::map<std::pair<int, int>, std::int32_t> result;
    for (int j = 1; j <= form.entryCount(); ++j) {
        for (int k = 1; k <= zelmo::engine::MemoryEntry::kSlots; ++k) {
            const auto& slot = form.memory()[j].Slots[k];
            if (slot.Answer != 0) {
                result[{j, k}] = slot.Weight;
            }
        }
    }
    return result;
}

TEST_F(Form1Test, EachOutcomeIsGradedByItsOwnSpinner) {
    // Three different grades set with the arrows: a computer win 4, a defeat 3, a draw 2.
    const auto arrow = [](zelmo::ui::TSpinEdit* spin, bool up) {
        QWidget* button = up ? static_cast<QWidget*>(spin->button()->upButton())
                             : static_cast<QWidget*>(spin->button()->downButton());
        mouse(QTest::MouseClick, button);
    };
    arrow(form->SpinEdit1, false);
    arrow(form->SpinEdit2, true);
    arrow(form->SpinEdit3, false);
    arrow(form->SpinEdit3, false);
    ASSERT_EQ(form->SpinEdit1->text(), "4");
    ASSERT_EQ(form->SpinEdit2->text(), "3");
    ASSERT_EQ(form->SpinEdit3->text(), "2");
    const std::map<QString, std::int32_t> change = {
        {QStringLiteral("компьютер выиграл"), 1}, {kPlayerWon, 0}, {QStringLiteral("ничья"), -1}};

    // A player who in turn plays carefully (wins, blocks, prefers the centre) and carelessly
    // (edges first) meets every outcome soon.
    const int careless[9] = {2, 4, 6, 8, 1, 3, 7, 9, 5};
    std::map<QString, int> seen;
    for (int game = 0; game < 300 && seen.size() < 3; ++game) {
        click(form->Button2);
        std::map<std::pair<int, int>, std::int32_t> before;
        while (form->acceptingMoves()) {
            before = weights(*form);
            clock += 104729;
            int k = 0;
            if ((game / 2) % 2 == 0) {
                k = completing(kX);
                k = k != 0 ? k : completing(kO);
                k = k != 0 ? k : playerChoice();
            } else {
                for (const int c : careless) {
                    if (k == 0 && caption(c) == kFree) {
                        k = c;
                    }
                }
            }
            ASSERT_NE(k, 0);
            click(form->cellButton(k));
        }
        ASSERT_EQ(change.count(status()), 1u) << status().toStdString();
        const std::int32_t delta = change.at(status());
        ++seen[status()];
        int used = 0;
        for (const auto& [slot, weight] : weights(*form)) {
            if (form->memory()[slot.first].Slots[slot.second].Used) {
                ++used;
                const auto old = before.find(slot);
                EXPECT_EQ(weight, (old == before.end() ? 0 : old->second) + delta)
                    << status().toStdString() << " in game " << game + 1;
            }
        }
        EXPECT_GT(used, 0);
    }
    EXPECT_GT(seen[QStringLiteral("компьютер выиграл")], 0);
    EXPECT_GT(seen[QStringLiteral("ничья")], 0);
}

// The window with the game flow's score call open to a test.
struct ScoredForm : TForm1 {
    using TForm1::setScoreValue;
};

TEST(ScoreDescriptionTest, CountsAreReadInPlainDigitsAtAnySize) {
    ScoredForm form;
    form.setScoreValue(0, 1000000);
    form.setScoreValue(2, 2147483648.0);
    EXPECT_EQ(form.Chart1->accessibleDescription(),
              QStringLiteral("Игрок: 1000000, Компьютер: 0, Ничья: 2147483648"));
}

TEST_F(Form1Test, ControlsHaveAccessibleNamesAndChangesAreAnnounced) {
    const auto access = [](QObject* object) {
        QAccessibleInterface* found = QAccessible::queryAccessibleInterface(object);
        EXPECT_NE(found, nullptr);
        return found;
    };
    const auto name = [&](QObject* object) { return access(object)->text(QAccessible::Name); };
    const auto description = [&](QObject* object) {
        return access(object)->text(QAccessible::Description);
    };
    EXPECT_EQ(access(form->SpeedButton4)->role(), QAccessible::Button);
    EXPECT_EQ(name(form->SpeedButton4), QStringLiteral("Клетка 4: пусто"));
    EXPECT_EQ(description(form->SpeedButton4),
              QStringLiteral("Строка 2, столбец 1. Во время партии ход сюда делает клавиша 4"));
    EXPECT_EQ(name(form->Label2), QStringLiteral("Партия: 0"));
    EXPECT_EQ(name(form->Label8), QStringLiteral("Извилин: 0"));
    EXPECT_EQ(name(form->SpinEdit1), QStringLiteral("Оценка за победу компьютера"));
    EXPECT_EQ(name(form->SpinEdit2), QStringLiteral("Оценка за поражение компьютера"));
    EXPECT_EQ(name(form->SpinEdit3), QStringLiteral("Оценка за ничью"));
    // Roles, the captions and the spin boxes' bounds are checked over AT-SPI (tests/a11y).
    QAccessibleValueInterface* grade = access(form->SpinEdit3)->valueInterface();
    ASSERT_NE(grade, nullptr);
    EXPECT_EQ(name(form->Button2), QStringLiteral("играть"));
    EXPECT_EQ(name(form->Bar1), QStringLiteral("Строка состояния"));
    EXPECT_EQ(description(form->Chart1), QStringLiteral("Игрок: 0, Компьютер: 0, Ничья: 0"));
    // Every control and every part of one has a name, and the grade spinners say what they mean.
    for (QWidget* control : form->findChildren<QWidget*>()) {
        if (control->objectName().isEmpty() || control->parentWidget() == form->Chart1) {
            continue;
        }
        EXPECT_FALSE(name(control).isEmpty()) << control->objectName().toStdString();
    }

    std::vector<QString> messages;
    zelmo::ui::Announcer::setListener(
        [&messages](const QString& message) { messages.push_back(message); });
    const auto stopListening = qScopeGuard([] { zelmo::ui::Announcer::setListener(nullptr); });
    const auto heard = [&messages] {
        QCoreApplication::processEvents();
        std::vector<QString> said;
        said.swap(messages);
        return said;
    };
    // The window's first activation says the keys to begin with.
    QCoreApplication::processEvents();
    const std::vector<QString> greeting = heard();
    EXPECT_TRUE(greeting.empty() || greeting.front().startsWith(QStringLiteral("F2: новая партия")))
        << greeting.front().toStdString();
    // The arrows are buttons that assistive technology can press; a step says the grade's name
    // on the panel and its value once, and at a bound which one it is.
    for (QWidget* arrow : {static_cast<QWidget*>(form->SpinEdit3->button()->upButton()),
                           static_cast<QWidget*>(form->SpinEdit3->button()->downButton())}) {
        EXPECT_FALSE(name(arrow).isEmpty());
        EXPECT_EQ(access(arrow)->role(), QAccessible::Button);
        ASSERT_NE(access(arrow)->actionInterface(), nullptr);
        access(arrow)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    EXPECT_EQ(form->SpinEdit3->text(), "4") << "one step up, one down";
    EXPECT_EQ(heard(), (std::vector<QString>{QStringLiteral("Ничья: 5, высшая оценка. Ничья: 4")}));
    access(form->SpinEdit1->button()->upButton())
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(form->SpinEdit1->text(), "5") << "at the upper bound";
    EXPECT_EQ(heard(), (std::vector<QString>{QStringLiteral("Победа: 5, высшая оценка")}))
        << "no change: the bound is said";
    grade->setCurrentValue(3);
    EXPECT_EQ(form->SpinEdit3->text(), "3");
    EXPECT_FALSE(description(form->SpinEdit1).isEmpty());
    EXPECT_FALSE(description(form->Button1).isEmpty());
    EXPECT_FALSE(description(form->Label10).isEmpty());
    heard();

    // One message for each event, with the marks placed, the counters and the outcome.
    click(form->Button2);
    EXPECT_EQ(heard(), (std::vector<QString>{QStringLiteral("Партия: 1. Ваш ход")}))
        << "a new game says whose move it is";
    access(form->SpeedButton5)
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(name(form->SpeedButton5), QStringLiteral("Клетка 5: крестик"));
    int answer = 0;
    for (int k = 1; k <= 9; ++k) {
        answer = caption(k) == kO ? k : answer;
    }
    ASSERT_NE(answer, 0);
    const QString answerName = QStringLiteral("Клетка %1: нолик").arg(answer);
    EXPECT_EQ(name(form->cellButton(answer)), answerName);
    EXPECT_EQ(heard(), (std::vector<QString>{QStringLiteral("Клетка 5: крестик. Извилин: 1. ") +
                                             answerName}));
    playToTheEnd();
    const std::vector<QString> end = heard();
    ASSERT_FALSE(end.empty());
    // The outcome, then the score that only the chart shows.
    EXPECT_TRUE(
        end.back().endsWith(status() + QStringLiteral(". Счёт. ") + description(form->Chart1)))
        << end.back().toStdString();
}

}  // namespace
