// Tests of the spin editor: parsing, clamping, stepping, the character filter, the clipboard,
// focus, the held-arrow repeat and the layout, driven through real key and mouse events.
#include "ui/spinedit.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

// Readable failure messages for texts.
static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace zelmo::ui {
namespace {

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

// A shown panel holding spinners configured as the window's grade spinners, each with a beep
// counter in place of the system beep.
class SpinEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        panel_.resize(300, 400);
        panel_.show();
    }

    TSpinEdit* makeSpin(std::int32_t value, bool editorEnabled) {
        auto* spin = new TSpinEdit(&panel_);
        QFont small = spin->font();
        small.setPixelSize(8);  // small enough for the 22-pixel height on any machine
        spin->setFont(small);
        ConfigureGradeSpinner(*spin, value, editorEnabled);
        spin->setDecimalSeparator(u'.');
        spin->setBeep([this] { ++beeps_; });
        spin->setGeometry(10, 10 + 30 * static_cast<int>(panel_.children().size()), 33, 22);
        spin->show();
        return spin;
    }

    static void typeText(TSpinEdit* spin, const QString& text) {
        spin->setCursorPosition(static_cast<int>(spin->text().size()));
        QTest::keyClicks(spin, text);
    }

    static void clickUp(TSpinEdit* spin) {
        QTest::mouseClick(spin->button()->upButton(), Qt::LeftButton);
    }
    static void clickDown(TSpinEdit* spin) {
        QTest::mouseClick(spin->button()->downButton(), Qt::LeftButton);
    }

    QWidget panel_;
    int beeps_ = 0;
};

TEST(SpinEditParse, ParseIntegerTable) {
    const std::vector<std::pair<const char*, std::int32_t>> parsed = {
        {"0", 0},
        {"007", 7},
        {"  42", 42},
        {"+5", 5},
        {"-5", -5},
        {"-0", 0},
        {"2147483647", kMax32},
        {"-2147483648", kMin32},
        {"0000000000000000000000012", 12},
        {"$5", 5},
        {"x5", 5},
        {"X1f", 31},
        {"0x5", 5},
        {"0XaB", 171},
        {" 0x10", 16},
        {"$FFFFFFFF", -1},
        {"$80000000", kMin32},
        {"$7fffffff", kMax32},
        {"$000000000FFFFFFFF", -1}};  // leading zeros are not significant digits
    for (const auto& [text, expected] : parsed) {
        EXPECT_EQ(TSpinEdit::ParseInteger(QString::fromLatin1(text)), expected)
            << "text \"" << text << "\"";
    }
    const std::vector<const char*> failing = {
        "",           "   ",  "42 ",        "\t5",         "- 5",
        "-",          "+",    "2147483648", "-2147483649", "99999999999999999999999",
        "$100000000", "$",    "0x",         "x",           "00x5",
        "-$5",        "+0x5", "$-5",        "$g",          "0x 5",
        "4.5",        "4,5",  "5a"};
    for (const char* text : failing) {
        EXPECT_EQ(TSpinEdit::ParseInteger(QString::fromLatin1(text)), std::nullopt)
            << "text \"" << text << "\"";
    }
    // Digits of other scripts are not decimal digits here.
    EXPECT_EQ(TSpinEdit::ParseInteger(QStringLiteral("\u0663")), std::nullopt);
}

