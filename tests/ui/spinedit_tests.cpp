// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the spin editor: parsing, clamping, stepping, the character filter, the clipboard,
// focus, the held-arrow repeat and the layout, driven through real key and mouse events.
#include "ui/spin/spinbutton.h"
#include "ui/spin/spinedit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/ui/printers.h"
#include "ui/form/controlsetup.h"

namespace zelmo::ui {
namespace {

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

// An active window holding a push button (somewhere for the focus to go) and spinners set up as
// the window's grade spinners, each with a beep counter in place of the system beep.
class SpinEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        panel_.resize(300, 600);
        button_ = new QPushButton(QStringLiteral("go"), &panel_);
        button_->setGeometry(100, 10, 60, 20);
        panel_.show();
        panel_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&panel_));
    }

    TSpinEdit* makeSpin(std::int32_t value, bool editorEnabled) {
        auto* spin = new TSpinEdit(&panel_);
        QFont small = spin->font();
        small.setPixelSize(8);  // small enough for the 22-pixel height on any machine
        spin->setFont(small);
        ConfigureGradeSpinner(*spin, value, editorEnabled);
        spin->setDecimalSeparator(u'.');
        spin->setBeep([this] { ++beeps_; });
        spin->setGeometry(10, 30 * static_cast<int>(panel_.children().size()), 33, 22);
        spin->show();
        return spin;
    }

    static void keys(TSpinEdit* spin, const std::vector<QKeyCombination>& combos) {
        for (const QKeyCombination combo : combos) {
            QTest::keyClick(spin, combo.key(), combo.keyboardModifiers());
        }
    }
    static void clickArrow(TSpinEdit* spin, bool up) {
        QTest::mouseClick(up ? spin->button()->upButton() : spin->button()->downButton(),
                          Qt::LeftButton);
    }
    static void clickText(TSpinEdit* spin) {
        QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(6, 10));
    }

    QWidget panel_;
    QPushButton* button_ = nullptr;
    int beeps_ = 0;
};

TEST(SpinEditParse, ParseIntegerTable) {
    // Leading zeros are neither octal nor significant hexadecimal digits.
    // clang-format off
    const std::pair<const char*, std::int32_t> parsed[] = {
        {"0", 0}, {"007", 7}, {"  42", 42}, {"+5", 5}, {"-5", -5}, {"-0", 0}, {"2147483647", kMax32},
        {"-2147483648", kMin32}, {"00000000000012", 12}, {"$5", 5}, {"x5", 5}, {"X1f", 31},
        {"0x5", 5}, {"0XaB", 171}, {" 0x10", 16}, {"$FFFFFFFF", -1}, {"$80000000", kMin32},
        {"$7fffffff", kMax32}, {"$00FFFFFFFF", -1}};
    // clang-format on
    for (const auto& [text, expected] : parsed) {
        EXPECT_EQ(TSpinEdit::ParseInteger(QString::fromLatin1(text)), expected) << text;
    }
    for (const char* text :
         {"",           "   ",  "42 ",        "\t5",         "- 5",
          "-",          "+",    "2147483648", "-2147483649", "99999999999999999999999",
          "$100000000", "$",    "0x",         "x",           "00x5",
          "-$5",        "+0x5", "$-5",        "$g",          "0x 5",
          "4.5",        "4,5",  "5a",         "\u0663"}) {
        EXPECT_EQ(TSpinEdit::ParseInteger(QString::fromUtf8(text)), std::nullopt) << text;
    }
}

