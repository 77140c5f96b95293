// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/a11y/accessiblespin.h"

#include <QAccessibleWidget>
#include <QFontMetrics>

#include <algorithm>

#include "ui/spin/spinedit.h"

namespace zelmo::ui::accessible {

namespace {

class SpinBox : public QAccessibleWidget,
                public QAccessibleValueInterface,
                public QAccessibleTextInterface {
  public:
    explicit SpinBox(TSpinEdit* spin) : QAccessibleWidget(spin, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return spin()->text();
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = spin()->editorEnabled() && !spin()->isReadOnly();
        s.readOnly = spin()->isReadOnly();
        return s;
    }

    // The value: what the text reads as, within the spinner's bounds; setting it writes the text
    // like the arrows do, unless the value may not change.
    QVariant currentValue() const override { return spin()->value(); }
    void setCurrentValue(const QVariant& value) override {
        if (!spin()->isReadOnly() && spin()->isEnabled() && value.canConvert<qlonglong>()) {
            spin()->setValue(spin()->ClampValue(value.toLongLong()));
        }
    }
    QVariant maximumValue() const override { return spin()->maxValue(); }
    QVariant minimumValue() const override { return spin()->minValue(); }
    QVariant minimumStepSize() const override { return spin()->increment(); }

    // The text, its caret and its selection.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && spin()->hasSelectedText()) {
            *startOffset = spin()->selectionStart();
            *endOffset = *startOffset + static_cast<int>(spin()->selectedText().size());
        }
    }
    int selectionCount() const override { return spin()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex == 0) {
            spin()->deselect();
        }
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex == 0) {
            spin()->setSelection(startOffset, endOffset - startOffset);
        }
    }
    int cursorPosition() const override { return spin()->cursorPosition(); }
    void setCursorPosition(int position) override { spin()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override {
        const QString all = spin()->text();
        const int start = std::clamp(startOffset, 0, static_cast<int>(all.size()));
        const int end = endOffset < 0 ? static_cast<int>(all.size())
                                      : std::clamp(endOffset, start, static_cast<int>(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(spin()->text().size()); }
    QRect characterRect(int offset) const override {
        // Left-aligned single line: a character starts where the text before it ends.
        const QString all = spin()->text();
        if (offset < 0 || offset >= all.size()) {
            return {};
        }
        const QFontMetrics metrics(spin()->font());
        const QRect line = spin()->EditRect();
        const QRect local(line.left() + metrics.horizontalAdvance(all.left(offset)), line.top(),
                          metrics.horizontalAdvance(all.at(offset)), line.height());
        return {spin()->mapToGlobal(local.topLeft()), local.size()};
    }
    int offsetAtPoint(const QPoint& point) const override {
        return spin()->cursorPositionAt(spin()->mapFromGlobal(point));
    }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = offset;
        return {};
    }

  private:
    TSpinEdit* spin() const { return static_cast<TSpinEdit*>(widget()); }
};

}  // namespace

QAccessibleInterface* newSpinBox(TSpinEdit* spin) {
    return new SpinBox(spin);
}

}  // namespace zelmo::ui::accessible