TEST(SpinEditValue, ReadAndClamp) {
    TSpinEdit spin;
    EXPECT_EQ(spin.text(), "0");
    EXPECT_EQ(spin.value(), 0);
    EXPECT_EQ(spin.increment(), 1);
    EXPECT_TRUE(spin.editorEnabled());
    EXPECT_TRUE(spin.autoSelect());
    EXPECT_TRUE(spin.tabStop());
    EXPECT_FALSE(spin.readOnlyValue());

    // While both bounds are 0 nothing is clamped.
    spin.setValue(7);
    EXPECT_EQ(spin.text(), "7");

    ConfigureGradeSpinner(spin, 4, true);
    EXPECT_EQ(spin.text(), "4");
    EXPECT_EQ(spin.minValue(), 2);
    EXPECT_EQ(spin.maxValue(), 5);
    EXPECT_FALSE(spin.tabStop());
    EXPECT_FALSE(spin.autoSelect());

    // Reading never clamps; a text that does not parse reads as MinValue.
    spin.setText("9");
    EXPECT_EQ(spin.value(), 9);
    spin.setText("-7");
    EXPECT_EQ(spin.value(), -7);
    spin.setText("4,5");
    EXPECT_EQ(spin.value(), 2);
    spin.setText("");
    EXPECT_EQ(spin.value(), 2);

    // Writing clamps.
    spin.setValue(9);
    EXPECT_EQ(spin.text(), "5");
    spin.setValue(-7);
    EXPECT_EQ(spin.text(), "2");

    EXPECT_EQ(spin.ClampValue(1), 2);
    EXPECT_EQ(spin.ClampValue(2), 2);
    EXPECT_EQ(spin.ClampValue(5), 5);
    EXPECT_EQ(spin.ClampValue(6), 5);
    EXPECT_EQ(spin.ClampValue(std::int64_t{1} << 40), 5);
    EXPECT_EQ(spin.ClampValue(-(std::int64_t{1} << 40)), 2);

    // Equal bounds mean no bounds; beyond 32 bits the result saturates.
    spin.setMinValue(3);
    spin.setMaxValue(3);
    EXPECT_EQ(spin.ClampValue(7), 7);
    EXPECT_EQ(spin.ClampValue(-7), -7);
    EXPECT_EQ(spin.ClampValue(std::int64_t{1} << 40), kMax32);
    EXPECT_EQ(spin.ClampValue(-(std::int64_t{1} << 40)), kMin32);

    // Inverted bounds: the lower bound is tested first.
    spin.setMinValue(5);
    spin.setMaxValue(2);
    EXPECT_EQ(spin.ClampValue(3), 5);
    EXPECT_EQ(spin.ClampValue(9), 2);
}

TEST_F(SpinEditTest, ArrowsStepWithinBoundsAndFromOutOfRangeTexts) {
    TSpinEdit* spin = makeSpin(5, true);
    clickUp(spin);
    EXPECT_EQ(spin->text(), "5") << "up at the upper bound";
    clickDown(spin);
    EXPECT_EQ(spin->text(), "4");
    spin->setValue(2);
    clickDown(spin);
    EXPECT_EQ(spin->text(), "2") << "down at the lower bound";
    clickUp(spin);
    EXPECT_EQ(spin->text(), "3");

    spin->setText("9");
    clickUp(spin);
    EXPECT_EQ(spin->text(), "5") << "up from 9";
    spin->setText("9");
    clickDown(spin);
    EXPECT_EQ(spin->text(), "5") << "down from 9";
    spin->setText("-7");
    clickUp(spin);
    EXPECT_EQ(spin->text(), "2") << "up from -7";
    spin->setText("");
    clickUp(spin);
    EXPECT_EQ(spin->text(), "3") << "up from an empty text";
    spin->setText("");
    clickDown(spin);
    EXPECT_EQ(spin->text(), "2") << "down from an empty text";
    spin->setText("04");
    clickUp(spin);
    EXPECT_EQ(spin->text(), "5");
    EXPECT_EQ(beeps_, 0);

    // The disabled editor still steps with its arrows.
    TSpinEdit* fixed = makeSpin(5, false);
    clickDown(fixed);
    clickDown(fixed);
    EXPECT_EQ(fixed->text(), "3");
    EXPECT_EQ(beeps_, 0);
}

TEST_F(SpinEditTest, StepsNeverOverflow) {
    TSpinEdit* spin = makeSpin(0, true);
    // Equal bounds: no clamping, so the sum saturates at the 32-bit limits.
    spin->setMinValue(0);
    spin->setMaxValue(0);
    spin->setValue(kMax32);
    spin->StepUp();
    EXPECT_EQ(spin->text(), "2147483647");
    spin->setValue(kMin32);
    spin->StepDown();
    EXPECT_EQ(spin->text(), "-2147483648");
    spin->setIncrement(kMin32);
    spin->StepDown();  // subtracting the most negative increment
    EXPECT_EQ(spin->text(), "0");

    // Full-range bounds clamp the sum.
    spin->setMinValue(kMin32);
    spin->setMaxValue(kMax32);
    spin->setIncrement(kMax32);
    spin->setValue(kMax32 - 1);
    spin->StepUp();
    EXPECT_EQ(spin->text(), "2147483647");
    spin->setValue(kMin32 + 1);
    spin->StepDown();
    EXPECT_EQ(spin->text(), "-2147483648");

    // A negative increment steps the other way.
    ConfigureGradeSpinner(*spin, 4, true);
    spin->setIncrement(-1);
    spin->StepUp();
    EXPECT_EQ(spin->text(), "3");
}

