// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/spin/spinedit.h"

#include <qdrawutil.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <limits>

#include "ui/spin/editkeys.h"
#include "ui/spin/spinparse.h"
#include "ui/widgets/devicepixels.h"
#include "ui/widgets/texts.h"

namespace zelmo::ui {

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// The arrow pair sits this far left of the box's outer right edge, and is this much shorter
// than the box.
constexpr int kPairRightOffset = 20;
constexpr int kPairHeightLoss = 5;
// The text stops this far left of the client area's right edge (the pair plus a gap).
constexpr int kTextRightGap = TSpinButton::kMinWidth + 2;
// QLineEdit's own space around the text line.
constexpr int kLineEditHMargin = 2;
constexpr int kLineEditVMargin = 1;
// The minimum height's part beyond the fonts: four system border heights (1 pixel each) and 2.
constexpr int kMinimumHeightExtra = 4 * 1 + 2;

}  // namespace

TSpinEdit::TSpinEdit(QWidget* parent) : QLineEdit(parent), button_(new TSpinButton(this)) {
    // The border is ours, so that its width does not depend on the style.
    setFrame(false);
    // The edit box keeps kLineEditHMargin pixels left of its text and kLineEditVMargin above it,
    // inside the text margins, so the text starts at the edit rectangle's top left. It clips the
    // text to the margins, so the right margin ends the text at the edit rectangle's right edge.
    setTextMargins(kBorder - kLineEditHMargin, kBorder - kLineEditVMargin, kBorder + kTextRightGap,
                   0);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Composed input would bypass the character filter.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setContextMenuPolicy(Qt::DefaultContextMenu);

    const QString separator = QLocale::system().decimalPoint();
    decimalSeparator_ = separator.size() == 1 ? separator.at(0) : QChar(u'.');

    connect(button_, &TSpinButton::OnUpClick, this, &TSpinEdit::StepUp);
    connect(button_, &TSpinButton::OnDownClick, this, &TSpinEdit::StepDown);

    setText(QStringLiteral("0"));
    updateMinimumHeight();
}

std::int32_t TSpinEdit::value() const {
    return ParseInteger(text()).value_or(minValue_);
}

void TSpinEdit::setValue(std::int32_t v) {
    writeValue(v);
}

void TSpinEdit::writeValue(std::int64_t v) {
    setText(QString::number(ClampValue(v)));
}

std::int32_t TSpinEdit::ClampValue(std::int64_t v) const {
    if (minValue_ == maxValue_) {
        return static_cast<std::int32_t>(std::clamp(v, kInt32Min, kInt32Max));
    }
    if (v < minValue_) {
        return minValue_;
    }
    if (v > maxValue_) {
        return maxValue_;
    }
    return static_cast<std::int32_t>(v);
}

void TSpinEdit::step(std::int64_t delta) {
    if (isReadOnly()) {
        beep();
        return;
    }
    // In 64 bits the sum of two 32-bit values cannot overflow; the clamp brings it back.
    writeValue(static_cast<std::int64_t>(value()) + delta);
    emit stepped();
}

void TSpinEdit::StepUp() {
    step(increment_);
}

void TSpinEdit::StepDown() {
    step(-static_cast<std::int64_t>(increment_));
}

bool TSpinEdit::AcceptsChar(QChar c) const {
    const char16_t u = c.unicode();
    if (u == 8) {
        return editorEnabled_;  // Backspace
    }
    if (u == 13) {
        return false;  // Enter
    }
    if (u >= 1 && u <= 31) {
        return true;  // other control characters go to the edit box
    }
    if (!editorEnabled_) {
        return false;
    }
    return IsDecimalDigit(c) || c == u'+' || c == u'-' || c == decimalSeparator_;
}

bool TSpinEdit::tabStop() const {
    return (focusPolicy() & Qt::TabFocus) != 0;
}

