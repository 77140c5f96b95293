// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: a spin editor in an active window driven by a sequence of typed characters,
// edit and clipboard keys, clipboard texts, context-menu commands, focus changes, held arrows
// with repeat ticks and direct writes of the value. After every step the editor must agree
// with a plain model of its rules:
//  - the value is the text read by the second parser of parseoracle.h, or MinValue;
//  - the text holds only characters the filter accepts, digits and signs of written values,
//    and characters that were on the clipboard (pasted text is not filtered);
//  - steps (arrow keys, arrow clicks and repeat ticks) write exactly the clamped sum, or only
//    beep when the value is read-only; Enter only beeps; a refused character only beeps;
//  - an accepted character typed without command modifiers lands where the caret or the
//    selection is; a box whose text may not be edited keeps its text under every edit command;
//  - leaving the box rewrites the text only when the number read is beyond the bounds;
//  - a held arrow is drawn pushed in exactly while the pointer is over it, steps on a tick
//    only then, steps once more on a release over it, and its timer stops on the release.
#include <fuzzer/FuzzedDataProvider.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QString>
#include <QTest>
#include <QWidget>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "parseoracle.h"
#include "ui/form/controlsetup.h"
#include "ui/spin/spinbutton.h"
#include "ui/spin/spinedit.h"

namespace {

using zelmo::fuzz::OracleClamp;
using zelmo::fuzz::OracleParseInteger;
using zelmo::ui::ConfigureGradeSpinner;
using zelmo::ui::TSpinEdit;
using zelmo::ui::TTimerSpeedButton;

// The active window in which every input gets a fresh spin editor, and a push button that
// takes the focus away from it.
struct Window {
    QWidget panel;
    QPushButton* other = nullptr;
};
Window* window = nullptr;

[[noreturn]] void fail(const TSpinEdit& spin, const char* what, const QString& detail) {
    std::fprintf(stderr, "spin editor: %s: %s (text \"%s\", min %d, max %d)\n", what,
                 qPrintable(detail), qPrintable(spin.text()), spin.minValue(), spin.maxValue());
    std::abort();
}

void check(const TSpinEdit& spin, bool ok, const char* what, const QString& detail = QString()) {
    if (!ok) {
        fail(spin, what, detail);
    }
}

std::int32_t interestingInt(FuzzedDataProvider& fdp) {
    static constexpr std::array<std::int32_t, 10> kValues = {
        0, 1, 2, 5, -1, -7, INT32_MIN, INT32_MAX, INT32_MIN + 1, INT32_MAX - 1};
    if (fdp.ConsumeBool()) {
        return kValues[fdp.ConsumeIntegralInRange<std::size_t>(0, kValues.size() - 1)];
    }
    return fdp.ConsumeIntegral<std::int32_t>();
}

// Characters that may be typed: the accepted ones, blanks, hexadecimal prefixes, letters,
// control characters, other scripts' digits and separators, and any 16-bit code.
QChar typedChar(FuzzedDataProvider& fdp) {
    static constexpr std::array<char16_t, 24> kChars = {
        u'0', u'5', u'9', u'+', u'-',      u'.',      u',',      u' ',
        u'$', u'x', u'X', u'a', u'F',      u'\t',     u'\b',     u'\r',
        0x1B, 0x01, 0x7F, 0x16, u'\u0663', u'\uFF10', u'\u066B', u'\u00A0'};
    if (fdp.ConsumeIntegralInRange<int>(0, 7) != 0) {
        return QChar(kChars[fdp.ConsumeIntegralInRange<std::size_t>(0, kChars.size() - 1)]);
    }
    return QChar(fdp.ConsumeIntegral<char16_t>());
}

// The key code a keyboard would send with the character.
int keyFor(QChar c) {
    switch (c.unicode()) {
        case u'\b':
            return Qt::Key_Backspace;
        case u'\r':
            return Qt::Key_Return;
        case u'\t':
            return Qt::Key_Tab;
        case 0x1B:
            return Qt::Key_Escape;
        case 0x7F:
            return Qt::Key_Delete;
        default:
            break;
    }
    if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
        return c.toUpper().unicode();
    }
    return Qt::Key_unknown;
}

Qt::KeyboardModifiers modifiers(FuzzedDataProvider& fdp) {
    static constexpr std::array<Qt::KeyboardModifiers::Int, 8> kMods = {
        Qt::NoModifier,      Qt::NoModifier,
        Qt::ShiftModifier,   Qt::KeypadModifier,
        Qt::ControlModifier, Qt::AltModifier,
        Qt::MetaModifier,    Qt::ControlModifier | Qt::ShiftModifier};
    return Qt::KeyboardModifiers(
        kMods[fdp.ConsumeIntegralInRange<std::size_t>(0, kMods.size() - 1)]);
}