TEST_F(SpinEditTest, ReadOnlyStepsOnlyBeep) {
    TSpinEdit* spin = makeSpin(3, true);
    spin->setReadOnlyValue(true);
    clickUp(spin);
    spin->StepDown();
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->text(), "3");
    EXPECT_EQ(beeps_, 3);

    QGuiApplication::clipboard()->setText("4");
    spin->selectAll();
    QTest::keyClick(spin, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(spin, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(spin->text(), "3");
    EXPECT_EQ(beeps_, 3) << "ignored paste and cut are silent";
}

TEST(SpinEditFilter, AcceptsCharTable) {
    struct Case {
        char16_t c;
        bool enabled;
        bool disabled;
    };
    const std::vector<Case> cases = {
        {u'0', true, false},   {u'9', true, false},  {u'+', true, false},  {u'-', true, false},
        {u'.', true, false},   {u',', false, false}, {u'a', false, false}, {u' ', false, false},
        {u'$', false, false},  {8, true, false},     {13, false, false},   {27, true, true},
        {1, true, true},       {22, true, true},     {127, false, false},  {0, false, false},
        {0x663, false, false},
    };
    TSpinEdit spin;
    spin.setDecimalSeparator(u'.');
    for (const Case& c : cases) {
        spin.setEditorEnabled(true);
        EXPECT_EQ(spin.AcceptsChar(QChar(c.c)), c.enabled) << "enabled, code " << int(c.c);
        spin.setEditorEnabled(false);
        EXPECT_EQ(spin.AcceptsChar(QChar(c.c)), c.disabled) << "disabled, code " << int(c.c);
    }
}

TEST_F(SpinEditTest, TypingIntoAnEnabledEditor) {
    TSpinEdit* spin = makeSpin(2, true);
    typeText(spin, "1+-.");
    EXPECT_EQ(spin->text(), "21+-.");
    EXPECT_EQ(beeps_, 0);

    typeText(spin, "a ,");
    EXPECT_EQ(spin->text(), "21+-.");
    EXPECT_EQ(beeps_, 3) << "a letter, a space and a foreign separator each beep";

    QTest::keyClick(spin, Qt::Key_Backspace);
    QTest::keyClick(spin, Qt::Key_Home);
    QTest::keyClick(spin, Qt::Key_Delete);
    EXPECT_EQ(spin->text(), "1+-");
    QTest::keyClick(spin, Qt::Key_Escape);
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(spin->selectedText(), "1+-") << "control keys reach the edit box";
    EXPECT_EQ(beeps_, 3);

    QTest::keyClick(spin, Qt::Key_Return);
    QTest::keyClick(spin, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(spin->text(), "1+-");
    EXPECT_EQ(beeps_, 5) << "Enter beeps";
}

TEST_F(SpinEditTest, EnterGoesNowhereElse) {
    TSpinEdit* spin = makeSpin(2, true);
    struct Counter : QObject {
        int keys = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::KeyPress) {
                ++keys;
            }
            return false;
        }
    } counter;
    panel_.installEventFilter(&counter);
    QTest::keyClick(spin, Qt::Key_Return);
    EXPECT_EQ(counter.keys, 0) << "Enter must not travel on to the parent";
    EXPECT_EQ(beeps_, 1);
}

TEST_F(SpinEditTest, DisabledEditorRefusesEveryEdit) {
    TSpinEdit* spin = makeSpin(5, false);
    spin->setCursorPosition(1);
    typeText(spin, "4a.");
    QTest::keyClick(spin, Qt::Key_Backspace);
    QTest::keyClick(spin, Qt::Key_Backspace, Qt::ControlModifier);
    QTest::keyClick(spin, Qt::Key_Home);
    QTest::keyClick(spin, Qt::Key_Delete);
    QTest::keyClick(spin, Qt::Key_Return);
    EXPECT_EQ(spin->text(), "5");
    EXPECT_EQ(beeps_, 7);

    // Cursor moves, selection and copying stay silent; undo has nothing to take back.
    QTest::keyClick(spin, Qt::Key_End);
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(spin, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(spin, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "5");
    EXPECT_EQ(spin->text(), "5");
    EXPECT_EQ(beeps_, 7);

    // The up and down keys still step, the keyboard's own repeat included.
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(spin->text(), "4");
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(spin, &repeated);
    EXPECT_EQ(spin->text(), "3");
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->text(), "4");
    EXPECT_EQ(beeps_, 7);
}