void TSpinEdit::setTabStop(bool on) {
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

QRect TSpinEdit::EditRect() const {
    const int clientWidth = width() - 2 * kBorder;
    const int clientHeight = height() - 2 * kBorder;
    return QRect(0, 0, clientWidth - kTextRightGap, clientHeight + 1);
}

int TSpinEdit::MinimumHeight() const {
    const int own = QFontMetrics(font()).height();
    const int system = QFontMetrics(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).height();
    return own + std::min(system, own) / 4 + kMinimumHeightExtra;
}

void TSpinEdit::updateMinimumHeight() {
    // The system font can only lower the minimum below this bound. While the box is at least
    // this high the minimum cannot bind, so the system font, which the box never shows, is
    // not loaded just to measure it (a font load is a noticeable part of the start-up); the
    // first resize below the bound measures it and raises the box to the exact minimum.
    const int own = QFontMetrics(font()).height();
    const int bound = own + own / 4 + kMinimumHeightExtra;
    setMinimumHeight(height() >= bound ? own + kMinimumHeightExtra : MinimumHeight());
}

void TSpinEdit::beep() {
    if (beep_) {
        beep_();
    } else {
        QApplication::beep();
    }
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    event->accept();

    // The arrow keys step whether or not the text may be edited; each auto-repeated key-down too.
    if (key == Qt::Key_Up) {
        StepUp();
        return;
    }
    if (key == Qt::Key_Down) {
        StepDown();
        return;
    }
    // Paste and cut requests are dropped silently when the text may not be edited.
    if (isPasteKey(event) || isCutKey(event)) {
        if (canEditText()) {
            QLineEdit::keyPressEvent(event);
        }
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        beep();
        return;
    }
    if (!editorEnabled_ && isEditKey(event)) {
        beep();
        return;
    }
    if (insertsText(event)) {
        typeText(event);
        return;
    }
    if (editorEnabled_) {
        QLineEdit::keyPressEvent(event);
        // Qt's redo of a deleted or replaced selection leaves the selection of its undo records
        // behind, starting at -1 (hidden while the text is empty); the next typed character
        // would then delete the text's last character instead of landing at the caret. A redo
        // that deletes the whole text can also leave the caret past its end. A redo never
        // leaves a selection of its own, so any selection goes, and the caret is kept inside.
        if (event->matches(QKeySequence::Redo)) {
            deselect();
            if (cursorPosition() > text().size()) {
                setCursorPosition(static_cast<int>(text().size()));
            }
        }
        return;
    }
    // Any other key the edit box knows (selection, cursor moves, copying) is welcome, but should
    // some binding of the platform change the text of a disabled editor, the change is undone.
    const QString before = text();
    const int cursor = cursorPosition();
    const int selection = selectionStart();
    const qsizetype selected = selectedText().size();
    QLineEdit::keyPressEvent(event);
    if (text() != before) {
        setText(before);
        if (selection >= 0) {
            setSelection(selection, static_cast<int>(selected));
        } else {
            setCursorPosition(cursor);
        }
        beep();
    }
}

void TSpinEdit::typeText(QKeyEvent* event) {
    // Every character of the text passes the filter on its own, however many one key event
    // brings. A control character is a command only as a key of its own: inside a typed text
    // the edit box would insert it, so there it is refused like any other character.
    const QString typed = event->text();
    QString kept;
    int refused = 0;
    for (const QChar c : typed) {
        if (c.unicode() >= 32 && AcceptsChar(c)) {
            kept.append(c);
        } else {
            ++refused;
        }
    }
    for (int i = 0; i < refused; ++i) {
        beep();
    }
    if (kept == typed) {
        QLineEdit::keyPressEvent(event);
    } else if (!kept.isEmpty() && !isReadOnly()) {
        insert(kept);
    }
}

void TSpinEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    // The focus coming back from a popup or from another window is no new entry into the box.
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) {
        return;
    }
    if (autoSelect_ && reason != Qt::MouseFocusReason) {
        selectAll();
    } else if (!autoSelect_ && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                                reason == Qt::ShortcutFocusReason)) {
        // The edit box selects everything when tabbed into; without AutoSelect it must not.
        deselect();
    }
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Every loss of the focus clamps, whatever its reason: when the window is deactivated, the
    // focus may move on inside it (a click on the inactive window) without another focus event
    // reaching the box, and the typed number would then stay unclamped. Only a number beyond the
    // bounds is rewritten: "04" keeps its form, and a text that does not parse reads as MinValue,
    // which clamps to itself, so it stays too.
    const std::int32_t v = value();
    if (ClampValue(v) != v) {
        setValue(v);
    }
}

void TSpinEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    updateMinimumHeight();
    const int pairHeight = std::max(0, height() - kPairHeightLoss);
    button_->setGeometry(kBorder + width() - kPairRightOffset, kBorder, TSpinButton::kMinWidth,
                         pairHeight);
}

void TSpinEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    DevicePixels border(painter, rect());
    border.frame(kBorder,
                 [this](QPainter& p, const QRect& r) { qDrawWinPanel(&p, r, palette(), true); });
}

void TSpinEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateMinimumHeight();
    }
}

QMenu* TSpinEdit::createContextMenu() {
    auto* menu = new QMenu(this);
    const bool editable = canEditText();
    const bool selected = hasSelectedText();
    auto add = [&](const QString& text, const char* name, bool enabled, auto&& slot) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(enabled);
        // Checked again when the action fires: the state may have changed meanwhile.
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(texts::kMenuUndo, "edit-undo", editable && isUndoAvailable(), [this] {
        if (canEditText()) {
            undo();
        }
    });
    menu->addSeparator();
    add(texts::kMenuCut, "edit-cut", editable && selected, [this] {
        if (canEditText()) {
            cut();
        }
    });
    add(texts::kMenuCopy, "edit-copy", selected, [this] { copy(); });
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    add(texts::kMenuPaste, "edit-paste", editable && clip != nullptr && clip->hasText(), [this] {
        if (canEditText()) {
            paste();
        }
    });
    add(texts::kMenuDelete, "edit-delete", editable && selected, [this] {
        if (canEditText() && hasSelectedText()) {
            del();
        }
    });
    menu->addSeparator();
    add(texts::kMenuSelectAll, "select-all", !text().isEmpty() && selectedText() != text(),
        [this] { selectAll(); });
    return menu;
}

void TSpinEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TSpinEdit::mousePressEvent(QMouseEvent* event) {
    // Without a focus policy Qt does not focus the box on a click; a click into the text still
    // enters it.
    if (focusPolicy() == Qt::NoFocus && !hasFocus() && isEnabled()) {
        setFocus(Qt::MouseFocusReason);
    }
    QLineEdit::mousePressEvent(event);
}

void TSpinEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button pastes the selection on some platforms: a paste like any other.
    if (event->button() == Qt::MiddleButton && !canEditText()) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TSpinEdit::dragEnterEvent(QDragEnterEvent* event) {
    if (!canEditText()) {
        event->ignore();
        return;
    }
    QLineEdit::dragEnterEvent(event);
}

void TSpinEdit::dropEvent(QDropEvent* event) {
    if (!canEditText()) {
        event->ignore();
        return;
    }
    QLineEdit::dropEvent(event);
}

}  // namespace zelmo::ui