TEST(SpinEditValue, ReadsUnclampedAndWritesClamped) {
    TSpinEdit spin;
    spin.setValue(7);
    EXPECT_EQ(spin.text(), "7") << "while both bounds are 0 nothing is clamped";
    ConfigureGradeSpinner(spin, 4, true);
    EXPECT_EQ(spin.text(), "4");
    // Reading never clamps; a text that does not parse reads as MinValue.
    const std::pair<const char*, std::int32_t> reads[] = {
        {"9", 9}, {"-7", -7}, {"4,5", 2}, {"", 2}};
    for (const auto& [text, value] : reads) {
        spin.setText(text);
        EXPECT_EQ(spin.value(), value) << text;
    }
    spin.setValue(9);
    EXPECT_EQ(spin.text(), "5");
    spin.setValue(-7);
    EXPECT_EQ(spin.text(), "2");

    // Equal bounds mean no bounds (saturating beyond 32 bits); inverted bounds test the lower
    // bound first.
    const std::int64_t big = std::int64_t{1} << 40;
    const std::tuple<std::int32_t, std::int32_t, std::int64_t, std::int32_t> clamps[] = {
        {2, 5, 1, 2},        {2, 5, 2, 2},         {2, 5, 5, 5}, {2, 5, 6, 5},
        {2, 5, big, 5},      {2, 5, -big, 2},      {3, 3, 7, 7}, {3, 3, -7, -7},
        {3, 3, big, kMax32}, {3, 3, -big, kMin32}, {5, 2, 3, 5}, {5, 2, 9, 2}};
    for (const auto& [min, max, in, out] : clamps) {
        spin.setMinValue(min);
        spin.setMaxValue(max);
        EXPECT_EQ(spin.ClampValue(in), out) << min << ".." << max << " of " << in;
    }
}

TEST_F(SpinEditTest, ArrowsStepFromTheTextWithinTheBounds) {
    // A disabled editor (the window's first spinner) steps with its arrows all the same.
    TSpinEdit* spin = makeSpin(2, false);
    const std::tuple<const char*, bool, const char*> clicks[] = {
        {"5", true, "5"}, {"5", false, "4"}, {"2", false, "2"}, {"2", true, "3"},
        {"9", true, "5"}, {"9", false, "5"}, {"-7", true, "2"}, {"", true, "3"},
        {"", false, "2"}, {"04", true, "5"}};
    for (const auto& [before, up, after] : clicks) {
        spin->setText(before);
        clickArrow(spin, up);
        EXPECT_EQ(spin->text(), after) << (up ? "up" : "down") << " from \"" << before << '"';
    }
    EXPECT_EQ(beeps_, 0);

    // Steps never overflow: with equal bounds the sum saturates, full-range bounds clamp it, and
    // the most negative increment can be subtracted.
    const std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t, bool, std::int32_t>
        steps[] = {{0, 0, 1, kMax32, true, kMax32},
                   {0, 0, 1, kMin32, false, kMin32},
                   {0, 0, kMin32, kMin32, false, 0},
                   {kMin32, kMax32, kMax32, kMax32 - 1, true, kMax32},
                   {kMin32, kMax32, kMax32, kMin32 + 1, false, kMin32},
                   {2, 5, -1, 4, true, 3}};
    for (const auto& [min, max, increment, from, up, to] : steps) {
        spin->setMinValue(min);
        spin->setMaxValue(max);
        spin->setIncrement(increment);
        spin->setValue(from);
        up ? spin->StepUp() : spin->StepDown();
        EXPECT_EQ(spin->value(), to) << from << (up ? " up by " : " down by ") << increment;
    }
}