TEST_F(SpinEditTest, CommaSeparator) {
    TSpinEdit* spin = makeSpin(2, true);
    spin->setDecimalSeparator(u',');
    spin->clear();
    QTest::keyClicks(spin, "4,5");
    EXPECT_EQ(spin->text(), "4,5");
    EXPECT_EQ(beeps_, 0);
    EXPECT_EQ(spin->value(), 2);
    QTest::keyClicks(spin, ".");
    EXPECT_EQ(spin->text(), "4,5");
    EXPECT_EQ(beeps_, 1);
}

TEST_F(SpinEditTest, PasteAndCutOnlyWhenEditable) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    TSpinEdit* spin = makeSpin(2, true);
    const auto pasteInto = [&](const char* text) {
        clipboard->setText(QString::fromLatin1(text));
        spin->selectAll();
        QTest::keyClick(spin, Qt::Key_V, Qt::ControlModifier);
        return spin->value();
    };
    // Pasted text is not filtered.
    EXPECT_EQ(pasteInto(" 3"), 3);
    EXPECT_EQ(pasteInto("3 "), 2);
    EXPECT_EQ(spin->text(), "3 ");
    EXPECT_EQ(pasteInto("$5"), 5);
    EXPECT_EQ(pasteInto("x5"), 5);
    EXPECT_EQ(pasteInto("0x5"), 5);
    EXPECT_EQ(pasteInto("-$5"), 2);
    EXPECT_EQ(pasteInto("ab"), 2);
    EXPECT_EQ(spin->text(), "ab");
    clipboard->setText("4");
    spin->selectAll();
    QTest::keyClick(spin, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(spin->text(), "4");
    spin->selectAll();
    QTest::keyClick(spin, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(spin->text(), "");
    EXPECT_EQ(clipboard->text(), "4");
    EXPECT_EQ(beeps_, 0);

    TSpinEdit* fixed = makeSpin(5, false);
    clipboard->setText("3");
    fixed->selectAll();
    QTest::keyClick(fixed, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(fixed, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(fixed, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(fixed, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(fixed->text(), "5");
    EXPECT_EQ(clipboard->text(), "3") << "nothing was cut";
    EXPECT_EQ(beeps_, 0) << "ignored paste and cut are silent";
    QTest::keyClick(fixed, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), "5") << "copying is always allowed";
}

TEST_F(SpinEditTest, ContextMenuFollowsTheEditor) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto action = [](QMenu* menu, const char* name) {
        QAction* found = menu->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    };

    TSpinEdit* fixed = makeSpin(5, false);
    clipboard->setText("3");
    fixed->selectAll();
    std::unique_ptr<QMenu> menu(fixed->createContextMenu());
    EXPECT_FALSE(action(menu.get(), "edit-paste")->isEnabled());
    EXPECT_FALSE(action(menu.get(), "edit-cut")->isEnabled());
    EXPECT_FALSE(action(menu.get(), "edit-delete")->isEnabled());
    EXPECT_FALSE(action(menu.get(), "edit-undo")->isEnabled());
    EXPECT_TRUE(action(menu.get(), "edit-copy")->isEnabled());
    action(menu.get(), "edit-paste")->trigger();
    action(menu.get(), "edit-cut")->trigger();
    action(menu.get(), "edit-delete")->trigger();
    EXPECT_EQ(fixed->text(), "5");
    action(menu.get(), "edit-copy")->trigger();
    EXPECT_EQ(clipboard->text(), "5");

    TSpinEdit* spin = makeSpin(2, true);
    clipboard->setText("4");
    spin->selectAll();
    menu.reset(spin->createContextMenu());
    EXPECT_TRUE(action(menu.get(), "edit-paste")->isEnabled());
    EXPECT_TRUE(action(menu.get(), "edit-cut")->isEnabled());
    action(menu.get(), "edit-paste")->trigger();
    EXPECT_EQ(spin->text(), "4");

    // A request that comes after the editor was disabled is dropped too.
    spin->selectAll();
    menu.reset(spin->createContextMenu());
    spin->setEditorEnabled(false);
    action(menu.get(), "edit-cut")->trigger();
    EXPECT_EQ(spin->text(), "4");
    EXPECT_EQ(beeps_, 0);
}

// Focus needs an active window.
class SpinEditFocusTest : public SpinEditTest {
  protected:
    void SetUp() override {
        SpinEditTest::SetUp();
        button_ = new QPushButton(QStringLiteral("go"), &panel_);
        button_->setGeometry(100, 10, 60, 20);
        button_->show();
        panel_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&panel_));
    }
    static void clickText(TSpinEdit* spin) {
        QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(6, 10));
    }
    QPushButton* button_ = nullptr;
};

