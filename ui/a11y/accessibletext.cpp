// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/a11y/accessibletext.h"

#include <QAccessibleWidget>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

#include "ui/a11y/spokenlines.h"

namespace zelmo::ui::accessible {

namespace {

class SpokenText : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit SpokenText(QTextEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return edit()->toPlainText();
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = edit()->isReadOnly();
        s.editable = !edit()->isReadOnly();
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    // The lines: spoken lines; words, sentences and characters as any text counts them.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        if (boundary != QAccessible::LineBoundary) {
            return QAccessibleTextInterface::textAtOffset(offset, boundary, startOffset, endOffset);
        }
        return line(spokenlines::lineAt(document(), offset), startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override {
        if (boundary != QAccessible::LineBoundary) {
            return QAccessibleTextInterface::textBeforeOffset(offset, boundary, startOffset,
                                                              endOffset);
        }
        const spokenlines::Span at = spokenlines::lineAt(document(), offset);
        if (at.start == 0) {
            *startOffset = *endOffset = -1;
            return {};
        }
        return line(spokenlines::lineAt(document(), at.start - 1), startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override {
        if (boundary != QAccessible::LineBoundary) {
            return QAccessibleTextInterface::textAfterOffset(offset, boundary, startOffset,
                                                             endOffset);
        }
        const spokenlines::Span at = spokenlines::lineAt(document(), offset);
        if (at.end >= characterCount()) {
            *startOffset = *endOffset = -1;
            return {};
        }
        return line(spokenlines::lineAt(document(), at.end), startOffset, endOffset);
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        const QTextCursor cursor = edit()->textCursor();
        if (selectionIndex == 0 && cursor.hasSelection()) {
            *startOffset = cursor.selectionStart();
            *endOffset = cursor.selectionEnd();
        }
    }
    int selectionCount() const override { return edit()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex == 0) {
            QTextCursor cursor = edit()->textCursor();
            cursor.clearSelection();
            edit()->setTextCursor(cursor);
        }
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex == 0) {
            QTextCursor cursor = edit()->textCursor();
            cursor.setPosition(clamped(startOffset));
            cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
            edit()->setTextCursor(cursor);
        }
    }
    int cursorPosition() const override { return edit()->textCursor().position(); }
    void setCursorPosition(int position) override {
        QTextCursor cursor = edit()->textCursor();
        cursor.setPosition(clamped(position));
        edit()->setTextCursor(cursor);
    }
    QString text(int startOffset, int endOffset) const override {
        const QString all = edit()->toPlainText();
        const int start = std::clamp(startOffset, 0, static_cast<int>(all.size()));
        const int end = endOffset < 0 ? static_cast<int>(all.size())
                                      : std::clamp(endOffset, start, static_cast<int>(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return std::max(0, document().characterCount() - 1); }
    QRect characterRect(int offset) const override {
        if (offset < 0 || offset >= characterCount()) {
            return {};
        }
        // From the caret before the character to the caret after it, on the same line.
        QTextCursor cursor(edit()->document());
        cursor.setPosition(offset);
        const QRect before = edit()->cursorRect(cursor);
        cursor.setPosition(offset + 1);
        const QRect after = edit()->cursorRect(cursor);
        const int width = after.top() == before.top() ? std::max(1, after.left() - before.left())
                                                      : before.width();
        const QRect local(before.left(), before.top(), width, before.height());
        return {edit()->viewport()->mapToGlobal(local.topLeft()), local.size()};
    }
    int offsetAtPoint(const QPoint& point) const override {
        return edit()->cursorForPosition(edit()->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        QTextCursor cursor(edit()->document());
        cursor.setPosition(clamped(endIndex));
        const QRect end = edit()->cursorRect(cursor);
        cursor.setPosition(clamped(startIndex));
        const QRect start = edit()->cursorRect(cursor);
        QScrollBar* bar = edit()->verticalScrollBar();
        if (end.bottom() > edit()->viewport()->height()) {
            bar->setValue(bar->value() + end.bottom() - edit()->viewport()->height());
        }
        if (start.top() < 0) {
            bar->setValue(bar->value() + start.top());
        }
    }
    QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override {
        // One run without attributes over the whole text: a screen reader takes the text it reads
        // run by run, and an empty run would cut a line short.
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

  private:
    QTextEdit* edit() const { return static_cast<QTextEdit*>(widget()); }
    const QTextDocument& document() const { return *edit()->document(); }
    int clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }
    QString line(spokenlines::Span span, int* startOffset, int* endOffset) const {
        *startOffset = span.start;
        *endOffset = std::min(span.end, characterCount());
        return text(*startOffset, *endOffset);
    }
};

}  // namespace

QAccessibleInterface* newSpokenText(QTextEdit* edit) {
    return new SpokenText(edit);
}

}  // namespace zelmo::ui::accessible