TEST_F(SpinEditTest, KeysAreFilteredStepOrBeep) {
    using enum Qt::Key;
    const auto ctrl = [](Qt::Key key) { return Qt::ControlModifier | key; };
    // Each row: editor enabled, decimal separator, the text left and the beeps heard after the
    // keys are pressed in a box holding "3".
    // clang-format off
    const std::tuple<bool, char16_t, const char*, int, std::vector<QKeyCombination>> cases[] = {
        // Only digits, signs and the locale's separator are typed; each refused one beeps.
        {true, u'.', "31+-.", 4,
            {Key_1, Key_Plus, Key_Minus, Key_Period, Key_A, Key_Space, Key_Comma, Key_Dollar}},
        {true, u',', "3,5", 1, {Key_Comma, Key_5, Key_Period}},
        {false, u'.', "3", 4, {Key_4, Key_A, Key_Period, Key_Plus}},
        // Editing and control keys reach an enabled editor silently; a disabled one beeps at
        // Backspace and Delete but lets selection and copying through.
        {true, u'.', "", 0, {Key_4, Key_Backspace, Key_Home, Key_Delete, Key_Escape, ctrl(Key_A)}},
        // Redoing a character typed over a selection, or a deleted selection, leaves the caret
        // after the change and nothing selected: the next characters land at the caret.
        {true, u'.', "+5", 0, {Key_End, Qt::ShiftModifier | Key_Home, Qt::KeypadModifier | Key_Plus,
                               ctrl(Key_Z), Qt::ControlModifier | Qt::ShiftModifier | Key_Z, Key_5}},
        {true, u'.', "56", 0, {Key_End, Qt::ShiftModifier | Key_Home, Key_Delete, ctrl(Key_Z),
                               ctrl(Key_Y), Key_5, Key_6}},
        {false, u'.', "3", 4, {Key_Backspace, ctrl(Key_Backspace), Key_Home, Key_Delete,
                               ctrl(Key_A), ctrl(Key_C), ctrl(Key_Z)}},
        {false, u'.', "3", 2, {Key_Home, ctrl(Key_Delete), Key_End, Qt::ShiftModifier | Key_Home,
                               Qt::ShiftModifier | Key_Backspace}},
        // The arrow keys step in both modes; Enter only beeps.
        {true, u'.', "4", 2,
            {Key_Up, Key_Up, Key_Up, Key_Down, Key_Return, Qt::KeypadModifier | Key_Enter}},
        {false, u'.', "3", 1, {Key_Down, Key_Down, Key_Up, Key_Return}},
        // Alt and Meta do not get characters past the filter.
        {true, u'.', "3", 2, {Qt::AltModifier | Key_A, Qt::MetaModifier | Key_B}},
        {false, u'.', "3", 2, {Qt::AltModifier | Key_5, Qt::MetaModifier | Key_3}}};
    // clang-format on
    int row = 0;
    for (const auto& [enabled, separator, text, beeps, pressed] : cases) {
        beeps_ = 0;
        TSpinEdit* spin = makeSpin(3, enabled);
        spin->setDecimalSeparator(separator);
        keys(spin, pressed);
        EXPECT_EQ(spin->text(), text) << "row " << row;
        EXPECT_EQ(beeps_, beeps) << "row " << row;
        ++row;
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "3");

    // Every binding the platform has for a key that deletes or restores text (its other delete
    // keys such as Ctrl+D, word and line deletions, undo, redo) is refused by a disabled editor
    // with the beep, wherever the cursor stands, after an edit that could be undone.
    for (const auto sequence :
         {QKeySequence::Delete, QKeySequence::Backspace, QKeySequence::Undo, QKeySequence::Redo,
          QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine,
          QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord}) {
        for (const QKeySequence& binding : QKeySequence::keyBindings(sequence)) {
            for (const int cursor : {0, 1, 2}) {
                beeps_ = 0;
                TSpinEdit* spin = makeSpin(3, false);
                spin->setText(QStringLiteral("35"));
                spin->setCursorPosition(cursor);
                keys(spin, {binding[0]});
                EXPECT_EQ(spin->text(), "35")
                    << binding.toString().toStdString() << " at " << cursor;
                EXPECT_EQ(beeps_, 1) << binding.toString().toStdString();
            }
        }
    }

    // A key event may bring several characters (an input tool, a compose sequence): each one
    // passes the filter, and a control character inside a typed text is refused, since the edit
    // box would insert it rather than act on it.
    const std::tuple<bool, Qt::KeyboardModifiers, QString, const char*, int> texts[] = {
        {true, Qt::NoModifier, QStringLiteral("5\x01"), "35", 1},
        {true, Qt::NoModifier, QStringLiteral("5a6"), "356", 1},
        {true, Qt::NoModifier, QStringLiteral("45"), "345", 0},
        {true, Qt::AltModifier, QStringLiteral("7\t"), "37", 1},
        {false, Qt::NoModifier, QStringLiteral("5\x01"), "3", 2},
        {true, Qt::ControlModifier | Qt::ShiftModifier, QStringLiteral("\u200c"), "3", 1}};
    for (const auto& [enabled, mods, typed, text, beeps] : texts) {
        beeps_ = 0;
        TSpinEdit* spin = makeSpin(3, enabled);
        QKeyEvent event(QEvent::KeyPress, Qt::Key_5, mods, typed);
        QApplication::sendEvent(spin, &event);
        EXPECT_EQ(spin->text(), text) << typed.toStdString();
        EXPECT_EQ(beeps_, beeps) << typed.toStdString();
    }

    // The keyboard's own repeat steps with each repeated key-down.
    TSpinEdit* spin = makeSpin(3, false);
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(spin, &repeated);
    QApplication::sendEvent(spin, &repeated);
    EXPECT_EQ(spin->text(), "5");
}