TEST_F(SpinEditFocusTest, LeavingClampsOnlyNumbersOutOfBounds) {
    TSpinEdit* spin = makeSpin(2, true);
    clickText(spin);
    ASSERT_TRUE(spin->hasFocus()) << "a click into the text enters a box that is no tab stop";
    EXPECT_FALSE(spin->hasSelectedText()) << "no auto-select for the grade spinners";

    const auto retype = [&](const char* text) {
        clickText(spin);
        spin->selectAll();
        QTest::keyClick(spin, Qt::Key_Backspace);
        QTest::keyClicks(spin, text);
        EXPECT_TRUE(spin->hasFocus());
        const std::int32_t whileFocused = spin->value();
        QTest::mouseClick(button_, Qt::LeftButton);
        EXPECT_FALSE(spin->hasFocus());
        return whileFocused;
    };
    EXPECT_EQ(retype("9"), 9);
    EXPECT_EQ(spin->text(), "5");
    EXPECT_EQ(retype("-7"), -7);
    EXPECT_EQ(spin->text(), "2");
    EXPECT_EQ(retype("04"), 4);
    EXPECT_EQ(spin->text(), "04");
    EXPECT_EQ(retype(""), 2);
    EXPECT_EQ(spin->text(), "");
    EXPECT_EQ(retype("+"), 2);
    EXPECT_EQ(spin->text(), "+");
    EXPECT_EQ(beeps_, 0);

    spin->setDecimalSeparator(u',');
    EXPECT_EQ(retype("4,5"), 2);
    EXPECT_EQ(spin->text(), "4,5");
}

TEST_F(SpinEditFocusTest, ArrowPressKeepsTheFocus) {
    TSpinEdit* typed = makeSpin(2, true);
    TSpinEdit* other = makeSpin(4, true);
    clickText(typed);
    typed->selectAll();
    QTest::keyClicks(typed, "9");
    ASSERT_TRUE(typed->hasFocus());

    clickUp(other);
    EXPECT_EQ(other->text(), "5");
    EXPECT_TRUE(typed->hasFocus()) << "an arrow press must not move the focus";
    EXPECT_EQ(typed->text(), "9") << "the focused box has not been left";

    QTest::mouseClick(button_, Qt::LeftButton);
    clickDown(typed);
    EXPECT_TRUE(button_->hasFocus());
    EXPECT_EQ(typed->text(), "4");

    // A box that is a tab stop is entered by a press on its arrows.
    TSpinEdit* stop = makeSpin(3, true);
    stop->setTabStop(true);
    clickUp(stop);
    EXPECT_TRUE(stop->hasFocus());
    EXPECT_EQ(stop->text(), "4");
}

TEST_F(SpinEditFocusTest, AutoSelectOnEntry) {
    TSpinEdit* grade = makeSpin(3, true);
    grade->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(grade->hasSelectedText()) << "AutoSelect off";

    TSpinEdit* spin = makeSpin(3, true);
    spin->setAutoSelect(true);
    spin->setTabStop(true);
    spin->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(spin->selectedText(), "3");
    QTest::mouseClick(button_, Qt::LeftButton);
    clickText(spin);
    EXPECT_TRUE(spin->hasFocus());
    EXPECT_FALSE(spin->hasSelectedText()) << "a mouse entry selects nothing";
}

