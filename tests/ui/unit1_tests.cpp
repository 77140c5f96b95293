// The main window driven by mouse and key events: games, counters, status texts, the play
// button, the wipe, the keyboard, the cell buttons' click rule, the error box and the links.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "engine/errors.h"
#include "tests/ui/printers.h"
#include "ui/controls.h"
#include "ui/spinedit.h"
#include "ui/unit1.h"

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
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
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
    const auto settle = [] {
        for (int i = 0; i < 5; ++i) {
            QTest::qWait(10);
        }
    };
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
    EXPECT_EQ(QApplication::focusWidget(), nullptr);
    QTest::keyClick(form.get(), Qt::Key_Space);
    QTest::keyClick(form.get(), Qt::Key_Return);
    EXPECT_EQ(status(), QString());
    EXPECT_EQ(form->Label2->text(), "1");
    click(form->SpeedButton9);
    EXPECT_EQ(QApplication::focusWidget(), nullptr);
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

    mouse(QTest::MouseClick, first, Qt::RightButton);
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

}  // namespace