TEST_F(SpinEditTest, PasteAndCutOnlyWhenEditable) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto paste = [&](TSpinEdit* spin, const char* text, QKeyCombination key) {
        clipboard->setText(QString::fromLatin1(text));
        spin->selectAll();
        keys(spin, {key});
    };
    const QKeyCombination ctrlV = Qt::ControlModifier | Qt::Key_V;
    const QKeyCombination shiftIns = Qt::ShiftModifier | Qt::Key_Insert;
    TSpinEdit* spin = makeSpin(2, true);
    // Pasted text is not filtered.
    const std::pair<const char*, std::int32_t> pasted[] = {
        {" 3", 3}, {"3 ", 2}, {"$5", 5}, {"x5", 5}, {"0x5", 5}, {"-$5", 2}, {"ab", 2}};
    for (const auto& [text, value] : pasted) {
        paste(spin, text, ctrlV);
        EXPECT_EQ(spin->text(), text);
        EXPECT_EQ(spin->value(), value) << "pasted \"" << text << "\"";
    }
    paste(spin, "4", shiftIns);
    EXPECT_EQ(spin->text(), "4");
    spin->selectAll();
    keys(spin, {Qt::ControlModifier | Qt::Key_X});
    EXPECT_EQ(spin->text(), "");
    EXPECT_EQ(clipboard->text(), "4");

    // A disabled editor or a read-only value ignores paste and cut silently; copying goes on.
    TSpinEdit* fixed = makeSpin(5, false);
    TSpinEdit* readOnly = makeSpin(5, true);
    readOnly->setReadOnlyValue(true);
    for (TSpinEdit* locked : {fixed, readOnly}) {
        paste(locked, "3", ctrlV);
        paste(locked, "3", shiftIns);
        keys(locked, {Qt::ControlModifier | Qt::Key_X, Qt::ShiftModifier | Qt::Key_Delete});
        EXPECT_EQ(locked->text(), "5");
        EXPECT_EQ(clipboard->text(), "3") << "nothing was cut";
    }
    EXPECT_EQ(beeps_, 0) << "ignored paste and cut are silent";
    keys(fixed, {Qt::ControlModifier | Qt::Key_Insert});
    EXPECT_EQ(clipboard->text(), "5") << "copying is always allowed";

    // With a read-only value every step only beeps.
    clickArrow(readOnly, true);
    readOnly->StepDown();
    keys(readOnly, {Qt::Key_Up});
    EXPECT_EQ(readOnly->text(), "5");
    EXPECT_EQ(beeps_, 3);
}

