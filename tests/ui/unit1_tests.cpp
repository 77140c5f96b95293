// The main window driven by mouse and key events: games, counters, status texts, the play
// button, the wipe, the keyboard, the cell buttons' click rules, the links and the error box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engine/errors.h"
#include "ui/controls.h"
#include "ui/spinedit.h"
#include "ui/unit1.h"

namespace {

using zelmo::ui::TForm1;
using zelmo::ui::TSpeedButton;

const QString kPlayerWon = QStringLiteral("вы выиграли");
const QString kComputerWon = QStringLiteral("компьютер выиграл");
const QString kDraw = QStringLiteral("ничья");
const QString kWiped = QStringLiteral("промыл");

struct ShownBox {
    QString caption;
    QString text;
};

// Mouse events are given to the window, as the window system would give them: the pressed
// widget keeps the mouse until the release, and a quick second press arrives as a double click.
QWindow* windowOf(QWidget* control) {
    return control->window()->windowHandle();
}
QPoint inWindow(QWidget* control, QPoint pos) {
    return windowOf(control)->mapFromGlobal(control->mapToGlobal(pos));
}
QPoint middle(QWidget* control) {
    return control->rect().center();
}

void press(QWidget* control, QPoint pos) {
    QTest::mousePress(windowOf(control), Qt::LeftButton, Qt::NoModifier, inWindow(control, pos));
}
void moveTo(QWidget* control, QPoint pos) {
    QTest::mouseMove(windowOf(control), inWindow(control, pos));
}
void release(QWidget* control, QPoint pos) {
    QTest::mouseRelease(windowOf(control), Qt::LeftButton, Qt::NoModifier, inWindow(control, pos));
}
void doubleClick(QWidget* control) {
    QTest::mouseDClick(windowOf(control), Qt::LeftButton, Qt::NoModifier,
                       inWindow(control, middle(control)));
}
void click(QWidget* control, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(windowOf(control), button, Qt::NoModifier,
                      inWindow(control, middle(control)));
}

// The eight lines of three.
constexpr int kLines[8][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {1, 4, 7},
                              {2, 5, 8}, {3, 6, 9}, {1, 5, 9}, {3, 5, 7}};

class Form1Test : public ::testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<TForm1>();
        form->setClock([this] { return clock; });
        form->setErrorBox([this](QWidget*, const QString& caption, const QString& text) {
            boxes.push_back({caption, text});
        });
        form->setUrlOpener([this](const QUrl& url) { urls.push_back(url); });
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    void TearDown() override { form.reset(); }

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

    // A cell that completes a line of `mark` (two of it and a free cell), if any.
    std::optional<int> completing(const QString& mark) const {
        for (const auto& line : kLines) {
            int own = 0;
            int free = 0;
            for (const int k : line) {
                own += caption(k) == mark ? 1 : 0;
                free = caption(k) == QStringLiteral(" ") ? k : free;
            }
            if (own == 2 && free != 0) {
                return free;
            }
        }
        return std::nullopt;
    }

    // The player's choice: win, else block, else the centre, else the first free cell.
    int playerChoice() const {
        if (auto k = completing(QStringLiteral("X"))) {
            return *k;
        }
        if (auto k = completing(QStringLiteral("0"))) {
            return *k;
        }
        for (const int k : {5, 1, 3, 7, 9, 2, 4, 6, 8}) {
            if (caption(k) == QStringLiteral(" ")) {
                return k;
            }
        }
        return 0;
    }

    // Clicks cells until the game is over; checks the board on the buttons after every move.
    void playToTheEnd() {
        while (form->acceptingMoves()) {
            const int k = playerChoice();
            ASSERT_NE(k, 0) << "no free cell while the game runs";
            clock += 7919;
            const int before = count(QStringLiteral("X"));
            click(form->cellButton(k));
            EXPECT_EQ(caption(k), QStringLiteral("X"));
            EXPECT_EQ(count(QStringLiteral("X")), before + 1);
            for (int c = 1; c <= 9; ++c) {
                EXPECT_EQ(caption(c), QString::fromStdString(form->board().at(c).text()));
            }
            EXPECT_EQ(form->moveCount(), count(QStringLiteral("X")) + count(QStringLiteral("0")));
            EXPECT_EQ(form->Label8->text(), QString::number(form->entryCount()));
        }
    }

    std::unique_ptr<TForm1> form;
    std::uint32_t clock = 43200000;
    std::vector<ShownBox> boxes;
    std::vector<QUrl> urls;
};