TEST_F(SpinEditTest, KeysStep) {
    TSpinEdit* spin = makeSpin(3, true);
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->text(), "4");
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(spin, &repeated);
    EXPECT_EQ(spin->text(), "5");
    QApplication::sendEvent(spin, &repeated);
    EXPECT_EQ(spin->text(), "5");
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(spin->text(), "4");
    EXPECT_EQ(beeps_, 0);
}

TEST_F(SpinEditTest, HeldArrowRepeats) {
    TSpinEdit* spin = makeSpin(2, true);
    TTimerSpeedButton* up = spin->button()->upButton();

    // Held at 2: steps at 400, 500 and 600 ms, and once more at the release, which clamps.
    QTest::mousePress(up, Qt::LeftButton);
    EXPECT_TRUE(up->isDown());
    EXPECT_TRUE(up->timerActive());
    EXPECT_EQ(up->timerInterval(), TTimerSpeedButton::kFirstDelayMs);
    EXPECT_EQ(spin->text(), "2") << "the press itself does not step";
    up->timerTick();
    EXPECT_EQ(up->timerInterval(), TTimerSpeedButton::kRepeatMs);
    EXPECT_EQ(spin->text(), "3");
    up->timerTick();
    EXPECT_EQ(spin->text(), "4");
    up->timerTick();
    EXPECT_EQ(spin->text(), "5");
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_EQ(spin->text(), "5");
    EXPECT_FALSE(up->isDown());
    EXPECT_FALSE(up->timerActive());

    // Without bounds in the way the release step shows.
    spin->setMaxValue(100);
    spin->setValue(10);
    QTest::mousePress(up, Qt::LeftButton);
    up->timerTick();
    up->timerTick();
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_EQ(spin->text(), "13");
    // A tick after the release does nothing.
    up->timerTick();
    EXPECT_EQ(spin->text(), "13");
}

TEST_F(SpinEditTest, MovingOffPausesTheRepeat) {
    TSpinEdit* spin = makeSpin(2, true);
    spin->setMaxValue(100);
    spin->setValue(10);
    TTimerSpeedButton* down = spin->button()->downButton();

    QTest::mousePress(down, Qt::LeftButton);
    down->timerTick();
    EXPECT_EQ(spin->text(), "9");
    QTest::mouseMove(down, QPoint(-4, 3));
    EXPECT_FALSE(down->isDown());
    down->timerTick();
    down->timerTick();
    EXPECT_EQ(spin->text(), "9") << "paused while off the arrow";
    EXPECT_TRUE(down->timerActive());
    QTest::mouseMove(down, QPoint(5, 5));
    EXPECT_TRUE(down->isDown());
    down->timerTick();
    EXPECT_EQ(spin->text(), "8");
    QTest::mouseMove(down, QPoint(5, 40));
    QTest::mouseRelease(down, Qt::LeftButton, {}, QPoint(5, 40));
    EXPECT_EQ(spin->text(), "8") << "a release off the arrow does not step";
    EXPECT_FALSE(down->timerActive());
}

TEST_F(SpinEditTest, ClicksOnTheArrows) {
    TSpinEdit* spin = makeSpin(2, true);
    spin->setMaxValue(100);
    TTimerSpeedButton* up = spin->button()->upButton();

    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(spin->text(), "3") << "a quick click steps once";
    EXPECT_FALSE(up->timerActive());

    QTest::mousePress(up, Qt::LeftButton);
    QTest::mouseRelease(up, Qt::LeftButton);
    QTest::mouseDClick(up, Qt::LeftButton);
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_EQ(spin->text(), "5") << "a double click is two clicks";

    QTest::mouseClick(up, Qt::RightButton);
    QTest::mouseClick(up, Qt::MiddleButton);
    EXPECT_EQ(spin->text(), "5") << "other buttons do nothing";

    // Losing the window's activation mid-press ends the hold: no further steps.
    QTest::mousePress(up, Qt::LeftButton);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(up, &deactivate);
    EXPECT_FALSE(up->isDown());
    EXPECT_FALSE(up->timerActive());
    up->timerTick();
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_EQ(spin->text(), "5");
}