TEST_F(SpinEditTest, DisabledEditorTextSurvivesMenuAndDrop) {
    TSpinEdit* spin = makeSpin(5, false);
    clickText(spin);
    spin->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("3"));
    // The context menu offers only copying and selecting; its other actions do nothing even when
    // triggered.
    std::unique_ptr<QMenu> menu(spin->createContextMenu());
    for (QAction* action : menu->actions()) {
        const QString name = action->objectName();
        if (name.isEmpty()) {
            continue;  // a separator
        }
        EXPECT_EQ(action->isEnabled(), name == "edit-copy") << name.toStdString();
        action->trigger();
        EXPECT_EQ(spin->text(), "5") << name.toStdString();
    }
    // Text dropped on it and the middle button's paste leave it alone.
    QMimeData mime;
    mime.setText(QStringLiteral("3"));
    QDragEnterEvent enter(QPoint(6, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(spin, &enter);
    EXPECT_FALSE(enter.isAccepted());
    QDropEvent drop(QPointF(6, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(spin, &drop);
    QTest::mouseClick(spin, Qt::MiddleButton, {}, QPoint(6, 10));
    EXPECT_EQ(spin->text(), "5");
    EXPECT_EQ(beeps_, 0);
}

TEST_F(SpinEditTest, FocusLeavingClampsOnlyNumbersOutOfBounds) {
    TSpinEdit* spin = makeSpin(2, true);
    clickText(spin);
    ASSERT_TRUE(spin->hasFocus()) << "a click into the text enters a box that is no tab stop";
    EXPECT_FALSE(spin->hasSelectedText()) << "no auto-select for the grade spinners";
    QTest::mouseClick(button_, Qt::LeftButton);
    spin->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(spin->hasSelectedText());

    const std::tuple<char16_t, const char*, std::int32_t, const char*> cases[] = {
        {u'.', "9", 9, "5"}, {u'.', "-7", -7, "2"}, {u'.', "04", 4, "04"},
        {u'.', "", 2, ""},   {u'.', "+", 2, "+"},   {u',', "4,5", 2, "4,5"}};
    for (const auto& [separator, typed, whileFocused, afterLeaving] : cases) {
        spin->setDecimalSeparator(separator);
        clickText(spin);
        spin->selectAll();
        keys(spin, {Qt::Key_Backspace});
        QTest::keyClicks(spin, typed);
        ASSERT_TRUE(spin->hasFocus());
        EXPECT_EQ(spin->value(), whileFocused) << typed;
        QTest::mouseClick(button_, Qt::LeftButton);
        ASSERT_FALSE(spin->hasFocus());
        EXPECT_EQ(spin->text(), afterLeaving) << typed;
    }
    EXPECT_EQ(beeps_, 0);

    // A press on another box's arrow leaves the focus, so the typed text is not clamped yet.
    TSpinEdit* other = makeSpin(4, true);
    clickText(spin);
    spin->selectAll();
    QTest::keyClicks(spin, "9");
    clickArrow(other, true);
    EXPECT_EQ(other->text(), "5");
    EXPECT_TRUE(spin->hasFocus()) << "an arrow press must not move the focus";
    EXPECT_EQ(spin->text(), "9");

    // Losing the focus with the whole window clamps as well.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    EXPECT_EQ(spin->text(), "5");
}

TEST_F(SpinEditTest, HeldArrowRepeatsAndClicksStepOnce) {
    TSpinEdit* spin = makeSpin(2, true);
    TTimerSpeedButton* up = spin->button()->upButton();

    // Held at 2: steps at 400, 500 and 600 ms, and once more at the release, which clamps.
    QTest::mousePress(up, Qt::LeftButton);
    EXPECT_TRUE(up->isDown());
    EXPECT_EQ(up->timerInterval(), 400);
    EXPECT_EQ(spin->text(), "2") << "the press itself does not step";
    for (const char* expected : {"3", "4", "5"}) {
        up->timerTick();
        EXPECT_EQ(up->timerInterval(), 100);
        EXPECT_EQ(spin->text(), expected);
    }
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_EQ(spin->text(), "5");
    EXPECT_FALSE(up->isDown());
    EXPECT_FALSE(up->timerActive());

    // Moving off pauses the steps and moving back resumes them; the release over the arrow
    // steps once more, a release off it does not, and a tick after a release does nothing.
    spin->setMaxValue(100);
    spin->setValue(10);
    TTimerSpeedButton* down = spin->button()->downButton();
    QTest::mousePress(down, Qt::LeftButton);
    down->timerTick();
    QTest::mouseMove(down, QPoint(-4, 3));
    EXPECT_FALSE(down->isDown());
    down->timerTick();
    down->timerTick();
    EXPECT_EQ(spin->text(), "9") << "paused while off the arrow";
    QTest::mouseMove(down, QPoint(5, 5));
    EXPECT_TRUE(down->isDown());
    down->timerTick();
    QTest::mouseRelease(down, Qt::LeftButton);
    EXPECT_EQ(spin->text(), "7");
    down->timerTick();
    QTest::mousePress(down, Qt::LeftButton);
    QTest::mouseMove(down, QPoint(5, 40));
    QTest::mouseRelease(down, Qt::LeftButton, {}, QPoint(5, 40));
    EXPECT_EQ(spin->text(), "7") << "a release off the arrow does not step";
    EXPECT_FALSE(down->timerActive());

    // The repeat timer itself drives the steps: held long enough, the arrow steps on its own,
    // one step per tick, however slowly the machine runs.
    spin->setValue(10);
    QTest::mousePress(up, Qt::LeftButton);
    EXPECT_TRUE(up->timerActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return spin->text() == "11"; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return spin->text() == "12"; }, 5000));
    QTest::mouseRelease(up, Qt::LeftButton);
    const QString released = spin->text();
    QTest::qWait(3 * TTimerSpeedButton::kRepeatMs);
    EXPECT_EQ(spin->text(), released) << "no step after the release";
    spin->setValue(7);

    // A double click is two clicks; other buttons do nothing.
    QTest::mousePress(up, Qt::LeftButton);
    QTest::mouseRelease(up, Qt::LeftButton);
    QTest::mouseDClick(up, Qt::LeftButton);
    QTest::mouseRelease(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::RightButton);
    QTest::mouseClick(up, Qt::MiddleButton);
    EXPECT_EQ(spin->text(), "9");
}

TEST_F(SpinEditTest, LayoutOfBoxArrowsGlyphsAndText) {
    TSpinEdit* spin = makeSpin(2, true);
    ASSERT_EQ(spin->size(), QSize(33, 22));
    const QPoint client(TSpinEdit::kBorder, TSpinEdit::kBorder);
    EXPECT_EQ(spin->button()->geometry().translated(-client), QRect(QPoint(13, 0), QPoint(27, 16)));
    EXPECT_EQ(spin->button()->upButton()->geometry(), QRect(QPoint(0, 0), QPoint(14, 7)));
    EXPECT_EQ(spin->button()->downButton()->geometry(), QRect(QPoint(0, 7), QPoint(14, 16)));
    EXPECT_EQ(spin->EditRect(), QRect(QPoint(0, 0), QPoint(11, 18)));

    // Glyphs: the up arrow's rows 1, 3, 5, 7 wide from box y 4, the down arrow's 7, 5, 3, 1 from
    // y 12, centred on box x 22.
    spin->setText("8888");
    spin->setCursorPosition(0);
    const QImage image = spin->grab().toImage();
    const auto black = [&](int x, int y) { return image.pixelColor(x, y) == QColor(Qt::black); };
    const std::pair<int, int> rows[] = {{3, -1}, {4, 0},  {5, 1},  {6, 2},  {7, 3},
                                        {12, 3}, {13, 2}, {14, 1}, {15, 0}, {16, -1}};
    for (const auto& [y, half] : rows) {
        for (int x = 18; x <= 26; ++x) {
            EXPECT_EQ(black(x, y), x >= 22 - half && x <= 22 + half) << "pixel " << x << "," << y;
        }
    }
    // The text starts at the edit rectangle's top left (box 2, 2) and never reaches the gap
    // between the edit rectangle (box x 2..13) and the arrows.
    const QColor base = spin->palette().color(QPalette::Base);
    QRect ink;
    for (int y = 2; y < 20; ++y) {
        for (int x = 2; x < 15; ++x) {
            ink |= image.pixelColor(x, y) == base ? QRect() : QRect(x, y, 1, 1);
        }
    }
    ASSERT_FALSE(ink.isNull());
    EXPECT_LE(ink.right(), 13);
    EXPECT_LE(ink.left(), 4);
    EXPECT_LE(ink.top(), 7);

    // A box made lower than its full height stops at the exact minimum, though the system font
    // that the minimum depends on is only measured then.
    spin->resize(33, 10);
    EXPECT_EQ(spin->height(), spin->MinimumHeight());

    // The height is never below the minimum for the font; the arrows follow a resize.
    QFont font = spin->font();
    font.setPixelSize(30);
    spin->setFont(font);
    EXPECT_GE(spin->MinimumHeight(), QFontMetrics(font).height() + 6);
    spin->resize(60, 10);
    EXPECT_EQ(spin->height(), spin->MinimumHeight());
    spin->resize(60, 80);
    EXPECT_EQ(spin->button()->geometry().translated(-client), QRect(40, 0, 15, 75));
    EXPECT_EQ(spin->button()->downButton()->geometry(), QRect(0, 36, 15, 39));
}

}  // namespace
}  // namespace zelmo::ui