struct SpecialKey {
    Qt::Key key;
    Qt::KeyboardModifiers::Int mods;
};

// Editing, clipboard and movement keys.
constexpr std::array<SpecialKey, 26> kSpecialKeys = {{
    {Qt::Key_Up, Qt::NoModifier},
    {Qt::Key_Down, Qt::NoModifier},
    {Qt::Key_Backspace, Qt::NoModifier},
    {Qt::Key_Delete, Qt::NoModifier},
    {Qt::Key_Return, Qt::NoModifier},
    {Qt::Key_Enter, Qt::KeypadModifier},
    {Qt::Key_Left, Qt::NoModifier},
    {Qt::Key_Right, Qt::NoModifier},
    {Qt::Key_Home, Qt::NoModifier},
    {Qt::Key_End, Qt::ShiftModifier},
    {Qt::Key_Home, Qt::ShiftModifier},
    {Qt::Key_A, Qt::ControlModifier},
    {Qt::Key_V, Qt::ControlModifier},
    {Qt::Key_X, Qt::ControlModifier},
    {Qt::Key_C, Qt::ControlModifier},
    {Qt::Key_Z, Qt::ControlModifier},
    {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
    {Qt::Key_Y, Qt::ControlModifier},
    {Qt::Key_Insert, Qt::ShiftModifier},
    {Qt::Key_Delete, Qt::ShiftModifier},
    {Qt::Key_Insert, Qt::ControlModifier},
    {Qt::Key_K, Qt::ControlModifier},
    {Qt::Key_Backspace, Qt::ControlModifier},
    {Qt::Key_Delete, Qt::ControlModifier},
    {Qt::Key_Escape, Qt::NoModifier},
    {Qt::Key_Up, Qt::ShiftModifier},
}};

bool isMovementKey(Qt::Key key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home ||
           key == Qt::Key_End || key == Qt::Key_Escape;
}

// One input: a fresh editor, its settings, then the steps.
class Run {
  public:
    Run(const std::uint8_t* data, std::size_t size) : fdp_(data, size) {}

    void execute() {
        spin_ = std::make_unique<TSpinEdit>(&window->panel);
        spin_->setGeometry(10, 10, 33, 22);
        spin_->setBeep([this] { ++beeps_; });
        configure();
        spin_->show();
        window->other->setFocus(Qt::OtherFocusReason);
        QGuiApplication::clipboard()->setText(QStringLiteral("3"));
        allow(QStringLiteral("0123456789+-3"));
        allow(QString(spin_->decimalSeparator()));
        allow(spin_->text());
        readOnlyText_ = spin_->text();

        for (int steps = 0; steps < 64 && fdp_.remaining_bytes() > 0; ++steps) {
            step();
            invariants();
        }
        // Nothing may be left running between inputs.
        spin_.reset();
        QGuiApplication::clipboard()->clear();
    }

  private:
    void configure() {
        if (fdp_.ConsumeBool()) {
            ConfigureGradeSpinner(*spin_, fdp_.ConsumeIntegralInRange<std::int32_t>(2, 5),
                                  fdp_.ConsumeBool());
        } else {
            spin_->setMaxValue(interestingInt(fdp_));
            spin_->setMinValue(interestingInt(fdp_));
            spin_->setIncrement(interestingInt(fdp_));
            spin_->setValue(interestingInt(fdp_));
            spin_->setEditorEnabled(fdp_.ConsumeBool());
            spin_->setReadOnlyValue(fdp_.ConsumeIntegralInRange<int>(0, 3) == 0);
            spin_->setAutoSelect(fdp_.ConsumeBool());
            spin_->setTabStop(fdp_.ConsumeBool());
        }
        static constexpr std::array<char16_t, 4> kSeparators = {u'.', u',', u'\'', u'\u066B'};
        spin_->setDecimalSeparator(QChar(
            kSeparators[fdp_.ConsumeIntegralInRange<std::size_t>(0, kSeparators.size() - 1)]));
    }

    void allow(const QString& chars) {
        for (const QChar c : chars) {
            allowed_.insert(c.unicode());
        }
    }

    bool canEdit() const { return spin_->editorEnabled() && !spin_->readOnlyValue(); }

    QWidget* focusTarget() const {
        QWidget* focus = QApplication::focusWidget();
        return focus != nullptr ? focus : &window->panel;
    }

    // What a step from the text `before` must write, or nullopt for a read-only value.
    std::optional<QString> stepped(bool up, const QString& before) const {
        if (spin_->readOnlyValue()) {
            return std::nullopt;
        }
        const std::int64_t increment = spin_->increment();
        const std::int64_t v = OracleParseInteger(before).value_or(spin_->minValue());
        return QString::number(
            OracleClamp(up ? v + increment : v - increment, spin_->minValue(), spin_->maxValue()));
    }

    void expectStep(bool up, const QString& before, int beepsBefore) {
        const std::optional<QString> want = stepped(up, before);
        if (want) {
            check(*spin_, spin_->text() == *want, "step", QStringLiteral("expected ") + *want);
        } else {
            check(*spin_, spin_->text() == before && beeps_ == beepsBefore + 1,
                  "read-only step must only beep");
        }
    }

    void step() {
        const QString before = spin_->text();
        const bool focused = spin_->hasFocus();
        const int beepsBefore = beeps_;
        const int kind = fdp_.ConsumeIntegralInRange<int>(0, 11);
        if (trace_) {
            std::fprintf(stderr, "step %d: text \"%s\" focus %d held %d\n", kind,
                         qPrintable(before), focused ? 1 : 0, held_ ? 1 : 0);
        }
        switch (kind) {
            case 0:
            case 1:
                typeChar(before, focused, beepsBefore);
                break;
            case 2:
            case 3:
                specialKey(before, focused, beepsBefore);
                break;
            case 4: {
                const QString clip = QString::fromUtf8(fdp_.ConsumeRandomLengthString(12).c_str());
                QGuiApplication::clipboard()->setText(clip);
                allow(clip);
                break;
            }
            case 5:
                menuCommand(before);
                break;
            case 6: {
                if (held_) {
                    break;  // the held arrow has the mouse
                }
                // A click into the text enters the box.
                QTest::mouseClick(spin_.get(), Qt::LeftButton, {},
                                  QPoint(fdp_.ConsumeIntegralInRange<int>(2, 14), 10));
                check(*spin_, spin_->hasFocus(), "a click into the text focuses the box");
                check(*spin_, spin_->text() == before, "a click changes no text");
                break;
            }
            case 7:
                leave(before, focused);
                break;
            case 8:
                arrowPress(before, focused);
                break;
            case 9:
                arrowTickOrMove(before, beepsBefore);
                break;
            case 10:
                arrowRelease(before, beepsBefore);
                break;
            case 11: {
                const std::int32_t v = interestingInt(fdp_);
                spin_->setValue(v);
                const QString want =
                    QString::number(OracleClamp(v, spin_->minValue(), spin_->maxValue()));
                check(*spin_, spin_->text() == want, "write Value", want);
                if (spin_->readOnlyValue()) {
                    readOnlyText_ = spin_->text();  // the program itself may still write it
                }
                break;
            }
            default:
                break;
        }
    }

    void typeChar(const QString& before, bool focused, int beepsBefore) {
        const QChar c = typedChar(fdp_);
        const Qt::KeyboardModifiers mods = modifiers(fdp_);
        const int selStart = spin_->selectionStart();
        const qsizetype selLength = spin_->selectedText().size();
        const int cursor = spin_->cursorPosition();
        if (trace_) {
            std::fprintf(stderr, "  type U+%04x mods %x\n", c.unicode(), unsigned(mods.toInt()));
        }
        QTest::sendKeyEvent(QTest::Click, focusTarget(), static_cast<Qt::Key>(keyFor(c)),
                            QString(c), mods);
        if (focused && !spin_->hasFocus()) {
            expectLeft(before);  // Tab moved the focus on
            return;
        }
        if (!focused) {
            check(*spin_, spin_->text() == before, "keys reach the box only with the focus");
            return;
        }
        const bool plain = (mods & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0;
        const bool printable = c.unicode() >= 32 && c.unicode() != 0x7F && c.isPrint();
        if (c == u'\r' && plain) {
            check(*spin_, spin_->text() == before && beeps_ == beepsBefore + 1, "Enter only beeps");
        }
        if (!plain || !printable) {
            if (!canEdit() && c != u'\t') {
                check(*spin_, spin_->text() == before, "no edit while the editor is disabled");
            }
            return;
        }
        const bool accepted =
            spin_->editorEnabled() &&
            ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == spin_->decimalSeparator());
        check(*spin_, spin_->AcceptsChar(c) == accepted, "character filter",
              QString(QStringLiteral("U+%1")).arg(c.unicode(), 4, 16, QChar(u'0')));
        if (!accepted) {
            check(*spin_, spin_->text() == before && beeps_ == beepsBefore + 1,
                  "a refused character only beeps",
                  QString(QStringLiteral("U+%1")).arg(c.unicode(), 4, 16, QChar(u'0')));
            return;
        }
        if (spin_->readOnlyValue()) {
            check(*spin_, spin_->text() == before, "a read-only value keeps its text");
            return;
        }
        QString want = before;
        if (selLength > 0) {
            want.replace(selStart, selLength, c);
        } else {
            want.insert(cursor, c);
        }
        check(*spin_, spin_->text() == want, "typed character lands at the caret", want);
    }

    void specialKey(const QString& before, bool focused, int beepsBefore) {
        const SpecialKey k =
            kSpecialKeys[fdp_.ConsumeIntegralInRange<std::size_t>(0, kSpecialKeys.size() - 1)];
        if (trace_) {
            std::fprintf(stderr, "  key %x mods %x\n", static_cast<unsigned>(k.key),
                         static_cast<unsigned>(k.mods));
        }
        QTest::sendKeyEvent(QTest::Click, focusTarget(), k.key, QString(),
                            Qt::KeyboardModifiers(k.mods));
        if (!focused) {
            check(*spin_, spin_->text() == before, "keys reach the box only with the focus");
            return;
        }
        if (k.key == Qt::Key_Up || k.key == Qt::Key_Down) {
            expectStep(k.key == Qt::Key_Up, before, beepsBefore);
            return;
        }
        if (k.key == Qt::Key_Return || k.key == Qt::Key_Enter) {
            check(*spin_, spin_->text() == before && beeps_ == beepsBefore + 1, "Enter only beeps");
            return;
        }
        if (isMovementKey(k.key) || !canEdit()) {
            check(*spin_, spin_->text() == before, "this key changes no text here");
        }
        if ((k.key == Qt::Key_Backspace || k.key == Qt::Key_Delete) && k.mods == Qt::NoModifier &&
            !spin_->editorEnabled()) {
            check(*spin_, beeps_ == beepsBefore + 1, "Backspace and Delete beep");
        }
    }

    void menuCommand(const QString& before) {
        std::unique_ptr<QMenu> menu(spin_->createContextMenu());
        const QList<QAction*> actions = menu->actions();
        if (actions.isEmpty()) {
            return;
        }
        QAction* action = actions.at(fdp_.ConsumeIntegralInRange<qsizetype>(0, actions.size() - 1));
        // A command also fires when the menu was built in another state: trigger ignores the
        // enabled flag of the moment, so the slot's own check is what protects the text.
        const bool editable = canEdit();
        emit action->triggered();
        if (!editable) {
            check(*spin_, spin_->text() == before, "menu command while the text may not change",
                  action->objectName());
        }
    }

    void leave(const QString& before, bool focused) {
        // While an arrow is held it has the mouse: the focus then moves by the keyboard.
        if (fdp_.ConsumeBool() && !held_) {
            QTest::mouseClick(window->other, Qt::LeftButton);
        } else {
            window->other->setFocus(Qt::TabFocusReason);
        }
        check(*spin_, !spin_->hasFocus(), "the focus left");
        if (!focused) {
            check(*spin_, spin_->text() == before, "no focus to lose, no change");
            return;
        }
        expectLeft(before);
    }

    // The box lost the focus: only a number beyond the bounds is rewritten.
    void expectLeft(const QString& before) {
        const std::int32_t v = OracleParseInteger(before).value_or(spin_->minValue());
        const std::int32_t clamped = OracleClamp(v, spin_->minValue(), spin_->maxValue());
        const QString want = clamped != v ? QString::number(clamped) : before;
        check(*spin_, spin_->text() == want, "leaving the box", want);
        // With MinValue above MaxValue the clamp moves even a read-only value on every exit.
        readOnlyText_ = spin_->text();
    }

    TTimerSpeedButton* arrow(bool up) const {
        return up ? spin_->button()->upButton() : spin_->button()->downButton();
    }

    void arrowPress(const QString& before, bool focused) {
        if (held_) {
            return;  // one held button at a time, as with a real mouse
        }
        heldUp_ = fdp_.ConsumeBool();
        TTimerSpeedButton* button = arrow(heldUp_);
        QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
        held_ = true;
        over_ = true;
        check(*spin_, spin_->text() == before, "a press does not step yet");
        check(*spin_, button->isDown(), "a pressed arrow is drawn pushed in");
        check(*spin_, button->timerActive() && button->timerInterval() == 400,
              "the first repeat comes after 400 ms");
        if (!spin_->tabStop()) {
            check(*spin_, spin_->hasFocus() == focused, "an arrow press keeps the focus");
        }
    }

    void arrowTickOrMove(const QString& before, int beepsBefore) {
        if (!held_) {
            return;
        }
        TTimerSpeedButton* button = arrow(heldUp_);
        if (fdp_.ConsumeBool()) {
            over_ = fdp_.ConsumeBool();
            QTest::mouseMove(button, over_ ? button->rect().center() : QPoint(-4, 40));
            check(*spin_, spin_->text() == before, "moving the pointer does not step");
        } else {
            button->timerTick();
            check(*spin_, button->timerInterval() == 100, "repeats every 100 ms");
            if (over_) {
                expectStep(heldUp_, before, beepsBefore);
            } else {
                check(*spin_, spin_->text() == before, "no step with the pointer off the arrow");
            }
        }
        check(*spin_, button->isDown() == over_, "pushed in exactly while the pointer is over");
    }

    void arrowRelease(const QString& before, int beepsBefore) {
        if (!held_) {
            return;
        }
        TTimerSpeedButton* button = arrow(heldUp_);
        const bool over = fdp_.ConsumeBool();
        QTest::mouseRelease(button, Qt::LeftButton, {},
                            over ? button->rect().center() : QPoint(-4, 40));
        held_ = false;
        if (over) {
            expectStep(heldUp_, before, beepsBefore);
        } else {
            check(*spin_, spin_->text() == before, "a release off the arrow does not step");
        }
        check(*spin_, !button->isDown() && !button->timerActive(), "a release stops the repeat");
    }

    void invariants() {
        const QString text = spin_->text();
        // The expected result of typing is computed from the caret and the selection, so both
        // must lie inside the text.
        const int selStart = spin_->selectionStart();
        const qsizetype selLength = spin_->selectedText().size();
        check(*spin_, spin_->cursorPosition() >= 0 && spin_->cursorPosition() <= text.size(),
              "caret inside the text", QString::number(spin_->cursorPosition()));
        check(*spin_,
              spin_->hasSelectedText() ? selStart >= 0 && selStart + selLength <= text.size()
                                       : selStart == -1 && selLength == 0,
              "selection inside the text",
              QString::number(selStart) + QStringLiteral("+") + QString::number(selLength));
        check(*spin_, spin_->value() == OracleParseInteger(text).value_or(spin_->minValue()),
              "value read from the text", QString::number(spin_->value()));
        for (const QChar c : text) {
            check(*spin_, allowed_.contains(c.unicode()), "character that no input allowed",
                  QString(QStringLiteral("U+%1")).arg(c.unicode(), 4, 16, QChar(u'0')));
        }
        if (spin_->readOnlyValue()) {
            check(*spin_, text == readOnlyText_, "a read-only value never changes");
        }
        for (const bool up : {true, false}) {
            if (!(held_ && up == heldUp_)) {
                check(*spin_, !arrow(up)->timerActive() && !arrow(up)->isDown(),
                      "an arrow that is not held is idle");
            }
        }
    }

    FuzzedDataProvider fdp_;
    // ZELMO_FUZZ_TRACE=1 lists the steps, for reading a finding.
    const bool trace_ = qEnvironmentVariableIsSet("ZELMO_FUZZ_TRACE");
    std::unique_ptr<TSpinEdit> spin_;
    QSet<char16_t> allowed_;
    QString readOnlyText_;
    int beeps_ = 0;
    bool held_ = false;
    bool heldUp_ = true;
    bool over_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt must not see libFuzzer's options. The application is never destroyed: libFuzzer ends
    // the process with exit(), and a QApplication torn down among the static destructors
    // crashes in Qt's own input-device cleanup.
    static int argc = 1;
    static char name[] = "spinedit_fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    window = new Window;
    window->panel.resize(200, 80);
    window->other = new QPushButton(QStringLiteral("go"), &window->panel);
    window->other->setGeometry(100, 10, 60, 20);
    window->panel.show();
    window->panel.activateWindow();
    if (!QTest::qWaitForWindowActive(&window->panel)) {
        std::fprintf(stderr, "the fuzzing window did not become active\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Run(data, size).execute();
    return 0;
}