TEST_F(SpinEditTest, LayoutOfBoxArrowsAndText) {
    TSpinEdit* spin = makeSpin(2, true);
    ASSERT_EQ(spin->size(), QSize(33, 22));
    const QPoint client(TSpinEdit::kBorder, TSpinEdit::kBorder);
    EXPECT_EQ(spin->button()->geometry().translated(-client), QRect(QPoint(13, 0), QPoint(27, 16)));
    EXPECT_EQ(spin->button()->upButton()->geometry(), QRect(QPoint(0, 0), QPoint(14, 7)));
    EXPECT_EQ(spin->button()->downButton()->geometry(), QRect(QPoint(0, 7), QPoint(14, 16)));
    EXPECT_EQ(spin->EditRect(), QRect(QPoint(0, 0), QPoint(11, 18)));

    spin->resize(60, 40);
    EXPECT_EQ(spin->button()->geometry().translated(-client), QRect(40, 0, 15, 35));
    EXPECT_EQ(spin->button()->upButton()->geometry(), QRect(0, 0, 15, 17));
    EXPECT_EQ(spin->button()->downButton()->geometry(), QRect(0, 16, 15, 19));
}

TEST_F(SpinEditTest, GlyphsAreCentredTriangles) {
    TSpinEdit* spin = makeSpin(2, true);
    const QImage image = spin->grab().toImage();
    const auto black = [&](int x, int y) { return image.pixelColor(x, y) == QColor(Qt::black); };
    // The up arrow covers box x 15..29, y 2..9; its glyph's rows are 1, 3, 5, 7 wide from y 4.
    // The down arrow covers y 9..18; its glyph's rows are 7, 5, 3, 1 wide from y 12.
    struct Row {
        int y, left, right;
    };
    for (const Row& row : {Row{4, 22, 22}, Row{5, 21, 23}, Row{6, 20, 24}, Row{7, 19, 25},
                           Row{12, 19, 25}, Row{13, 20, 24}, Row{14, 21, 23}, Row{15, 22, 22}}) {
        for (int x = row.left - 1; x <= row.right + 1; ++x) {
            const bool inside = x >= row.left && x <= row.right;
            EXPECT_EQ(black(x, row.y), inside) << "pixel " << x << "," << row.y;
        }
    }
    EXPECT_FALSE(black(22, 3));
    EXPECT_FALSE(black(22, 16));
}

TEST_F(SpinEditTest, TextStaysInTheEditRectangle) {
    TSpinEdit* spin = makeSpin(2, true);
    spin->setText("8888");
    spin->setCursorPosition(0);
    const QImage image = spin->grab().toImage();
    const QColor base = spin->palette().color(QPalette::Base);
    // The text's pixels inside the border: from the edit rectangle's top left, and never in the
    // one-column gap between the edit rectangle (box x 2..13) and the arrows (from x 15).
    int left = 1000;
    int top = 1000;
    for (int y = 2; y < 20; ++y) {
        for (int x = 2; x < 15; ++x) {
            if (image.pixelColor(x, y) == base) {
                continue;
            }
            EXPECT_LE(x, 13) << "text pixel right of the edit rectangle at " << x << "," << y;
            left = std::min(left, x);
            top = std::min(top, y);
        }
    }
    EXPECT_GE(left, 2);
    EXPECT_LE(left, 4) << "the text starts at the edit rectangle's left edge";
    EXPECT_GE(top, 2);
    EXPECT_LE(top, 7) << "the text starts at the edit rectangle's top edge";
}

TEST_F(SpinEditTest, HeightNeverBelowTheMinimum) {
    TSpinEdit* spin = makeSpin(2, true);
    QFont font = spin->font();
    font.setPixelSize(11);
    spin->setFont(font);
    const int own = QFontMetrics(font).height();
    const int system = QFontMetrics(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).height();
    const int minimum = own + std::min(own, system) / 4 + 4 + 2;
    EXPECT_EQ(spin->MinimumHeight(), minimum);
    spin->resize(33, 10);
    EXPECT_EQ(spin->height(), minimum);
    spin->resize(33, minimum + 7);
    EXPECT_EQ(spin->height(), minimum + 7);

    // A bigger font raises a box that has become too low.
    font.setPixelSize(30);
    spin->setFont(font);
    EXPECT_GE(spin->height(), QFontMetrics(font).height() + 6);
    EXPECT_EQ(spin->height(), std::max(minimum + 7, spin->MinimumHeight()));
}

}  // namespace
}  // namespace zelmo::ui