TEST_F(Form1Test, StartsWithAnEmptyBoardAndZeroScore) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Зельмо"));
    EXPECT_EQ(form->size(), QSize(form->scaled(380), form->scaled(303)));
    for (int k = 1; k <= 9; ++k) {
        EXPECT_EQ(caption(k), QStringLiteral(" ")) << "cell " << k;
    }
    EXPECT_EQ(form->Label2->text(), QStringLiteral("0"));
    EXPECT_EQ(form->Label8->text(), QStringLiteral("0"));
    EXPECT_EQ(status(), QString());
    EXPECT_TRUE(form->Button1->isEnabled());
    EXPECT_TRUE(form->Button2->isEnabled());
    EXPECT_EQ(form->SpinEdit1->value(), 5);
    EXPECT_EQ(form->SpinEdit2->value(), 2);
    EXPECT_EQ(form->SpinEdit3->value(), 4);
    ASSERT_EQ(form->Series1->Count(), 3);
    EXPECT_EQ(form->Series1->PointLabel(0), QStringLiteral("Игрок"));
    EXPECT_EQ(form->Series1->PointLabel(1), QStringLiteral("Компьютер"));
    EXPECT_EQ(form->Series1->PointLabel(2), QStringLiteral("Ничья"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(score(i), 0.0);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Form1Test, PlaysAWholeGameByClicks) {
    click(form->Button2);
    EXPECT_EQ(form->Label2->text(), QStringLiteral("1"));
    EXPECT_FALSE(form->Button2->isEnabled());
    EXPECT_EQ(status(), QString());
    EXPECT_EQ(count(QStringLiteral("0")), 0) << "the player begins the first game";

    click(form->SpeedButton5);
    EXPECT_EQ(caption(5), QStringLiteral("X"));
    EXPECT_EQ(count(QStringLiteral("0")), 1) << "the computer answers at once";
    EXPECT_EQ(form->Label8->text(), QStringLiteral("1"));

    // A click on an occupied cell changes nothing.
    click(form->SpeedButton5);
    EXPECT_EQ(count(QStringLiteral("X")), 1);
    EXPECT_EQ(count(QStringLiteral("0")), 1);

    playToTheEnd();
    EXPECT_TRUE(form->Button2->isEnabled());
    EXPECT_EQ(score(0) + score(1) + score(2), 1.0);
    const QString outcome = status();
    if (outcome == kPlayerWon) {
        EXPECT_EQ(score(0), 1.0);
    } else if (outcome == kComputerWon) {
        EXPECT_EQ(score(1), 1.0);
    } else {
        EXPECT_EQ(outcome, kDraw);
        EXPECT_EQ(score(2), 1.0);
    }

    // After the end, clicks on the free cells are ignored.
    for (int k = 1; k <= 9; ++k) {
        if (caption(k) == QStringLiteral(" ")) {
            click(form->cellButton(k));
            EXPECT_EQ(caption(k), QStringLiteral(" ")) << "cell " << k;
        }
    }
    EXPECT_EQ(status(), outcome);
}

TEST_F(Form1Test, IgnoresCellClicksBeforeTheFirstGame) {
    for (int k = 1; k <= 9; ++k) {
        click(form->cellButton(k));
    }
    EXPECT_EQ(count(QStringLiteral("X")), 0);
    EXPECT_EQ(count(QStringLiteral(" ")), 9);
    EXPECT_EQ(form->Label8->text(), QStringLiteral("0"));
}

TEST_F(Form1Test, ComputerBeginsTheSecondGame) {
    click(form->Button2);
    playToTheEnd();
    const std::int32_t entries = form->entryCount();

    click(form->Button2);
    EXPECT_EQ(form->Label2->text(), QStringLiteral("2"));
    EXPECT_EQ(count(QStringLiteral("0")), 1) << "the computer's first mark is on the board";
    EXPECT_EQ(count(QStringLiteral("X")), 0);
    EXPECT_EQ(status(), QString());
    EXPECT_FALSE(form->Button2->isEnabled());
    EXPECT_EQ(form->Label8->text(), QString::number(entries + 1));
}

TEST_F(Form1Test, WipeEmptiesTheMemoryAndLetsTheGameGoOn) {
    click(form->Button2);
    click(form->SpeedButton1);
    ASSERT_EQ(form->Label8->text(), QStringLiteral("1"));

    click(form->Button1);
    EXPECT_EQ(form->Label8->text(), QStringLiteral("0"));
    EXPECT_EQ(status(), kWiped);
    EXPECT_EQ(form->Label2->text(), QStringLiteral("1"));
    EXPECT_FALSE(form->Button2->isEnabled()) << "the game is still running";
    EXPECT_EQ(caption(1), QStringLiteral("X"));

    playToTheEnd();
    EXPECT_TRUE(form->Button2->isEnabled());
}

TEST_F(Form1Test, KeyboardReachesOnlyThePushButtons) {
    // Space right after start-up clicks the wipe button, which holds the focus.
    ASSERT_EQ(QApplication::focusWidget(), form->Button1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(status(), kWiped);
    EXPECT_EQ(form->Label8->text(), QStringLiteral("0"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form->Button2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(form->Label2->text(), QStringLiteral("1")) << "Enter clicks the focused button";
    EXPECT_FALSE(form->Button2->isEnabled());

    // The disabled play button leaves the focus with the window: keys do nothing.
    EXPECT_EQ(QApplication::focusWidget(), nullptr);
    QTest::keyClick(form.get(), Qt::Key_Space);
    QTest::keyClick(form.get(), Qt::Key_Return);
    EXPECT_EQ(status(), QString());
    EXPECT_EQ(form->Label2->text(), QStringLiteral("1"));
    QTest::keyClick(form.get(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->Button1);

    // Cells never take the focus, and Tab never stops anywhere but the two buttons.
    click(form->SpeedButton9);
    EXPECT_NE(QApplication::focusWidget(), form->SpeedButton9);
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == form->Button1 || focus == form->Button2)
            << "Tab reached " << (focus ? focus->objectName().toStdString() : "nothing");
    }
}

TEST_F(Form1Test, CellClicksOnlyOnReleaseOverTheSameCell) {
    click(form->Button2);
    TSpeedButton* first = form->SpeedButton1;
    TSpeedButton* other = form->SpeedButton2;

    press(first, middle(first));
    EXPECT_TRUE(first->isDown()) << "drawn pushed in while held";
    moveTo(other, middle(other));
    EXPECT_FALSE(first->isDown()) << "drawn raised with the pointer off it";
    moveTo(first, middle(first));
    EXPECT_TRUE(first->isDown()) << "pushed in again with the pointer back";
    moveTo(other, middle(other));
    release(other, middle(other));
    EXPECT_FALSE(first->isDown());
    EXPECT_EQ(count(QStringLiteral("X")), 0) << "released over another cell: no move";

    // Other mouse buttons do nothing.
    click(first, Qt::RightButton);
    click(first, Qt::MiddleButton);
    EXPECT_EQ(count(QStringLiteral("X")), 0);

    // A double click counts as two clicks; the second falls on the new "X" and does nothing.
    QSignalSpy clicks(first, &TSpeedButton::clicked);
    doubleClick(first);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(caption(1), QStringLiteral("X"));
    EXPECT_EQ(count(QStringLiteral("X")), 1);
    EXPECT_EQ(count(QStringLiteral("0")), 1);
}

TEST_F(Form1Test, PlayButtonCoversTheTopRowOfCells) {
    // The one-pixel strip where the play button overlaps the first row belongs to the button.
    const QPoint strip(form->SpeedButton2->geometry().center().x(),
                       form->Button2->geometry().bottom());
    ASSERT_TRUE(form->SpeedButton2->geometry().contains(strip));
    EXPECT_EQ(form->childAt(strip), form->Button2);
    press(form.get(), strip);
    release(form.get(), strip);
    EXPECT_EQ(form->Label2->text(), QStringLiteral("1"));
    EXPECT_EQ(count(QStringLiteral("X")), 0);
}

TEST_F(Form1Test, OverflowingWeightIsReportedAndTheWindowGoesOn) {
    // A huge loss grade, typed before every game ends; it is read as typed while the spinner
    // keeps the focus, so two player wins with the same answers overflow a weight.
    int games = 0;
    while (boxes.empty() && games < 40) {
        ++games;
        click(form->Button2);
        click(form->SpinEdit2);
        QTest::keyClick(form->SpinEdit2, Qt::Key_End);
        QTest::keyClick(form->SpinEdit2, Qt::Key_Backspace);
        QTest::keyClicks(form->SpinEdit2, QStringLiteral("2000000000"));
        ASSERT_EQ(form->SpinEdit2->value(), 2000000000);
        playToTheEnd();
    }
    ASSERT_EQ(boxes.size(), 1u) << "no overflow after " << games << " games";
    EXPECT_GE(games, 2) << "one win cannot overflow a weight";
    EXPECT_EQ(boxes[0].text, QStringLiteral("Integer overflow."));
    EXPECT_EQ(boxes[0].caption, QStringLiteral("Zelmo"));
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

TEST_F(Form1Test, GuardReportsTheErrorAndReleasesTheMouse) {
    form->SpeedButton3->grabMouse();
    bool after = false;
    form->guarded([&after] {
        throw zelmo::engine::ERangeError();
        after = true;
    });
    EXPECT_FALSE(after);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    form->guarded([] { throw std::runtime_error("Stopped."); });
    form->guarded([] {});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Range check error."));
    EXPECT_EQ(boxes[0].caption, QStringLiteral("Zelmo"));
    EXPECT_EQ(boxes[1].text, QStringLiteral("Stopped."));
}

TEST_F(Form1Test, ContactLinksOpenOncePerClick) {
    click(form->Label10);
    click(form->Label9);
    ASSERT_EQ(urls.size(), 2u);
    EXPECT_EQ(urls[0].scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(urls[0].path(), form->Label10->text());
    EXPECT_EQ(urls[1].scheme(), QStringLiteral("https"));
    EXPECT_EQ(urls[1].host(), form->Label9->text());

    doubleClick(form->Label9);
    EXPECT_EQ(urls.size(), 3u) << "a double click opens the link once";

    // Released outside the label: no click.
    press(form->Label10, middle(form->Label10));
    moveTo(form.get(), QPoint(2, 2));
    release(form.get(), QPoint(2, 2));
    EXPECT_EQ(urls.size(), 3u);
}

}  // namespace
